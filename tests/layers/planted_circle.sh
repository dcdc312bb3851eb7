#!/usr/bin/env bash
# The layer check passes the tree as it is, and fails a copy of it with a
# circle of includes planted inside one folder, naming the modules in it.
#   tests/layers/planted_circle.sh LAYER... (bottom first)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
mkdir "$copy/scripts"
cp "$top/scripts/check-layers" "$copy/scripts/"
cp -r "$top/src" "$copy/src"
"$copy/scripts/check-layers" "$@"

# game/combat.h includes game/targets.h; the way back closes a circle.
echo '#include "game/combat.h"' >>"$copy/src/game/targets.h"
if said=$("$copy/scripts/check-layers" "$@" 2>&1); then
  echo "a planted circle passed the layer check" >&2
  exit 1
fi
for module in game/targets game/combat; do
  grep -qx "src/$module: in a circle of includes" <<<"$said" || { echo "$said" >&2; exit 1; }
done
