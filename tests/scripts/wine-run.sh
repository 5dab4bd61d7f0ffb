#!/bin/bash
# Runs a Windows program under the test bed's own Wine prefix and Xvfb display.
#   wine-run.sh [--win32] <testbed-dir> <program.exe> [arguments...]
# The prefix is created on first use: a 64-bit Windows, or with --win32 a 32-bit one
# (no WOW64, one registry view); the display is the one testbed.sh started.
set -u
export WINEARCH=win64
if [ "${1:-}" = --win32 ]; then
    WINEARCH=win32
    shift
fi
testbed=$1
shift
mkdir -p "$testbed"
export WINEPREFIX="$testbed/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
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
