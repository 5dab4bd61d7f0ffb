#!/bin/bash
# A second clean build of the release, in another folder, gives the same Varnholt.exe and
# Varnholt_Setup.exe byte for byte as the first (the one whose files dist gathered).
#   check-reproducible.sh <source> <release-build> <second-build> <toolchain> <generator>
set -u
source=$1 first=$2 second=$3 toolchain=$4 generator=$5
rm -rf "$second"
if ! cmake -DSOURCE_DIR="$source" -DRELEASE_DIR="$second" -DTOOLCHAIN="$toolchain" \
    -DGENERATOR="$generator" -DSETTINGS_FROM="$first" -P "$source/cmake/ReleaseBuild.cmake" \
    >"$second.log" 2>&1; then
    cat "$second.log"
    exit 1
fi
status=0
for file in bin/Varnholt.exe setup/Varnholt_Setup.exe; do
    if cmp "$first/$file" "$second/$file"; then
        echo "same bytes: $file ($(stat -c %s "$first/$file") bytes)"
    else
        status=1
    fi
done
rm -rf "$second" "$second.log"
exit $status
