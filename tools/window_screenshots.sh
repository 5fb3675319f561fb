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
# BUILD_DIR must hold km207-sim, the drivers and the km_shell, km_functions,
# km_link and km_host_library libraries.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
out=$(mkdir -p "${2:-shots}" && cd "${2:-shots}" && pwd)
tmp=$(mktemp -d)
chmod 755 "$tmp"
simpid=
cleanup() {
    [[ -n "$simpid" ]] && kill "$simpid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# shellcheck disable=SC2046
c++ -std=c++20 -fPIC -o "$tmp/window_shot" "$src/tools/window_shot.cpp" \
    -I"$src/shell" -I"$src/functions" -I"$src/link" -I"$src/drivers" \
    $(pkg-config --cflags Qt6Widgets Qt6Test) "$build/shell/libkm_shell.a" \
    "$build/functions/libkm_functions.a" "$build/link/libkm_link.a" \
    "$build/host/libkm_host_library.a" $(pkg-config --libs Qt6Widgets Qt6Test)

"$build/bin/km207-sim" --no-udp --exit-after 120 >"$tmp/sim.out" 2>"$tmp/sim.err" &
simpid=$!
for _ in $(seq 100); do
    grep -q '^ready' "$tmp/sim.out" 2>/dev/null && break
    sleep 0.05
done
pty=$(sed -n 's/^pty: //p' "$tmp/sim.out")
[[ -n "$pty" ]] || { echo "window_screenshots: km207-sim did not start" >&2; cat "$tmp/sim.err" >&2; exit 2; }
export KM207_COM1="$pty"

"$src/tests/wm/with_wm.sh" "$tmp/window_shot" --drivers "$build/bin" --out "$out/connected"

if [[ $(id -u) -eq 0 ]]; then
    # The emulator's line belongs to root; another user may not open it.
    mkdir -m 777 "$tmp/denied"
    "$src/tests/wm/with_wm.sh" setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env HOME="$tmp/denied" "$tmp/window_shot" --drivers "$build/bin" --out "$tmp/denied/denied"
    cp "$tmp"/denied/denied-dialog*.png "$out"/
else
    echo "window_screenshots: not root, no picture of a refused line" >&2
fi
ls -l "$out"/connected-*.png "$out"/denied-*.png 2>/dev/null || true
