#!/usr/bin/env bash
# Fails when a source file includes a header from a layer it may not use, and names each such
# include as FILE:LINE. Usage: check-layers.sh [ROOT] (default: the repository of this script).
#
# The layers, each with what it may include (besides the standard and third-party headers):
#   host/base                      host/base
#   host/data                      + host/data
#   host/forms                     + host/forms
#   host/domain                    + host/domain
#   the module's folders           the host and each other
#   server/                        host/base, host/data (the server contract) and server/
#   web/                           host/base, host/data, host/forms and web/
#   app/, tests/, bench/, fuzz/    anything: they wire the layers together
#
# An include whose path has no folder ("x.h") is not one of ours and is not checked.
set -euo pipefail
root=${1:-"$(cd "$(dirname "$0")/.." && pwd)"}
cd "$root"

module="core planning modulevariants classes structure certificates davinci reference"
host_below_module="host/base host/data host/forms host/domain"

# Includes that point up today and are on their way down a layer; each must still occur, so
# the exception goes when the include does. Lines: FILE INCLUDED-HEADER
pending=$(
  cat <<'PENDING'
PENDING
)

allowed_for() {
  case $1 in
    host/base/*) echo "host/base" ;;
    host/data/*) echo "host/base host/data" ;;
    host/forms/*) echo "host/base host/data host/forms" ;;
    host/domain/*) echo "$host_below_module" ;;
    server/*) echo "host/base host/data server" ;;
    web/*) echo "host/base host/data host/forms web" ;;
    *) echo "$host_below_module $module" ;;  # the module's folders
  esac
}

failed=0
declare -A seen=()
folders=()
for folder in host server web $module; do [[ -d $folder ]] && folders+=("$folder"); done
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  header=$(sed -E 's/^[^"]*"([^"]+)".*$/\1/' <<<"${rest#*:}")
  [[ $header == */* ]] || continue
  ok=0
  for layer in $(allowed_for "$file"); do
    if [[ $header == "$layer"/* ]]; then
      ok=1
      break
    fi
  done
  ((ok)) && continue
  if grep -qxF "$file $header" <<<"$pending"; then
    seen["$file $header"]=1
    continue
  fi
  echo "$file:$line: includes $header, a layer it may not use" >&2
  failed=1
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' \
  --include='*.cpp' "${folders[@]}" | sort)

while IFS= read -r exception; do
  [[ -z $exception || -n ${seen[$exception]:-} || ! -e ${exception%% *} ]] && continue
  echo "scripts/check-layers.sh: '$exception' no longer occurs: remove it from the list" >&2
  failed=1
done <<<"$pending"

if ((failed)); then
  echo "Layers are crossed; see docs/layers.md" >&2
  exit 1
fi
echo "Layers: every include points down or within its layer"
