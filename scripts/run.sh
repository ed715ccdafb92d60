#!/usr/bin/env bash
# Installs what is missing, builds an optimised editor and starts it on the bundled sample map.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
zarv_install_deps

BUILD="$ZARV_ROOT/build-release"
cmake -S "$ZARV_ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZARV_TESTS=OFF -DZARV_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j "$(zarv_jobs)" --target zarv

sample=()
for f in "$ZARV_ROOT"/samples/*.zmf; do
  [ -e "$f" ] && sample=("$f") && break
done
exec "$BUILD/bin/zarv" "$@" "${sample[@]}"
