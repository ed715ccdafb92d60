#!/usr/bin/env bash
# load_figures.sh ZARV MAP GAMEDIR [RUNS] [zarv|darkradiant|both]: time to a textured first frame
# and peak memory of zarv and, when installed, DarkRadiant, on the same map and the same game
# folder, the two run alternately in one session. zarv: a settings folder whose configuration names
# only GAMEDIR's base folder (the packages are found there) and the Quake III entity definitions,
# ZARV_EXIT_AFTER_FIRST_FRAME, "first frame" from its log, peak = maximum resident set. DarkRadiant
# (a black box): its settings folder must already be set up for the game (a first run asks;
# bench/darkradiant_game.py lays out the folder to give it, see bench/README.md); DR_HOME names that
# settings home; time from process start to the log line that ends its map load, peak = VmHWM at
# that moment. Both also report the CPU time the process had used by then (user + system, all its
# threads), which a busy machine disturbs less than the wall time. GAMEDIR is the folder above the
# base folder (/usr/share/games/openarena with its baseoa); ZARV_BASE names another base folder.
set -u
zarv=$1 map=$2 game=$3 runs=${4:-3} which=${5:-both}
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
base=${ZARV_BASE:-baseoa}
mkdir -p "$work/cfg/zarv"
printf '[Config0]\nTitle=Game\nEnabled=true\nMapProfile=kpQuake3\nGameBasedir=%s/%s\nGameData0=%s/samples/quake3/q3entities.fgd\n' \
  "$game" "$base" "$here" > "$work/cfg/zarv/KDKGameCfg.ini"
cp "$work/cfg/zarv/KDKGameCfg.ini" "$work/settings.ini"

run_zarv() {
  cp "$work/settings.ini" "$work/cfg/zarv/KDKGameCfg.ini"
  XDG_CONFIG_HOME="$work/cfg" ZARV_EXIT_AFTER_FIRST_FRAME="$work/z.png" xvfb-run -a -s "-screen 0 1280x900x24" \
    /usr/bin/time -f 'peak %M KB, cpu %U %S' "$zarv" "$map" > "$work/z.log" 2>&1
  local peak cpu
  peak=$(grep -oE 'peak [0-9]+ KB' "$work/z.log" | awk '{print int($2 / 1024)}')
  cpu=$(grep -oE 'cpu [0-9.]+ [0-9.]+' "$work/z.log" | awk '{printf "%d", ($2 + $3) * 1000}')
  echo "zarv run $1: $(grep -oE 'first frame: [0-9]+ ms, [0-9]+ images decoded' "$work/z.log"), cpu to exit $cpu ms, peak $peak MB"
}

display=
if [[ $which != zarv ]] && command -v darkradiant > /dev/null; then
  drhome=${DR_HOME:-$HOME}
  log="$drhome/.cache/darkradiant/darkradiant.log"
  name=$(basename "$map" .map)
  n=150
  while [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]]; do n=$((n + 1)); done
  display=:$n
  Xvfb "$display" -screen 0 1280x900x24 > /dev/null 2>&1 &
  xvfb=$!
  sleep 1
fi
trap '[[ -n $display ]] && kill $xvfb; rm -rf "$work"' EXIT
tick=$(getconf CLK_TCK)

run_darkradiant() {
  rm -f "$log"
  local start end pid peak cpu
  start=$(date +%s%N)
  HOME="$drhome" DISPLAY="$display" darkradiant "$map" > /dev/null 2>&1 &
  pid=$!
  for _ in $(seq 6000); do grep -q "$name.darkradiant" "$log" 2> /dev/null && break; sleep 0.01; done
  end=$(date +%s%N)
  peak=$(awk '/VmHWM/ {print int($2 / 1024)}' "/proc/$pid/status")
  cpu=$(awk -v t="$tick" '{printf "%d", ($14 + $15) * 1000 / t}' "/proc/$pid/stat")
  kill "$pid"
  wait "$pid" 2> /dev/null
  echo "darkradiant run $1: map loaded $(((end - start) / 1000000)) ms, cpu $cpu ms, peak $peak MB"
}

for i in $(seq "$runs"); do
  [[ $which != darkradiant ]] && run_zarv "$i"
  [[ -n $display ]] && run_darkradiant "$i"
done
exit 0
