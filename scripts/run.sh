#!/usr/bin/env bash
# Installs what is missing, builds an optimised editor and starts it on the bundled sample map.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
zarv_install_deps

BUILD="$ZARV_ROOT/build-release"
cmake -S "$ZARV_ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZARV_TESTS=OFF -DZARV_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j "$(zarv_jobs)" --target zarv

# The bundled sample map only when no argument names something else to open.
if [ "$#" -eq 0 ]; then
  exec "$BUILD/bin/zarv" "$ZARV_ROOT/samples/maps/sample.map"
fi
exec "$BUILD/bin/zarv" "$@"
