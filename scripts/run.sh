#!/usr/bin/env bash
# Installs the dependencies, builds kavel (release) and starts it on an embedded database.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVEL_TESTS=OFF -DKAVEL_BENCH=OFF
cmake --build "$build" -j "$(nproc)" --target kavel

"$build/kavel" --version
"$build/kavel" "$@"
