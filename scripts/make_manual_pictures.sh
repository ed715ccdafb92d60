#!/usr/bin/env bash
# Takes the manual's pictures with the program itself, started as on a first run (empty settings
# folder) at 1280x900 under Xvfb: the program's windows driven by real events through
# build-test/tests/manualpictures (the main window on the sample map, a first map from the empty room
# to its compile, each tool at work, the dialogs). Usage: scripts/make_manual_pictures.sh [BUILD]
# (default build-test, built with `cmake --build BUILD --target manualpictures zarv`). Needs xvfb-run.
# The compile pictures need the Quake III map compiler: ZARV_Q3MAP2 names the program, else it is
# built with build.sh of ZARV_Q3MAP2_TOOLS (default: shared/tools/q3map2 beside the repository);
# without it the run pictures in docs/manual/images stay as they are.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-test}
program=$build/tests/manualpictures
[[ -x $program ]] || { echo "build $program first (cmake --build $build --target manualpictures zarv)" >&2; exit 1; }
compiler=${ZARV_Q3MAP2:-}
if [[ -z $compiler ]]; then
  for tools in "${ZARV_Q3MAP2_TOOLS:-}" "$root/../shared/tools/q3map2" "$root/../../shared/tools/q3map2"; do
    if [[ -n $tools && -f $tools/build.sh ]]; then
      compiler=$(bash "$tools/build.sh" "$build/q3map2-run" | tail -1) || compiler=
      break
    fi
  done
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/cfg" "$work/pictures" "$work/maps"
args=("$work/pictures" "$root/samples/maps/sample.map")
if [[ -n $compiler && -x $compiler ]]; then
  args+=("$work/maps" "$compiler")
else
  echo "no map compiler: the run pictures are not taken" >&2
fi
XDG_CONFIG_HOME="$work/cfg" ASAN_OPTIONS=detect_leaks=0 LP_NUM_THREADS=0 \
  xvfb-run -a -s "-screen 0 1280x900x24" "$program" "${args[@]}" \
  >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }
cp "$work"/pictures/*.png "$root/docs/manual/images/"
ls "$work/pictures" | sed 's|^|docs/manual/images/|'
