#!/bin/bash
# Runs a Windows program under the test bed's own Wine prefix and Xvfb display.
#   wine-run.sh <testbed-dir> <program.exe> [arguments...]
# The prefix is created on first use; the display is the one testbed.sh started.
set -u
testbed=$1
shift
mkdir -p "$testbed"
export WINEPREFIX="$testbed/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
if [ -f "$testbed/display" ]; then
    DISPLAY=$(cat "$testbed/display")
    export DISPLAY
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    (
        flock 9
        [ -f "$WINEPREFIX/system.reg" ] || wineboot -i </dev/null >"$testbed/wineboot.log" 2>&1
    ) 9>"$testbed/prefix.lock"
fi
# Outside the test bed (CTest lists the tests before its fixture starts), the wineserver
# and Wine's own services are started here with their output going nowhere, so that they
# do not hold the caller's output pipe open after the program ends.
if [ ! -f "$testbed/display" ]; then
    wineboot </dev/null >/dev/null 2>&1
fi
exec wine "$@"
