#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the whole suite twice at the same moment: test programs that shared a settings file or an
# X display would trip over each other here. usage: test-twice.sh BUILD_DIR
set -u
cd "$1" || exit 2
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j 2 >ctest-first.log 2>&1 &
first=$!
ctest --output-on-failure -j 2 >ctest-second.log 2>&1
second=$?
wait "$first"
first=$?
for run in first second; do
    eval status=\$$run
    echo "$run run: $(tail -n 1 "ctest-$run.log") (exit $status)"
    [ "$status" -eq 0 ] || tail -n 40 "ctest-$run.log"
done
[ "$first" -eq 0 ] && [ "$second" -eq 0 ]
