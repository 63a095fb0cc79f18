#!/usr/bin/env bash
# Installs the dependencies, builds everything (with AddressSanitizer and UBSan) and runs every
# test. Used as is by CI.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh

build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVEL_SANITIZE=ON \
  -DKAVEL_BENCH=ON -DKAVEL_TESTS=ON
cmake --build "$build" -j "$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
