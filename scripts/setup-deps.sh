#!/usr/bin/env bash
# Installs every build and test dependency of kavel from Debian's packages.
# Non-interactive and idempotent: it only calls apt-get when something is missing.
# With --no-browser it leaves out what only the browser tests need (chromium, Node.js packages),
# for running the program.
set -euo pipefail

browser=1
if [ "${1:-}" = "--no-browser" ]; then browser=0; fi

packages=(
  build-essential cmake ninja-build pkg-config git ccache
  clang clang-format libclang-rt-dev
  libsqlite3-dev sqlite3
  libpq-dev postgresql
  libcpp-httplib-dev nlohmann-json3-dev libcli11-dev libsodium-dev
  libgtest-dev libgmock-dev libbenchmark-dev
)
if [ "$browser" = 1 ]; then
  packages+=(chromium)
  # Node.js runs the browser tests; a node installed otherwise (nodesource) is fine too.
  if ! command -v node >/dev/null; then packages+=(nodejs npm); fi
  if ! command -v npm >/dev/null; then packages+=(npm); fi
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  # The tests start their own PostgreSQL server; the package must not create and start a
  # system-wide one.
  if [[ " ${missing[*]} " == *" postgresql "* ]] && [ ! -e /etc/postgresql-common/createcluster.conf ]; then
    $sudo_cmd mkdir -p /etc/postgresql-common
    echo "create_main_cluster = false" | $sudo_cmd tee /etc/postgresql-common/createcluster.conf >/dev/null
  fi
  $sudo_cmd apt-get update -q
  $sudo_cmd apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The browser tests drive Debian's chromium through playwright-core (never a downloaded browser).
if [ "$browser" = 1 ] && [ ! -d "$(dirname "$0")/../tests/e2e/node_modules/playwright-core" ]; then
  (cd "$(dirname "$0")/../tests/e2e" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund)
fi
