#!/usr/bin/env bash
# Builds tavik with warnings as errors and runs every test. Works from any directory.
# TAVIK_SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"

build="$root/build-test"
options=(-DTAVIK_WERROR=ON -DCMAKE_BUILD_TYPE=Debug)
if [ "${TAVIK_SANITIZE:-0}" = 1 ]; then
    build="$root/build-asan"
    options+=(-DTAVIK_SANITIZE=ON)
fi
cmake -S "$root" -B "$build" -G Ninja "${options[@]}"
cmake --build "$build" -j "$(nproc)"
cd "$build"
ctest --output-on-failure -j "$(nproc)"
