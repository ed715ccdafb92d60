#!/usr/bin/env bash
# load_figures.sh ZARV MAP GAMEDIR [RUNS]: time to a textured first frame and peak memory of zarv
# and, when installed, DarkRadiant, on the same map and the same game folder, run after run in
# one session. zarv: a settings folder whose configuration names only GAMEDIR's base folder (the
# packages are found there), ZARV_EXIT_AFTER_FIRST_FRAME, "first frame" from its log, peak =
# maximum resident set. DarkRadiant (a black box): its settings folder must already be set up for
# the game (a first run asks; bench/darkradiant_game.py lays out the folder to give it, see
# bench/README.md); DR_HOME names that settings home; time from process start to the log line that
# ends its map load, peak = VmHWM at that moment. GAMEDIR is the folder above the base folder
# (/usr/share/games/openarena with its baseoa).
set -u
zarv=$1 map=$2 game=$3 runs=${4:-3} which=${5:-both}
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
mkdir -p "$work/cfg/zarv"
printf '[Config0]\nTitle=Game\nEnabled=true\nMapProfile=kpQuake3\nGameBasedir=%s/baseoa\nGameData0=%s/samples/quake3/q3entities.fgd\n' \
  "$game" "$here" > "$work/cfg/zarv/KDKGameCfg.ini"
[[ $which == darkradiant ]] && runs_z=0 || runs_z=$runs
for i in $(seq "$runs_z"); do
  rm -f "$work/cfg/zarv/KDKGameCfg.ini.bak"
  cp "$work/cfg/zarv/KDKGameCfg.ini" "$work/cfg/zarv/KDKGameCfg.ini.bak"
  XDG_CONFIG_HOME="$work/cfg" ZARV_EXIT_AFTER_FIRST_FRAME="$work/z.png" xvfb-run -a -s "-screen 0 1280x900x24" \
    /usr/bin/time -v "$zarv" "$map" > "$work/z.log" 2>&1
  cp "$work/cfg/zarv/KDKGameCfg.ini.bak" "$work/cfg/zarv/KDKGameCfg.ini"
  echo "zarv run $i: $(grep -oE 'first frame: [0-9.]+ ms' "$work/z.log"), peak $(($(grep 'Maximum resident' "$work/z.log" | awk '{print $NF}') / 1024)) MB"
done
[[ $which == zarv ]] && exit 0
command -v darkradiant > /dev/null || exit 0
drhome=${DR_HOME:-$HOME}
log="$drhome/.cache/darkradiant/darkradiant.log"
base=$(basename "$map" .map)
n=150
while [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]]; do n=$((n + 1)); done
display=:$n
Xvfb "$display" -screen 0 1280x900x24 > /dev/null 2>&1 &
xvfb=$!
sleep 1
for i in $(seq "$runs"); do
  rm -f "$log"
  start=$(date +%s%N)
  HOME="$drhome" DISPLAY="$display" darkradiant "$map" > /dev/null 2>&1 &
  pid=$!
  for _ in $(seq 3000); do grep -q "$base.darkradiant" "$log" 2> /dev/null && break; sleep 0.02; done
  end=$(date +%s%N)
  peak=$(awk '/VmHWM/ {print int($2 / 1024)}' "/proc/$pid/status")
  kill "$pid"
  wait "$pid"
  echo "darkradiant run $i: map loaded $(( (end - start) / 1000000 )) ms, peak $peak MB"
done
kill "$xvfb"
