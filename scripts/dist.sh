#!/bin/bash
# Builds what a dictionary maker ships, into build/mingw/dist: Varnholt.exe,
# Varnholt_Setup.exe, Varnholt.js and Sample.chm (the mingw build's dist target, which
# makes them from the release build in build/mingw/release).
#   scripts/dist.sh [--allow-http] [site-address]    e.g. https://www.example.org; once
#   given, it is kept
# A plain http address is refused unless --allow-http asks for it: over http anyone on a
# reader's network can answer the update check and hand out another setup through its link.
# With the maker's code-signing certificate in the environment, Varnholt.exe (before it
# goes into the setup) and Varnholt_Setup.exe are signed with osslsigncode, and
# Varnholt.js gives the signed setup's size:
#   VARNHOLT_SIGN_PFX=maker.pfx VARNHOLT_SIGN_PASSWORD_FILE=password.txt \
#   [VARNHOLT_SIGN_TIMESTAMP_URL=http://timestamp.example] scripts/dist.sh https://...
# Without them nothing is signed, and the build stays byte-for-byte reproducible.
set -euo pipefail
cd "$(dirname "$0")/.."
allow_http=false
if [ "${1:-}" = --allow-http ]; then
    allow_http=true
    shift
fi
site=${1:-}
check_site() {
    case "$1" in
    [Hh][Tt][Tt][Pp][Ss]://?*) return 0 ;;
    [Hh][Tt][Tt][Pp]://?*) $allow_http && return 0 ;;
    esac
    echo "dist.sh: the site address \"$1\" is not an https address. Over plain http anyone" \
        "on a reader's network can answer the About window's update check and swap the setup" \
        "its link offers. Give an https address, or --allow-http and an http one to build it" \
        "anyway." >&2
    exit 2
}
[ -n "$site" ] && check_site "$site"
scripts/install-deps.sh
cmake --preset release ${site:+"-DVARNHOLT_SITE_ADDRESS=$site"} >/dev/null
# Without an argument, the address kept from before (or the build's default).
[ -n "$site" ] || check_site "$(sed -n 's/^VARNHOLT_SITE_ADDRESS:[^=]*=//p' build/mingw/release/CMakeCache.txt)"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target dist
ls -l build/mingw/dist
