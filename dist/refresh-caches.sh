#!/bin/sh
# Refreshes the desktop's MIME, launcher and icon caches under DATADIR (default /usr/share)
# after Lumenar's files were installed there or removed; missing tools and caches are skipped.
datadir="${1:-/usr/share}"
if command -v update-mime-database >/dev/null 2>&1 && [ -d "$datadir/mime/packages" ]; then
    update-mime-database "$datadir/mime" || true
fi
if command -v update-desktop-database >/dev/null 2>&1 && [ -f "$datadir/applications/mimeinfo.cache" ]; then
    update-desktop-database -q "$datadir/applications" || true
fi
if command -v gtk-update-icon-cache >/dev/null 2>&1 && [ -f "$datadir/icons/hicolor/icon-theme.cache" ]; then
    gtk-update-icon-cache -q -t -f "$datadir/icons/hicolor" || true
fi
