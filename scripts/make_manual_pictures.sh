#!/usr/bin/env bash
# Takes the manual's pictures with the program itself, started as on a first run (empty settings
# folder) at 1280x900 under Xvfb: the program's windows driven by real events through
# build-test/tests/manualpictures (the main window on the sample map, a first map, each tool at work,
# the dialogs). Usage: scripts/make_manual_pictures.sh [BUILD] (default build-test, built with
# `cmake --build BUILD --target manualpictures zarv`). Needs xvfb-run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-test}
program=$build/tests/manualpictures
[[ -x $program ]] || { echo "build $program first (cmake --build $build --target manualpictures zarv)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/cfg" "$work/pictures"
XDG_CONFIG_HOME="$work/cfg" ASAN_OPTIONS=detect_leaks=0 LP_NUM_THREADS=0 \
  xvfb-run -a -s "-screen 0 1280x900x24" "$program" "$work/pictures" "$root/samples/maps/sample.map" \
  >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }
cp "$work"/pictures/*.png "$root/docs/manual/images/"
ls "$work/pictures" | sed 's|^|docs/manual/images/|'
