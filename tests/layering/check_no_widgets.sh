#!/usr/bin/env bash
# Fails when the headless code reaches Qt Widgets.
#   check_no_widgets.sh archive LIBRARY.a WIDGET_LIB.so...  : no object of the static library uses a
#                                                           symbol that a widget library exports
#   check_no_widgets.sh programs PROGRAM...                : no program needs a widget library
set -euo pipefail
export LC_ALL=C

mode="${1:-}"
shift || true
status=0
case "$mode" in
archive)
    archive="$1"
    shift
    [[ -f "$archive" && $# -gt 0 ]] || { echo "usage: $0 archive LIBRARY.a WIDGET_LIB.so..." >&2; exit 2; }
    exported=$(mktemp)
    trap 'rm -f "$exported"' EXIT
    for lib in "$@"; do
        nm -D --defined-only "$lib" | awk '{print $NF}' | sed 's/@.*//'
    done | sort -u > "$exported"
    [[ -s "$exported" ]] || { echo "no symbols exported by $*" >&2; exit 2; }
    # "member.o: undefined symbol" lines, kept where a widget library defines the symbol.
    used=$(nm -A --undefined-only "$archive" 2>/dev/null | awk '{print $1, $NF}' | sed 's/^[^:]*://; s/: / /' |
           sort -k2 | join -1 2 -2 1 - "$exported" || true)
    if [[ -n "$used" ]]; then
        echo "Objects of $(basename "$archive") use Qt Widgets:" >&2
        echo "$used" | awk '{print $2}' | sort | uniq -c | sort -rn | sed 's/^/  /' >&2
        echo "$used" | awk '{print $1}' | sort -u | c++filt | sed 's/^/    /' >&2
        status=1
    fi
    ;;
programs)
    [[ $# -gt 0 ]] || { echo "usage: $0 programs PROGRAM..." >&2; exit 2; }
    for program in "$@"; do
        needed=$(readelf -d "$program" | grep -oE 'libQt6[A-Za-z]*Widgets[^]]*' || true)
        if [[ -n "$needed" ]]; then
            echo "$(basename "$program") needs $(echo $needed)" >&2
            status=1
        fi
    done
    ;;
*)
    echo "usage: $0 archive|programs ..." >&2
    exit 2
    ;;
esac
exit $status
