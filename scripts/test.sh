#!/bin/bash
# Installs what is missing and runs every test: the native unit tests of the portable
# core (ASan + UBSan), then Varnholt.exe and its Win32, end-to-end and pages tests under
# Wine (the registry ones in a 32-bit prefix too: every label of the mingw preset).
#   scripts/test.sh [--repeat N]
# --repeat N runs each Windows test up to N times and stops it at its first failure
# (CTest's --repeat until-fail:N): a test that fails only now and then shows.
set -uo pipefail
cd "$(dirname "$0")/.."
repeat=()
while [ $# -gt 0 ]; do
    case "$1" in
    --repeat)
        [[ "${2:-}" =~ ^[1-9][0-9]*$ ]] || { echo "usage: scripts/test.sh [--repeat N]" >&2; exit 2; }
        repeat=(--repeat "until-fail:$2")
        shift 2
        ;;
    *) echo "usage: scripts/test.sh [--repeat N]" >&2; exit 2 ;;
    esac
done
scripts/install-deps.sh || exit 1

log=$(mktemp)
status=0
for preset in native mingw; do
    echo "=== $preset: configure and build"
    cmake --preset "$preset" >/dev/null || exit 1
    cmake --build --preset "$preset" || exit 1
    echo "=== $preset: test"
    options=()
    [ "$preset" = mingw ] && options=("${repeat[@]}")
    ctest --preset "$preset" "${options[@]}" 2>&1 | tee -a "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
done

# One closing line for both runs.
awk '/tests failed out of/ { failed += $(NF-5); total += $NF }
     END { printf "tests: %d passed, %d failed\n", total - failed, failed }' "$log"
rm -f "$log"
exit $status
