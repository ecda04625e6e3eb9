#!/bin/sh
# Runs part of the end-to-end tests on a virtual display of its own size: on_screen.sh WIDTHxHEIGHT program args...
# Wine learns the screen's size when the prefix's server starts, so the server is ended before and after, and the
# test runs alone (RUN_SERIAL).
set -u
size=$1; shift
here=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX="${KAVLO_WINEPREFIX:-$here/build/wineprefix}"
n=150
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
i=0
while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
DISPLAY=":$n" "$here/scripts/wine-run" "$@"
status=$?
wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
kill "$xvfb" 2>/dev/null
exit $status
