#!/bin/sh
# Full soak: COUNT commands over UDP with KL4100 and COUNT/10 over the
# pseudo-terminal with KSER410, against km207-sim with 5 % dropped, 2 %
# corrupted and 1 % late replies. Prints the counts and the memory figures.
#   bench/soak.sh [COUNT] [BUILD_DIR]     (defaults: 100000, build)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-100000}
build=${2:-$here/build}
bin=$build/bin/test_soak
if [ ! -x "$bin" ]; then
    echo "soak: $bin not built (cmake --build $build --target test_soak)" >&2
    exit 1
fi
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
KM207_SOAK_COMMANDS=$count exec "$bin" --gtest_filter='SoakTest.*AcceptsNoWrongValue'
