#!/bin/bash
# Builds Varnholt.exe and runs it under Wine with the given arguments (none: the About
# window). With no display open, it runs on its own Xvfb display and saves a screenshot
# of the screen to build/screenshots/varnholt.png, then ends the program.
#   scripts/run.sh [arguments for Varnholt.exe]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

state=$PWD/build/run
mkdir -p "$state" build/screenshots
export WINEPREFIX=$state/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exe=$PWD/build/mingw/release/bin/Varnholt.exe

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    wine "$exe" "$@"
    exit $?
fi

n=70
while [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >"$state/xvfb.log" 2>&1 &
xvfb=$!
trap 'wineserver -k >/dev/null 2>&1; kill $xvfb 2>/dev/null' EXIT
export DISPLAY=":$n"
sleep 1
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i </dev/null >"$state/wineboot.log" 2>&1
wine "$exe" "$@" </dev/null >"$state/varnholt.log" 2>&1 &
program=$!
sleep 4
import -window root build/screenshots/varnholt.png
echo "screenshot: build/screenshots/varnholt.png"
if kill -0 $program 2>/dev/null; then
    echo "Varnholt.exe is still running (a window is open); ending it"
else
    wait $program && echo "Varnholt.exe exited with 0" || echo "Varnholt.exe exited with $?"
fi
