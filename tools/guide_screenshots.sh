#!/usr/bin/env bash
# Refreshes the pictures of the user's guide, doc/pictures/*.cs.png and
# *.en.png: the main window, the connection dialog after a successful
# connection, the guide itself (tools/window_screenshots.sh) and the trend
# window live (tools/trend_screenshots.sh), each taken with the program
# speaking that language (KM207_LANG). Run on purpose; the test run never
# writes into the work tree.
#
#   tools/guide_screenshots.sh [BUILD_DIR]    (default: build)
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
pictures=$src/doc/pictures
mkdir -p "$pictures"
cmake --build "$build" --target live_view km207
for lang in cs en; do
    out=$(mktemp -d)
    KM207_LANG=$lang "$src/tools/window_screenshots.sh" "$build" "$out" >/dev/null
    KM207_LANG=$lang "$src/tools/trend_screenshots.sh" "$build" "$out" >/dev/null
    cp "$out/connected-main.png" "$pictures/main-window.$lang.png"
    cp "$out/connected-dialog.png" "$pictures/connection.$lang.png"
    cp "$out/connected-guide.png" "$pictures/guide.$lang.png"
    cp "$out/trend-live.png" "$pictures/trend.$lang.png"
    rm -rf "$out"
done
ls -l "$pictures"
