#!/usr/bin/env bash
# Counts the #include lines by which a lower folder of editor/ reaches up into a higher one, per
# pair, and fails when a count rises above its ceiling in include_ceilings.txt. Ceilings only go
# down: lower one when code moves out of the way. The target "view-widgets" counts the includes of
# the views' widget headers alone: the headless floors may use the views' render basics, never
# their widgets.
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

status=0
printf '%-10s %-13s %6s %8s\n' from to count ceiling
for pair in "${pairs[@]}"; do
    from="${pair%%:*}"
    for to in ${pair#*:}; do
        n=$(count "$from" "$to")
        limit="${ceiling["$from>$to"]:-}"
        note=""
        if [[ -z "$limit" ]]; then
            note="  NO CEILING"; status=1
        elif (( n > limit )); then
            note="  ABOVE CEILING"; status=1
        elif (( n < limit )); then
            note="  (lower the ceiling to $n)"
        fi
        printf '%-10s %-13s %6d %8s%s\n' "$from" "$to" "$n" "${limit:--}" "$note"
    done
done
if (( status )); then
    echo "A lower folder includes more from a higher one than recorded in $ceilings." >&2
fi
exit $status
