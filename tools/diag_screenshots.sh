#!/usr/bin/env bash
# Pictures of the diagnostics under a window manager (Xvfb and openbox,
# tests/wm/with_wm.sh), over COM1 to km207-sim's pseudo-terminal with two
# modules on the line (2 at 9600 Bd, 5 at 38400 Bd):
#   log-polling.png      the main window's communication log while the
#                        counter view polls
#   search-results.png   the search window after a search of addresses 0-6
#                        at all nine rates
#   load-preview.png     loading a configuration file: what it would change
# and *-screen.png, the whole screen at the same moments.
#
# Usage: tools/diag_screenshots.sh [BUILD_DIR [OUT_DIR]]   (defaults: build, shots)
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
out=$(mkdir -p "${2:-shots}" && cd "${2:-shots}" && pwd)
tmp=$(mktemp -d)
simpid=
cleanup() {
    [[ -n "$simpid" ]] && kill "$simpid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# shellcheck disable=SC2046
c++ -std=c++20 -fPIC -o "$tmp/diag_shot" "$src/tools/diag_shot.cpp" \
    -I"$src/shell" -I"$src/functions" -I"$src/link" -I"$src/drivers" \
    $(pkg-config --cflags Qt6Widgets Qt6Test) "$build/shell/libkm_shell.a" \
    "$build/functions/libkm_functions.a" "$build/link/libkm_link.a" \
    "$build/host/libkm_host_library.a" $(pkg-config --libs Qt6Widgets Qt6Test)

"$build/bin/km207-sim" --no-udp --strict-baud --module 2 --module 5:6 --counter-rate 7 \
    --exit-after 300 >"$tmp/sim.out" 2>"$tmp/sim.err" &
simpid=$!
for _ in $(seq 100); do
    grep -q '^ready' "$tmp/sim.out" 2>/dev/null && break
    sleep 0.05
done
pty=$(sed -n 's/^pty: //p' "$tmp/sim.out")
[[ -n "$pty" ]] || { echo "diag_screenshots: km207-sim did not start" >&2; cat "$tmp/sim.err" >&2; exit 2; }
export KM207_COM1="$pty"
# The main window keeps its settings in the temporary folder.
export XDG_CONFIG_HOME="$tmp"

(cd "$tmp" && "$src/tests/wm/with_wm.sh" "$tmp/diag_shot" --drivers "$build/bin" --out "$out" \
    --file "$tmp/modul2.km207")
ls -l "$out"/log-polling*.png "$out"/search-results*.png "$out"/load-preview*.png
