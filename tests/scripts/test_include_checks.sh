#!/usr/bin/env bash
# The include checks catch what they are for: a loop in a folder whose last
# include names another folder (once passed by an early exit), a header of
# a folder not allowed, a source folder missing from the table.
set -uo pipefail
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
fails=0
expect() { # expect RC SAYS WHAT COMMAND...: exit RC, and SAYS in the output
    local want=$1 says=$2 what=$3 rc=0
    shift 3
    "$@" >"$t/out" 2>&1 || rc=$?
    if [[ $rc -ne $want ]] || ! grep -q -- "$says" "$t/out"; then
        echo "FAIL: $what: exit $rc, expected $want and \"$says\""
        cat "$t/out"
        fails=$((fails + 1))
    else
        echo "ok: $what"
    fi
}
mkdir -p "$t/scripts" "$t/low" "$t/high"
printf 'low:\nhigh: low\n' >"$t/scripts/folder-deps.txt"
echo '#include "a.h"' >"$t/high/b.h"
printf '#include "b.h"\n#include "c.h"\n' >"$t/high/a.h"
echo '' >"$t/low/c.h"
expect 1 "high: include loop" "a loop whose last include is of another folder" "$scripts/check-include-loops.sh" -C "$t" high
rm "$t/high/b.h"
expect 0 "high: no include loop" "no loop" "$scripts/check-include-loops.sh" -C "$t"
expect 0 "every include allowed" "an allowed include" "$scripts/check-folder-deps.sh" -C "$t"
echo '#include "a.h"' >"$t/low/d.cpp"
expect 1 "low/d.cpp includes high/a.h" "an include against the table" "$scripts/check-folder-deps.sh" -C "$t"
rm "$t/low/d.cpp"
mkdir "$t/side" && echo '' >"$t/side/e.cpp"
expect 1 "folder side has sources but no row" "a source folder without a row" "$scripts/check-folder-deps.sh" -C "$t"
exit $((fails > 0))
