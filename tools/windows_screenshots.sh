#!/usr/bin/env bash
# Refreshes the pictures of W_KM207.exe under wine64 kept in shots/
# (windows-connected.png, windows-main-log.png): runs the Windows stage with
# its screenshots going to shots/ instead of the build folder. Run on
# purpose; the test run never writes into the work tree.
#
#   tools/windows_screenshots.sh [LINUX_BUILD_DIR [WINDOWS_BUILD_DIR]]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
exec "$here/scripts/test-windows.sh" "${1:-$here/build}" "${2:-$here/build-win64}" "$here/shots"
