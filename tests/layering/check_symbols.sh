#!/usr/bin/env bash
# Counts, per ordered pair of floors (floors.txt), the symbols a lower floor's objects use that no
# floor up to its own defines and a higher one does (the lowest such floor is named), read with nm
# from the floors' static libraries; fails when a count rises above its ceiling in
# symbol_ceilings.txt (a pair not listed has ceiling 0). Each object counts for the floor of the
# folder its source lies in, whichever library compiles it. Ceilings only go down.
# Usage: check_symbols.sh <source root> <library.a>...
set -euo pipefail
export LC_ALL=C

here="$(dirname "${BASH_SOURCE[0]}")"
root="$1"
shift
floors="$here/floors.txt"
ceilings="$here/symbol_ceilings.txt"
[[ -d "$root/editor" && -f "$floors" && -f "$ceilings" && $# -gt 0 ]] ||
    { echo "usage: $0 <source root> <library.a>... (with floors.txt and symbol_ceilings.txt beside it)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# object name (Source.cpp.o) -> floor rank and name, from the folders of each floor.
rank=0
while read -r floor folders; do
    [[ -z "$floor" || "$floor" == \#* ]] && continue
    echo "$rank $floor" >> "$work/floors"
    for folder in $folders; do
        find "$root/editor/$folder" -name '*.cpp' -printf "%f.o $rank\n"
    done >> "$work/objects"
    rank=$((rank + 1))
done < "$floors"

# "object type symbol" for every defined global and every undefined symbol of the libraries.
for archive in "$@"; do
    [[ -f "$archive" ]] || { echo "no library $archive" >&2; exit 2; }
    nm -A "$archive" 2>/dev/null | awk '{
        split($1, part, ":"); object = part[2]
        if (NF == 3) print object, $2, $3
        else if (NF == 2) print object, $1, $2
    }'
done > "$work/symbols"

status=0
awk -v floorsFile="$work/floors" -v detailsFile="$work/details" -v objectsFile="$work/objects" -v ceilingsFile="$ceilings" '
BEGIN {
    while ((getline line < floorsFile) > 0) { split(line, f, " "); name[f[1]] = f[2]; floors++ }
    while ((getline line < objectsFile) > 0) { split(line, o, " "); floorOf[o[1]] = o[2] }
    while ((getline line < ceilingsFile) > 0) {
        if (line ~ /^[ \t]*(#|$)/) continue
        split(line, c, " "); ceiling[c[1] ">" c[2]] = c[3]
    }
}
!($1 in floorOf) { next }    # an object of no floor (the generated sources)
$2 == "U" { used[floorOf[$1], $3] = 1; next }
$2 ~ /^[A-Zui]$/ {
    r = floorOf[$1]
    if (!($3 in lowest) || r < lowest[$3]) lowest[$3] = r
}
END {
    for (key in used) {
        split(key, k, SUBSEP)
        if (!(k[2] in lowest) || lowest[k[2]] <= k[1]) continue
        count[k[1], lowest[k[2]]]++
        names[k[1], lowest[k[2]]] = names[k[1], lowest[k[2]]] "\n    " k[2]
    }
    printf "%-10s %-10s %6s %8s\n", "from", "to", "count", "ceiling"
    status = 0
    for (a = 0; a < floors; a++) for (b = a + 1; b < floors; b++) {
        n = count[a, b] + 0
        limit = ceiling[name[a] ">" name[b]] + 0
        note = ""
        if (n > limit) {
            note = "  ABOVE CEILING"; status = 1
            print name[a] " uses of " name[b] ":" names[a, b] > detailsFile
        }
        else if (n < limit) note = "  (lower the ceiling to " n ")"
        if (n || limit) printf "%-10s %-10s %6d %8d%s\n", name[a], name[b], n, limit, note
    }
    if (status) print "A floor uses symbols only a higher floor defines, more than recorded." > "/dev/stderr"
    exit status
}' "$work/symbols" || status=$?
[[ -s "$work/details" ]] && c++filt < "$work/details" >&2
exit $status
