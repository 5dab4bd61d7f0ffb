#!/bin/bash
# Builds what a dictionary maker ships, into build/mingw/dist: Varnholt.exe,
# Varnholt_Setup.exe, Varnholt.js and Sample.chm (the mingw build's dist target, which
# makes them from the release build in build/mingw/release).
#   scripts/dist.sh [site-address]    e.g. https://www.example.org; once given, it is kept
# With the maker's code-signing certificate in the environment, Varnholt.exe (before it
# goes into the setup) and Varnholt_Setup.exe are signed with osslsigncode, and
# Varnholt.js gives the signed setup's size:
#   VARNHOLT_SIGN_PFX=maker.pfx VARNHOLT_SIGN_PASSWORD_FILE=password.txt \
#   [VARNHOLT_SIGN_TIMESTAMP_URL=http://timestamp.example] scripts/dist.sh https://...
# Without them nothing is signed, and the build stays byte-for-byte reproducible.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release ${1:+"-DVARNHOLT_SITE_ADDRESS=$1"} >/dev/null
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target dist
ls -l build/mingw/dist
