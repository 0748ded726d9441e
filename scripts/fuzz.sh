#!/usr/bin/env bash
# Builds the presence-reader fuzz target with clang's libFuzzer and runs it for a while.
#     scripts/fuzz.sh [seconds]   (default 60)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
if ! command -v clang++ >/dev/null || ! dpkg-query -W libclang-rt-14-dev >/dev/null 2>&1; then
    as_root=(); [ "$(id -u)" -ne 0 ] && as_root=(sudo)
    "${as_root[@]}" apt-get install -y -qq clang libclang-rt-14-dev
fi
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DTAVIK_BUILD_BENCH=OFF
cmake --build "$build" --target fuzz_presence
mkdir -p "$build/corpus"
"$build/tests/fuzz_presence" -max_total_time="${1:-60}" -max_len=4096 "$build/corpus"
