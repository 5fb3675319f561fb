#!/usr/bin/env bash
# Fails when the units of a folder include each other in a loop. A unit is
# a header and its source (Kxxx410.h + Kxxx410.cpp); an edge runs from a
# unit to every unit of the same folder whose header it includes.
# Usage: scripts/check-include-loops.sh [folder ...]   (default: link)
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
for dir in "${@:-link}"; do
    edges=$(for f in "$dir"/*.h "$dir"/*.cpp; do
        unit=$(basename "${f%.*}")
        echo "$unit $unit"
        sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"/]*\)\.h".*/\1/p' "$f" |
            while read -r dep; do
                [[ -f "$dir/$dep.h" ]] && echo "$unit $dep"
            done
    done)
    # tsort names a loop's members on standard error.
    if ! out=$(tsort <<<"$edges" 2>&1 >/dev/null) || [[ -n "$out" ]]; then
        echo "$dir: include loop:" >&2
        echo "$out" >&2
        status=1
    else
        echo "$dir: no include loop ($(wc -l <<<"$edges") edges)"
    fi
done
exit $status
