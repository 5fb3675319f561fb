#!/usr/bin/env bash
# Fails when a source folder includes a header of a folder that
# scripts/folder-deps.txt does not allow it, when a source folder is
# missing from the table, or when the table itself runs in a loop.
# Includes are bare names ("Dekl.h"); a name is looked up in the including
# folder first, then in the folders of the table.
# Usage: scripts/check-folder-deps.sh [-C ROOT]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
table="$root/scripts/folder-deps.txt"
if [[ "${1:-}" == -C ]]; then
    root=$2
    table="$root/scripts/folder-deps.txt"
fi
cd "$root"
[[ -f "$table" ]] || { echo "no $table" >&2; exit 1; }

declare -A allowed
folders=()
while IFS= read -r line; do
    [[ "$line" =~ ^([a-z0-9_]+):(.*)$ ]] || continue
    folders+=("${BASH_REMATCH[1]}")
    allowed[${BASH_REMATCH[1]}]=" $(echo ${BASH_REMATCH[2]}) "
done < <(sed 's/#.*//' "$table")
status=0

# Every folder with production sources is in the table.
for d in */; do
    d=${d%/}
    case " tests bench fuzz tools build " in *" $d "*) continue ;; esac
    [[ "$d" == build* ]] && continue
    compgen -G "$d/*.cpp" >/dev/null || compgen -G "$d/*.h" >/dev/null || continue
    if [[ -z "${allowed[$d]+x}" ]]; then
        echo "folder $d has sources but no row in $table" >&2
        status=1
    fi
done

# The table runs one way only.
pairs=$(for d in "${folders[@]}"; do
    echo "$d $d"
    for e in ${allowed[$d]}; do echo "$d $e"; done
done)
if ! out=$(tsort <<<"$pairs" 2>&1 >/dev/null) || [[ -n "$out" ]]; then
    echo "the table of allowed folders runs in a loop:" >&2
    echo "$out" >&2
    status=1
fi

# Each include resolved to the folder holding the header.
edges=0
for d in "${folders[@]}"; do
    for f in "$d"/*.h "$d"/*.cpp "$d"/*.c; do
        [[ -f "$f" ]] || continue
        while read -r inc; do
            [[ -n "$inc" ]] || continue
            [[ -f "$d/$inc" ]] && continue
            owner=""
            for e in "${folders[@]}"; do
                if [[ -f "$e/$inc" ]]; then owner=$e; break; fi
            done
            [[ -n "$owner" ]] || continue
            edges=$((edges + 1))
            if [[ "${allowed[$d]}" != *" $owner "* ]]; then
                echo "$f includes $owner/$inc, but $d may include only:${allowed[$d]}" >&2
                status=1
            fi
        done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$f")
    done
done
((status == 0)) && echo "folders: every include allowed (${#folders[@]} folders, $edges includes across folders)"
exit $status
