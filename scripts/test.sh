#!/bin/bash
# Installs what is missing and runs every test: the native unit tests of the portable
# core (ASan + UBSan), then Varnholt.exe and its Win32 and end-to-end tests under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh || exit 1

log=$(mktemp)
status=0
for preset in native mingw; do
    echo "=== $preset: configure and build"
    cmake --preset "$preset" >/dev/null || exit 1
    cmake --build --preset "$preset" || exit 1
    echo "=== $preset: test"
    ctest --preset "$preset" 2>&1 | tee -a "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
done

# One closing line for both runs.
awk '/tests failed out of/ { failed += $(NF-5); total += $NF }
     END { printf "tests: %d passed, %d failed\n", total - failed, failed }' "$log"
rm -f "$log"
exit $status
