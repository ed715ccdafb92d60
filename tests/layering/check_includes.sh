#!/usr/bin/env bash
# Counts the #include lines by which a lower folder of editor/ reaches up into a higher one, per
# pair, and the uses of the global main window in the folders below mainwindow/ and dialogs/; fails
# when a count rises above its ceiling in include_ceilings.txt. Ceilings only go down: lower one
# when code moves out of the way. The target "view-widgets" counts the includes of the views'
# widget headers alone: the headless floors may use the views' render basics, never their widgets.
# Usage: check_includes.sh <source root>
set -euo pipefail

root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
ceilings="$(dirname "${BASH_SOURCE[0]}")/include_ceilings.txt"
editor="$root/editor"
[[ -d "$editor" && -f "$ceilings" ]] || { echo "no editor/ under $root or no $ceilings" >&2; exit 2; }

# Lower folder -> the higher folders it must not include.
pairs=(
    "core:mainwindow dialogs tools views view-widgets"
    "map:mainwindow dialogs tools views view-widgets"
    "document:mainwindow dialogs tools views view-widgets"
    "gamedata:mainwindow dialogs tools views view-widgets"
    "views:mainwindow tools"
    "tools:mainwindow dialogs"
)

# The views' headers that are widgets or hold them.
view_widgets='views/(Canvas|ChildWindow|GLView|ViewState)\.h'
# Folders that must reach the window through their hosts, not through g_mainWindow.
window_free=(core map document gamedata views tools)

count() { # <from> <to>
    local target="$2/"
    [[ "$2" == view-widgets ]] && target="$view_widgets"
    { grep -rhE --include='*.h' --include='*.cpp' --include='*.c' \
          "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]$target" "$editor/$1" || true; } | wc -l
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
    local limit="${ceiling["$1>$2"]:-}" note=""
    if [[ -z "$limit" ]]; then
        note="  NO CEILING"; status=1
    elif (( $3 > limit )); then
        note="  ABOVE CEILING"; status=1
    elif (( $3 < limit )); then
        note="  (lower the ceiling to $3)"
    fi
    printf '%-10s %-13s %6d %8s%s\n' "$1" "$2" "$3" "${limit:--}" "$note"
}

printf '%-10s %-13s %6s %8s\n' from to count ceiling
for pair in "${pairs[@]}"; do
    from="${pair%%:*}"
    for to in ${pair#*:}; do
        report "$from" "$to" "$(count "$from" "$to")"
    done
done
for folder in "${window_free[@]}"; do
    report "$folder" g_mainWindow "$(count_window "$folder")"
done
if (( status )); then
    echo "A lower folder reaches up more than recorded in $ceilings." >&2
fi
exit $status
