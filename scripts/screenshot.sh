#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes dist/screenshot.png: the viewer's window on the demo show, with the settings of a first
# run, drawn in a virtual X server so that no display is needed.
# usage: scripts/screenshot.sh [BUILD]   (make screenshot)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/tools/lumenar-mkdemo" "$tmp/demo" >/dev/null
# Inside the server: start the viewer, wait for its window, take the window alone.
mkdir -m 700 "$tmp/runtime"
LANG=C.UTF-8 LANGUAGE= LC_ALL= XDG_RUNTIME_DIR="$tmp/runtime" XDG_CONFIG_HOME="$tmp/config" xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
    "$1" "$2" &
    pid=$!
    title="$(basename "$2") - Lumenar"
    for try in $(seq 150); do
        id=$(xwininfo -root -tree | grep -F "\"$title\"" | awk "{ print \$1; exit }")
        [ -n "$id" ] && break
        sleep 0.2
    done
    sleep 1 # the first paint follows the mapping of the window
    status=1
    [ -n "$id" ] && import -window "$id" "$3" && status=0
    kill "$pid"
    exit $status' sh "$build/lumenar" "$tmp/demo/lumenar-demo.ild" dist/screenshot.png
echo "dist/screenshot.png: $(identify -format '%wx%h' dist/screenshot.png)"
