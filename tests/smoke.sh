#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts an X server on a display it picks itself (two runs at once never collide, as they can
# with xvfb-run -a), then the viewer on a file; waits for its window and takes a screenshot.
# usage: smoke.sh LUMENAR FILE SCREENSHOT
set -u
work="$(mktemp -d)"
mkfifo "$work/display"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" &
xpid=$!
read -r display <"$work/display"
rm -rf "$work"
finish() {
    kill "$xpid" 2>/dev/null
    wait "$xpid" 2>/dev/null
    exit "$1"
}
[ -n "$display" ] || { echo "Xvfb did not start" >&2; finish 1; }
export DISPLAY=":$display"

"$1" "$2" &
pid=$!
title="$(basename "$2") - Lumenar"
tries=0
until xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\""; do
    tries=$((tries + 1))
    if [ "$tries" -gt 150 ] || ! kill -0 "$pid" 2>/dev/null; then
        echo "the window \"$title\" did not appear" >&2
        kill "$pid" 2>/dev/null
        finish 1
    fi
    sleep 0.2
done
sleep 1 # the first paint follows the mapping of the window
import -window root "$3"
status=$?
# The window manager's icon, as the window sets it.
if ! xprop -name "$title" _NET_WM_ICON | grep -q "Icon ("; then
    echo "the window has no icon" >&2
    status=1
fi
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
finish $status
