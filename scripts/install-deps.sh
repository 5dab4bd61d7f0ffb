#!/bin/bash
# Installs what the build and the tests need on Debian 12 (run as root). Does nothing
# when everything is there already.
#   scripts/install-deps.sh [--fuzz]
# --fuzz adds clang's runtime libraries with libFuzzer, for scripts/fuzz.sh.
set -euo pipefail
fuzz=false
case "${1:-}" in
"") ;;
--fuzz) fuzz=true ;;
*) echo "usage: scripts/install-deps.sh [--fuzz]" >&2; exit 2 ;;
esac

packages=(
    cmake ninja-build g++ googletest clang file python3 locales
    g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
    wine wine64 wine32:i386 xvfb xauth x11-utils imagemagick
    nsis fp-utils
    nodejs node-acorn chromium
    osslsigncode openssl
)
# libclang_rt.fuzzer (and clang's sanitizer runtimes), for the default clang.
$fuzz && packages+=(libclang-rt-dev)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    # Another apt run may hold the package lock for a while: wait for it.
    wait_for_lock=(-o DPkg::Lock::Timeout=600)
    # A mirror in the middle of a sync serves an index of the wrong size for a minute or
    # two: try the update again before giving up.
    for try in 1 2 3 4 5; do
        apt-get "${wait_for_lock[@]}" update -q -o APT::Update::Error-Mode=any && break
        [ "$try" -lt 5 ] || exit 1
        echo "apt-get update failed; trying again in $((try * 20)) s" >&2
        sleep $((try * 20))
    done
    DEBIAN_FRONTEND=noninteractive apt-get "${wait_for_lock[@]}" install -y -q \
        --no-install-recommends "${missing[@]}"
fi

# Tests run Wine in other locales: Russian (ANSI code page 1251), Turkish (its casing)
# and Japanese (code page 932).
for locale in ru_RU tr_TR ja_JP; do
    if ! locale -a 2>/dev/null | grep -qix "$locale.utf8"; then
        localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
    fi
done
