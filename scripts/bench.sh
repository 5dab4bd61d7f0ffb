#!/bin/bash
# The benchmark (not a test: nothing here passes or fails). Builds Varnholt.exe as shipped
# (but asking the local test site) with the benchmark's programs, starts the Wine test bed
# (Xvfb, its own Wine prefix, the local site on 127.0.0.1:18080), measures, and writes
# the table and the plot:
#   build/bench/results/bench.txt   the table, with the machine it ran on
#   build/bench/results/bench.png   the plot
#   build/bench/results/rows-*.tsv  every run, as measured
#
#   scripts/bench.sh [runs]         (15 runs of each command unless given)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
scripts/install-deps.sh
if ! dpkg-query -W -f='${Status}' gnuplot-nox 2>/dev/null | grep -q 'install ok installed'; then
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends gnuplot-nox
fi

cmake --preset bench >/dev/null
cmake --build --preset bench
cmake --preset bench-native >/dev/null
cmake --build --preset bench-native

results=$PWD/build/bench/results
testbed=$PWD/build/bench/testbed
mkdir -p "$results"
rm -f "$results"/rows-*.tsv
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

build/bench/native/RewriteBench "$PWD/build/bench/native-files" "$runs" >"$results/rows-native.tsv"
tests/scripts/testbed.sh start "$testbed"
trap 'tests/scripts/testbed.sh stop "$testbed" >/dev/null' EXIT
tests/scripts/wine-run.sh "$testbed" build/bench/bin/BenchDriver.exe \
    "Z:${results//\//\\}\\rows-wine.tsv" --runs "$runs"
tests/scripts/testbed.sh stop "$testbed" >/dev/null
trap - EXIT

python3 bench/report.py "$results" \
    --exe build/bench/bin/Varnholt.exe \
    --machine "$(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) cores, $(free -g | awk '/^Mem:/ {print $2}') GiB; Linux $(uname -r); $(wine --version)" \
    --load "before $load_before, after $(cut -d' ' -f1-3 /proc/loadavg)" \
    --revision "$(git describe --always --dirty 2>/dev/null || echo unknown)" \
    --runs "$runs"
cat "$results/bench.txt"
echo "table: $results/bench.txt  plot: $results/bench.png"
