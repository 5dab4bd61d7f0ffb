#!/bin/bash
# Varnholt.exe must import only DLLs that every Windows system has: no MinGW runtime. At
# load it maps only what a window lookup maps anyway; the DLLs of single commands are
# delay-loaded (cmake/DelayLoad.cmake).
set -eu
exe=$1
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports:" $dlls
file "$exe" 2>/dev/null | grep -q 'PE32 executable (GUI) Intel 80386' || { echo "not a 32-bit GUI PE: $(file "$exe")"; exit 1; }
bad=0
for dll in $dlls; do
    case "$dll" in
    kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | msvcrt.dll | api-ms-win-*) ;;
    *) echo "unexpected import: $dll"; bad=1 ;;
    esac
done
exit $bad
