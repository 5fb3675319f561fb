#!/usr/bin/env bash
# Fails when the units of a folder include each other in a loop. A unit is
# a header and its source (Kxxx410.h + Kxxx410.cpp); an edge runs from a
# unit to every unit of the same folder whose header it includes.
# Usage: scripts/check-include-loops.sh [-C ROOT] [folder ...]
# (default: every folder of scripts/folder-deps.txt)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [[ "${1:-}" == -C ]]; then
    root=$2
    shift 2
fi
cd "$root"
table="$root/scripts/folder-deps.txt"
if (($# == 0)); then
    set -- $(sed -n 's/^\([a-z0-9_]*\):.*/\1/p' "$table")
fi
status=0
for dir in "$@"; do
    if [[ ! -d "$dir" ]]; then
        echo "$dir: no such folder" >&2
        status=1
        continue
    fi
    edges=$(for f in "$dir"/*.h "$dir"/*.cpp "$dir"/*.c; do
        [[ -f "$f" ]] || continue
        unit=$(basename "${f%.*}")
        echo "$unit $unit"
        sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"/]*\)\.h".*/\1/p' "$f" |
            while read -r dep; do
                if [[ -f "$dir/$dep.h" ]]; then echo "$unit $dep"; fi
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
