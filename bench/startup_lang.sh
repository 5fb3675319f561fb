#!/usr/bin/env bash
# The program's start-up time and peak memory in English (its catalog
# loaded) against Czech, the process timed whole up to its main window
# shown, the two in turn (farm-bench). Target: English within 5 % of Czech
# on both the wall time and the peak memory (medians of the paired ratios).
#
#   bench/startup_lang.sh [BUILD_DIR] [RUNS]   (default: build 30; needs start_window)
set -euo pipefail
build=${1:-build}
runs=${2:-30}
bin=$(realpath "$build/bin/start_window")
[ -x "$bin" ] || { echo "startup_lang: $bin is missing (build start_window)" >&2; exit 2; }
command -v farm-bench >/dev/null || { echo "startup_lang: farm-bench is not on PATH" >&2; exit 2; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# No settings of the user's: the same first start for both languages.
export HOME=$tmp XDG_CONFIG_HOME=$tmp/config QT_QPA_PLATFORM=offscreen
unset KM207_LANG
farm-bench -n "$runs" --warmup 3 --timeout 600 --vs "$bin --lang cs" -- "$bin" --lang en
