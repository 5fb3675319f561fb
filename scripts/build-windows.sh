#!/usr/bin/env bash
# The 64-bit Windows build in one command: W_KM207.exe, km207.exe,
# km207-sim.exe, the five drivers as 64-bit DLLs, km207-driverhost64.exe and
# the 32-bit km207-driverhost.exe, cross-built with mingw-w64 against the Qt
# for Windows that packaging/build-qt-windows.sh keeps in its cache (built
# there first when missing: about an hour the first time).
#
#   scripts/build-windows.sh [BUILD_DIR] [--package]
#
# BUILD_DIR defaults to build-win64; --package also makes the portable zip and
# the installer there (km207-VERSION-win64.zip, km207-VERSION-win64.exe).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build-win64
package=0
for a in "$@"; do
    case $a in
    --package) package=1 ;;
    -*) echo "usage: $0 [BUILD_DIR] [--package]" >&2; exit 2 ;;
    *) build=$(realpath -m "$a") ;;
    esac
done
prefix=${KM_WIN64_PREFIX:-$HOME/.cache/km207/win64}
export KM_WIN64_PREFIX=$prefix

"$here/packaging/build-qt-windows.sh"

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Qt's own wrapper: it knows the host tools (moc, uic, rcc of the Linux Qt)
# and chains to the toolchain file the cache was built with.
"$prefix/bin/qt-cmake" -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKM_WIN64_PREFIX="$prefix" "${launcher[@]}" >/dev/null
cmake --build "$build" -j "${KM_JOBS:-2}"
if [ $package = 1 ]; then
    (cd "$build" && cpack -G ZIP >/dev/null && cpack -G NSIS >/dev/null)
    ls -l "$build"/km207-*-win64.zip "$build"/km207-*-win64.exe
fi
