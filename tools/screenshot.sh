#!/usr/bin/env bash
# Screenshots of the main window and the connection dialog after a successful
# connection to km207-sim over the real serial driver, taken under Xvfb.
#
# Usage: tools/screenshot.sh [BUILD_DIR [OUT_DIR]]   (defaults: build, shots)
#
# The end-to-end test drives the windows (the emulator is started and stopped
# by it); with KM207_SHOT_DIR set it saves each window as drawn
# (connection-dialog.png, main-window.png) and the whole X screen at the same
# moments (screen-connection-dialog.png, screen-main-window.png).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build}"
out_dir="$(mkdir -p "${2:-shots}" && cd "${2:-shots}" && pwd)"

if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build_dir" -j"${JOBS:-2}" --target test_e2e

rm -f "$out_dir"/connection-dialog.png "$out_dir"/main-window.png "$out_dir"/screen-*.png
KM207_SHOT_DIR="$out_dir" QT_QPA_PLATFORM=xcb timeout 120 \
    xvfb-run -a -s "-screen 0 1024x768x24" \
    "$build_dir/bin/test_e2e" --gtest_filter='E2eConnect.DefaultSettings*'

ls -l "$out_dir"/*.png
