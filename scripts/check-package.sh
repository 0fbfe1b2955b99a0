#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package as a distribution would: lintian, then installed on this machine
# (as root): the validators, the file types on the system's MIME database, previews through
# GNOME's thumbnail factory in its sandbox, and a purge that leaves nothing behind.
# usage: scripts/check-package.sh [DEB [BUILD]]   (after make package and make build)
set -eu
cd "$(dirname "$0")/.."
deb=$(realpath "${1:-$(ls build-package/lumenar_*.deb | tail -n 1)}")
build=${2:-build}
id=org.lumenar.Lumenar
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

lintian -I --pedantic --fail-on warning,error "$deb"
apt-get install -y -q "$deb" >/dev/null
desktop-file-validate /usr/share/applications/$id.desktop
appstreamcli validate --pedantic --no-net /usr/share/metainfo/$id.metainfo.xml
"$build/tools/lumenar-mkdemo" "$tmp" >/dev/null
printf 'RIFF\040\0\0\0ACONanih' >"$tmp/busy.ani"
for f in lumenar-demo.ild Spiral.pic Lumenar.ccat Lumenar.ani busy.ani; do
    echo "$f: $(gio info -a standard::content-type "$tmp/$f" | sed -n 's/.*content-type: //p')"
done
env -u XDG_RUNTIME_DIR QT_QPA_PLATFORM=wayland HOME="$tmp" \
    tests/thumbnail-factory.py "$tmp"/lumenar-demo.ild "$tmp"/*.pic "$tmp"/*.ccat "$tmp"/Lumenar.ani
apt-get remove --purge -y -q lumenar >/dev/null
left=$(grep -rl -e x-ilda -e x-vectrion /usr/share/mime /usr/share/applications 2>/dev/null || true)
[ -z "$left" ] || { echo "left behind: $left" >&2; exit 1; }
echo "purged: nothing of Lumenar's left"
