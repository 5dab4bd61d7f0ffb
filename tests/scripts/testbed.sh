#!/bin/bash
# Starts and stops the Wine test bed: an Xvfb display, the tests' own Wine prefix with a
# persistent wineserver, and the local HTTP server of the update check. Nothing is left
# running after "stop".
#   testbed.sh start|stop [--win32] <testbed-dir>
# --win32: the prefix is a 32-bit Windows (WINEARCH=win32), as wine-run.sh --win32 runs it.
set -u
action=$1
shift
export WINEARCH=win64
if [ "${1:-}" = --win32 ]; then
    WINEARCH=win32
    shift
fi
testbed=$1
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="$testbed/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

stop() {
    if [ -f "$testbed/display" ]; then
        DISPLAY=$(cat "$testbed/display") wineserver -k >/dev/null 2>&1
    fi
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    for pidfile in "$testbed"/*.pid; do
        [ -f "$pidfile" ] || continue
        kill "$(cat "$pidfile")" >/dev/null 2>&1
        rm -f "$pidfile"
    done
    rm -f "$testbed/display"
}

start() {
    stop
    mkdir -p "$testbed"
    # A free display number
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac </dev/null >"$testbed/xvfb.log" 2>&1 &
    echo $! >"$testbed/xvfb.pid"
    for _ in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    if [ ! -e "/tmp/.X11-unix/X$n" ]; then
        echo "Xvfb did not start on :$n" >&2
        cat "$testbed/xvfb.log" >&2
        exit 1
    fi
    echo ":$n" >"$testbed/display"
    export DISPLAY=":$n"
    # Everything started here runs on after this script: none of it may hold CTest's
    # output pipe, so every standard handle goes to a file.
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "creating Wine prefix $WINEPREFIX"
        wineboot -i </dev/null >"$testbed/wineboot.log" 2>&1 || { cat "$testbed/wineboot.log" >&2; exit 1; }
    fi
    wineserver -p </dev/null >/dev/null 2>&1
    wineboot </dev/null >>"$testbed/wineboot.log" 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        </dev/null >/dev/null 2>&1
    for hook in "$here"/testbed.d/*.sh; do
        [ -f "$hook" ] && . "$hook"
    done
    echo "test bed up: display :$n, prefix $WINEPREFIX"
}

case "$action" in
start) start ;;
stop) stop; echo "test bed stopped" ;;
*) echo "usage: testbed.sh start|stop [--win32] <dir>" >&2; exit 2 ;;
esac
