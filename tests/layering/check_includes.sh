#!/usr/bin/env bash
# Counts the #include lines by which a lower floor of editor/ reaches up into a higher one, for
# every ordered pair of the floors in floors.txt, and the uses of the global main window in the
# folders below mainwindow/ and dialogs/; fails when a count rises above its ceiling in
# include_ceilings.txt (a pair not listed has ceiling 0). Ceilings only go down: lower one when
# code moves out of the way.
# Usage: check_includes.sh <source root>
set -euo pipefail

here="$(dirname "${BASH_SOURCE[0]}")"
root="${1:-$(cd "$here/../.." && pwd)}"
floors="$here/floors.txt"
ceilings="$here/include_ceilings.txt"
editor="$root/editor"
[[ -d "$editor" && -f "$ceilings" && -f "$floors" ]] ||
    { echo "no editor/ under $root or no $floors / $ceilings" >&2; exit 2; }

names=()
declare -A folders
while read -r floor list; do
    [[ -z "$floor" || "$floor" == \#* ]] && continue
    names+=("$floor")
    folders["$floor"]="$list"
done < "$floors"

# Folders that must reach the window through their hosts, not through g_mainWindow.
window_free=(core render map document gamedata views tools dialogs)

count() { # <from floor> <to floor>
    local pattern sources=()
    pattern="($(echo ${folders["$2"]} | tr ' ' '|'))/"
    for folder in ${folders["$1"]}; do sources+=("$editor/$folder"); done
    { grep -rhE --include='*.h' --include='*.cpp' --include='*.c' \
          "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]$pattern" "${sources[@]}" || true; } | wc -l
}

declare -A ceiling
while read -r from to limit; do
    [[ -z "$from" || "$from" == \#* ]] && continue
    ceiling["$from>$to"]=$limit
done < "$ceilings"

count_window() { # <folder>: every mention of the global, code or comment
    { grep -rhow --include='*.h' --include='*.cpp' --include='*.c' g_mainWindow "$editor/$1" || true; } | wc -l
}

status=0
report() { # <from> <to> <count>
    local limit="${ceiling["$1>$2"]:-0}" note=""
    if (( $3 > limit )); then
        note="  ABOVE CEILING"; status=1
    elif (( $3 < limit )); then
        note="  (lower the ceiling to $3)"
    fi
    printf '%-10s %-13s %6d %8s%s\n' "$1" "$2" "$3" "$limit" "$note"
}

printf '%-10s %-13s %6s %8s\n' from to count ceiling
for ((a = 0; a < ${#names[@]}; a++)); do
    for ((b = a + 1; b < ${#names[@]}; b++)); do
        report "${names[a]}" "${names[b]}" "$(count "${names[a]}" "${names[b]}")"
    done
done
dialogs_to_window=$({ grep -rhE --include='*.h' --include='*.cpp' \
    '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]mainwindow/' "$editor/dialogs" || true; } | wc -l)
report dialogs mainwindow "$dialogs_to_window"
for folder in "${window_free[@]}"; do
    report "$folder" g_mainWindow "$(count_window "$folder")"
done
if (( status )); then
    echo "A lower floor reaches up more than recorded in $ceilings." >&2
fi
exit $status
