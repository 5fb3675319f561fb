#!/bin/sh
# Runs every fuzz target of a build folder for the given seconds each.
#   fuzz/run.sh SECONDS [BUILD_DIR]     (BUILD_DIR default: build-fuzz beside this folder)
# Builds nothing. New inputs go to a scratch folder; the committed seed corpus
# fuzz/corpus/<target without "fuzz_"> is only read. A finding is kept in
# BUILD_DIR/fuzz-artifacts and makes the script fail.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
secs=${1:?usage: fuzz/run.sh SECONDS [BUILD_DIR]}
build=${2:-$here/../build-fuzz}
case $secs in *[!0-9]*|'') echo "fuzz/run.sh: SECONDS must be a whole number" >&2; exit 2;; esac

found=0
status=0
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
for t in "$build"/bin/fuzz_*; do
    [ -f "$t" ] && [ -x "$t" ] || continue
    found=1
    name=$(basename "$t")
    seeds="$here/corpus/${name#fuzz_}"
    work=$(mktemp -d)
    echo "== $name for ${secs}s"
    if [ -d "$seeds" ]; then
        set -- "$work" "$seeds"
    else
        set -- "$work"
    fi
    if ! "$t" -max_total_time="$secs" -print_final_stats=1 \
        -artifact_prefix="$artifacts/$name-" "$@" 2>"$work.log"; then
        status=1
        tail -n 60 "$work.log" >&2
        echo "== $name: FINDING (see $artifacts)" >&2
    else
        grep -E '^stat::number_of_executed_units|^Done ' "$work.log" || tail -n 3 "$work.log"
    fi
    rm -rf "$work" "$work.log"
done
if [ "$found" = 0 ]; then
    echo "fuzz/run.sh: no fuzz targets in $build/bin (configure with -DKM_FUZZ=ON and clang++)" >&2
    exit 1
fi
exit "$status"
