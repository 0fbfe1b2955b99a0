#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a text of the sources has no finished German translation: lupdate refreshes a copy
# of the catalogue from the sources, where a new or changed text arrives unfinished.
# usage: translations.sh SOURCE LUPDATE
set -eu
source=$1 lupdate=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$source/translations/lumenar_de.ts" "$tmp/"
cd "$source"
"$lupdate" -silent -no-obsolete -locations none app model readers views info playback export \
    check tools browse problems output -ts "$tmp/lumenar_de.ts" 2>/dev/null
missing=$(xmllint --xpath \
    '//message[translation/@type or normalize-space(translation)=""]/source/text()' \
    "$tmp/lumenar_de.ts" 2>/dev/null || true)
[ -z "$missing" ] || { printf 'no German translation:\n%s\n' "$missing" >&2; exit 1; }
echo "every text has its German translation"
