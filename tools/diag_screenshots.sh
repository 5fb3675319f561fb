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
# shellcheck source=tools/sim.sh
source "$src/tools/sim.sh"

cmake --build "$build" --target diag_shot km207-sim KSER410
start_sim "$build/bin/km207-sim" --no-udp --strict-baud --module 2 --module 5:6 --counter-rate 7 \
    --exit-after 300
KM207_COM1=$(sed -n 's/^pty: //p' "$tmp/sim.out")
export KM207_COM1
# The main window keeps its settings in the temporary folder.
export XDG_CONFIG_HOME="$tmp"

(cd "$tmp" && "$src/tests/wm/with_wm.sh" "$build/bin/diag_shot" --drivers "$build/bin" --out "$out" \
    --file "$tmp/modul2.km207")
ls -l "$out"/log-polling*.png "$out"/search-results*.png "$out"/load-preview*.png
