#!/bin/bash
# Builds the fuzz targets of the portable core (tests/fuzz) with clang++ and libFuzzer,
# under ASan and UBSan (the fuzz preset, in build/fuzz), and runs each for SECONDS
# (default 60), one after another.
#   scripts/fuzz.sh [SECONDS]
# A target starts from its checked-in seeds, tests/fuzz/corpus/<target>/, and from what
# its earlier runs kept in build/fuzz/corpus/<target>/, where it saves the new inputs it
# finds: the checked-in seeds stay a small chosen set that scripts/test.sh replays. An
# input that breaks a property (or crashes, or takes over 10 s) is saved in
# build/fuzz/crashes/<target>/. The last lines give per target the executions and whether
# anything was found; the exit code is 1 when a target found something.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || { echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2; }
scripts/install-deps.sh --fuzz || exit 1
cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz || exit 1

status=0
summary=()
for source in tests/fuzz/*Fuzz.cpp; do
    target=$(basename "$source" .cpp)
    corpus=build/fuzz/corpus/$target
    crashes=build/fuzz/crashes/$target
    log=build/fuzz/$target.log
    mkdir -p "$corpus" "$crashes"
    echo "=== $target: $seconds s"
    before=$(ls "$crashes" | wc -l)
    build/fuzz/"$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$crashes/" "$corpus" "tests/fuzz/corpus/$target" >"$log" 2>&1
    rc=$?
    # The final count, or on a crash the last one reported.
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    [ -n "$runs" ] || runs=$(grep -o '^#[0-9]*' "$log" | tail -1 | tr -d '#')
    if [ $rc -eq 0 ] && [ "$(ls "$crashes" | wc -l)" -eq "$before" ]; then
        found="nothing found"
    else
        status=1
        found="FOUND: $crashes/$(ls -t "$crashes" | head -1) (exit $rc, see $log)"
    fi
    summary+=("$target: ${runs:-0} executions, $found")
done
printf '%s\n' "${summary[@]}"
exit $status
