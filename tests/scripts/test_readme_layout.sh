#!/usr/bin/env bash
# README's layout names every folder of the tree and every unit of the
# source folders, and everything it names exists. Items are "- `folder/`:";
# a name in backticks on an item is a unit or file of that folder (`X` for
# X.h, X.cpp, X_posix.cpp ..., or a file name), a subfolder (`sub/`), or a
# path from the top (`a/b.sh`).
set -uo pipefail
root=$(cd "${1:-$(dirname "$0")/../..}" && pwd)
cd "$root"
sources="link shell functions cli protocol platform drivers emulator host"
fails=0
bad() {
    echo "README layout: $*"
    fails=$((fails + 1))
}
layout=$(awk '/^## Layout$/ {on = 1; next} on && /^#/ {exit} on' README.md)
[[ -n "$layout" ]] || { echo "README has no \"## Layout\" section"; exit 1; }

exists() { # exists FOLDER NAME
    local f=$1 n=$2
    if [[ "$n" == */ ]]; then
        [[ -d "$f/$n" || -d "$n" ]]
    elif [[ "$n" == */* ]]; then
        [[ -e "$n" || -e "$f/$n" ]]
    else
        [[ -e "$f/$n" ]] || compgen -G "$f/$n.*" >/dev/null || compgen -G "$f/${n}_*.*" >/dev/null
    fi
}

# The tracked files; outside a git checkout, the tree without build folders.
files() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files "$@"
        return
    fi
    local all
    all=$(find . -type f -not -path './build*' -not -path './.git/*' | sed 's|^\./||')
    if (($# == 0)); then
        echo "$all"
    else
        grep -E "^($(IFS='|'; echo "${*//\*/[^/]*}"))\$" <<<"$all"
    fi
}

declare -A named
folder=""
while IFS= read -r line; do
    if [[ "$line" =~ ^-\ \`([^\`]+)/\`: ]]; then
        folder=${BASH_REMATCH[1]}
        named[$folder]=" "
        [[ -d "$folder" ]] || bad "folder $folder/ does not exist"
        line=${line#*:}
    fi
    [[ -n "$folder" ]] || continue
    while [[ "$line" =~ \`([^\`]+)\`(.*)$ ]]; do
        name=${BASH_REMATCH[1]}
        line=${BASH_REMATCH[2]}
        named[$folder]+="$name "
        exists "$folder" "$name" || bad "$folder/: \"$name\" does not exist"
    done
done <<<"$layout"

# Every folder the repository tracks is an item.
for d in $(files | sed -n 's|^\([^/]*\)/.*|\1|p' | sort -u); do
    [[ -n "${named[$d]+x}" ]] || bad "folder $d/ is not named"
done
# Every unit of a source folder is named on its item.
for d in $sources; do
    for u in $(files "$d/*.h" "$d/*.cpp" "$d/*.c" | xargs -r -n1 basename |
        sed -E 's/\.(h|cpp|c)$//; s/_(posix|win32)$//' | sort -u); do
        [[ "${named[$d]:-}" == *" $u "* ]] || bad "unit $d/$u is not named"
    done
done
if ((fails)); then exit 1; fi
echo "README layout: every folder and unit named, every name exists"
