#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Refreshes the desktop's MIME, launcher and icon caches under DATADIR (default /usr/share)
# after Lumenar's files were installed there or removed; missing tools and caches are skipped.
datadir="${1:-/usr/share}"
# After an uninstall the packages folder may be gone while the database built from it remains:
# it is rebuilt from an empty folder then, so that it claims no type any more.
if command -v update-mime-database >/dev/null 2>&1 &&
    { [ -d "$datadir/mime/packages" ] || [ -f "$datadir/mime/mime.cache" ]; }; then
    mkdir -p "$datadir/mime/packages"
    update-mime-database "$datadir/mime" || true
fi
if command -v update-desktop-database >/dev/null 2>&1 && [ -f "$datadir/applications/mimeinfo.cache" ]; then
    update-desktop-database -q "$datadir/applications" || true
fi
if command -v gtk-update-icon-cache >/dev/null 2>&1 && [ -f "$datadir/icons/hicolor/icon-theme.cache" ]; then
    gtk-update-icon-cache -q -t -f "$datadir/icons/hicolor" || true
fi
