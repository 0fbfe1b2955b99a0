#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs into PREFIX as `make install` does, then runs `make uninstall`: no file of Lumenar's
# and no MIME entry may be left. usage: uninstall.sh SOURCE BUILD
set -eu
source=$1 build=$2 prefix=$(mktemp -d) manifest=$(mktemp)
trap 'rm -rf "$prefix" "$manifest"' EXIT
export XDG_DATA_DIRS="$prefix/share:/usr/share" # where update-mime-database expects it
cmake --install "$build" --prefix "$prefix" >/dev/null
# Not the build's install_manifest.txt: another install from the same build (the suite run twice
# at once) may rewrite it meanwhile. What landed in this prefix is what this install put there.
find "$prefix" ! -type d >"$manifest"
"$source/dist/refresh-caches.sh" "$prefix/share"
grep -q x-vectrion-ani "$prefix/share/mime/globs2" || { echo "no MIME entry installed" >&2; exit 1; }
make -s -C "$source" uninstall BUILD="$build" PREFIX="$prefix" MANIFEST="$manifest" >/dev/null
left=$(grep -rl -e x-ilda -e x-vectrion "$prefix/share/mime" || true)
[ -z "$left" ] || { echo "MIME entries left in:" $left >&2; exit 1; }
left=$(find "$prefix" -type f ! -path "$prefix/share/mime/*")
[ -z "$left" ] || { echo "files left:" $left >&2; exit 1; }
echo "nothing left behind"
