#!/bin/bash
# A maker's signature: a clean release build made with a throwaway code-signing
# certificate (made here with openssl) in the environment signs Varnholt.exe and
# Varnholt_Setup.exe validly, Varnholt.js gives the signed setup's size, and the signed
# program still runs.
#   check-signing.sh <source> <build> <toolchain> <generator> <testbed>
set -u
source=$1 build=$2 toolchain=$3 generator=$4 testbed=$5
work=$(mktemp -d)
trap 'rm -rf "$work" "$build"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Varnholt test maker" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" \
    2>"$work/openssl.log" || { cat "$work/openssl.log"; exit 1; }
echo "throwaway password" >"$work/password"
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/maker.pfx" \
    -passout "file:$work/password" || exit 1

rm -rf "$build"
if ! VARNHOLT_SIGN_PFX="$work/maker.pfx" VARNHOLT_SIGN_PASSWORD_FILE="$work/password" \
    cmake -DSOURCE_DIR="$source" -DRELEASE_DIR="$build" -DTOOLCHAIN="$toolchain" \
    -DGENERATOR="$generator" -P "$source/cmake/ReleaseBuild.cmake" >"$work/build.log" 2>&1; then
    cat "$work/build.log"
    exit 1
fi
status=0
for file in "$build/setup/stage/Varnholt.exe" "$build/setup/Varnholt_Setup.exe"; do
    if osslsigncode verify -CAfile "$work/cert.pem" -in "$file" >"$work/verify.log" 2>&1; then
        echo "signed: $(basename "$file")"
    else
        echo "no valid signature on $file:"
        cat "$work/verify.log"
        status=1
    fi
done
size=$(stat -c %s "$build/setup/Varnholt_Setup.exe")
if grep -q "Size=$size;" "$build/setup/Varnholt.js"; then
    echo "Varnholt.js: $(cat "$build/setup/Varnholt.js")"
else
    echo "Varnholt.js does not give the signed setup's size $size: $(cat "$build/setup/Varnholt.js")"
    status=1
fi
# /pane 1 without a viewer in front does nothing and ends with 0.
"$source/tests/scripts/wine-run.sh" "$testbed" "$build/setup/stage/Varnholt.exe" /pane 1
code=$?
[ "$code" -eq 0 ] || { echo "the signed program ended with $code"; status=1; }
exit $status
