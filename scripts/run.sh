#!/usr/bin/env bash
# Installs the dependencies, builds kavel (release) and starts the web host on an embedded
# database (./kavel.sqlite, created with demo data when missing). Arguments, when given, replace
# "serve": `bash scripts/run.sh forms`, `bash scripts/run.sh init-db --demo other.sqlite`.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-deps.sh --no-browser

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVEL_TESTS=OFF -DKAVEL_BENCH=OFF
cmake --build "$build" -j "$(nproc)" --target kavel

"$build/kavel" --version
if [ $# -eq 0 ]; then
  exec "$build/kavel" serve
fi
exec "$build/kavel" "$@"
