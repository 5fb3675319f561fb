#!/usr/bin/env bash
# Pictures of the main window and the connection dialog under a window
# manager (Xvfb and openbox, tests/wm/with_wm.sh), connecting over COM1 to
# km207-sim's pseudo-terminal through the real serial driver:
#   connected-main.png     the main window after connecting (" Modul  KM-207   v.1.02")
#   connected-dialog.png   the dialog with the success text
#   denied-dialog.png      the dialog run by a user who may not open the line
#                          (root only: run as "nobody"), with the driver's
#                          permission hint in the status line
# and *-screen.png, the whole screen at the same moments, frames included.
#
# Usage: tools/window_screenshots.sh [BUILD_DIR [OUT_DIR]]   (defaults: build, shots)
# BUILD_DIR is a configured build tree; km207-sim, the drivers and the
# picture program are built in it as needed.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
out=$(mkdir -p "${2:-shots}" && cd "${2:-shots}" && pwd)
# shellcheck source=tools/sim.sh
source "$src/tools/sim.sh"
chmod 755 "$tmp"

cmake --build "$build" --target window_shot km207-sim KSER410
start_sim "$build/bin/km207-sim" --no-udp --exit-after 120
KM207_COM1=$(sed -n 's/^pty: //p' "$tmp/sim.out")
export KM207_COM1

"$src/tests/wm/with_wm.sh" "$build/bin/window_shot" --drivers "$build/bin" --out "$out/connected"

if [[ $(id -u) -eq 0 ]]; then
    # The emulator's line belongs to root; another user may not open it.
    mkdir -m 777 "$tmp/denied"
    "$src/tests/wm/with_wm.sh" setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env HOME="$tmp/denied" "$build/bin/window_shot" --drivers "$build/bin" --out "$tmp/denied/denied"
    cp "$tmp"/denied/denied-dialog*.png "$out"/
else
    echo "window_screenshots: not root, no picture of a refused line" >&2
fi
ls -l "$out"/connected-*.png "$out"/denied-*.png 2>/dev/null || true
