#!/usr/bin/env bash
# Takes the manual's pictures with the program itself: the main window at 1280x900 on the sample map,
# started as on a first run (empty settings folder). Usage: scripts/make_manual_pictures.sh [ZARV]
# (default build-release/bin/zarv, else build-test/bin/zarv). Needs xvfb-run.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
zarv=${1:-}
for c in "$root"/build-release/bin/zarv "$root"/build-test/bin/zarv; do
  [[ -z $zarv && -x $c ]] && zarv=$c
done
[[ -n $zarv ]] || { echo "build the editor first (scripts/run.sh)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/cfg"
# The picture is saved once every view has drawn; the program then closes by itself.
XDG_CONFIG_HOME="$work/cfg" ZARV_EXIT_AFTER_FIRST_FRAME="$work/main-window.png" ASAN_OPTIONS=detect_leaks=0 \
  xvfb-run -a -s "-screen 0 1280x900x24" "$zarv" "$root/samples/maps/sample.map" >"$work/log" 2>&1
cp "$work/main-window.png" "$root/docs/manual/images/main-window.png"
echo "docs/manual/images/main-window.png"
