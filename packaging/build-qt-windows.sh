#!/usr/bin/env bash
# Builds googletest and Qt 6 (Core, Gui, Widgets, Test and the plugins the
# program needs) for 64-bit Windows into a cache outside the work tree.
# Qt comes from Debian's own qt6-base source of the version the Linux build
# uses, so both builds run the same Qt. A finished cache is recognised by a
# stamp keyed on that version and this script, and a second run takes seconds.
#
#   packaging/build-qt-windows.sh          # fills ${KM_WIN64_PREFIX:-~/.cache/km207/win64}
#   KM_JOBS=2 packaging/build-qt-windows.sh
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
prefix=${KM_WIN64_PREFIX:-$HOME/.cache/km207/win64}
work=${KM_WIN64_WORK:-$HOME/.cache/km207/win64-build}
jobs=${KM_JOBS:-2}
toolchain_src=$here/cmake/mingw-x86_64.cmake
# Qt remembers the toolchain it was configured with; a copy inside the cache
# keeps the installed Qt usable whatever happens to this work tree.
toolchain=$prefix/share/km207/mingw-x86_64.cmake

log() { printf '[qt-win %(%H:%M:%S)T] %s\n' -1 "$*"; }

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
apt_() { sudo_ env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 "$@"; }

need=(g++-mingw-w64-x86-64-posix cmake ninja-build dpkg-dev googletest
      qt6-base-dev qt6-base-dev-tools ccache)
missing=()
for p in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    log "installing ${missing[*]}"
    apt_ update -qq
    apt_ install -y -qq --no-install-recommends "${missing[@]}"
fi

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# -O1 and no debug information: the library only has to run the program and
# its tests, and the build shares two cores with everything else.
qt_options=(
    -DCMAKE_BUILD_TYPE=Release -DQT_USE_DEFAULT_CMAKE_OPTIMIZATION_FLAGS=ON
    "-DCMAKE_C_FLAGS_RELEASE=-O1 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG"
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF -DBUILD_SHARED_LIBS=ON
    -DFEATURE_tabletevent=OFF -DFEATURE_opengl=ON -DINPUT_opengl=dynamic
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
    # 6.4.2 builds the DirectWrite 3 font database into Gui only with
    # Direct2D, while the Windows plugin uses it whenever DirectWrite 3 is on.
    -DFEATURE_directwrite3=OFF)
# What the program and its tests load; built first, so that an interrupted
# build has the useful part done.
targets=(Core Gui Widgets Test QWindowsIntegrationPlugin QOffscreenIntegrationPlugin
         QMinimalIntegrationPlugin QWindowsVistaStylePlugin)

# The cache is keyed on what shapes its contents: versions, options, the
# toolchain and the install step below (not on comments of this script).
qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
key=$( { printf '%s\n' "${qt_options[@]}" "${targets[@]}"; cat "$toolchain_src"
         sed -n '/^# install-step$/,$p' "$0"; } | sha256sum | cut -c1-16)
qt_key="$qt_version $key"
qt_stamp=$prefix/.km207-qt-stamp
gtest_stamp=$prefix/.km207-gtest-stamp
gtest_key="$(dpkg-query -W -f='${Version}' googletest) $(cat "$toolchain_src" | sha256sum | cut -c1-16)"

mkdir -p "$prefix/share/km207" "$work"
# One build at a time: two ninjas in one build folder spoil its log, and
# then everything is compiled again.
exec 9>"$work/.lock"
if ! flock -n 9; then
    log "another build of the cache is running; waiting for it"
    flock 9
fi
cp "$toolchain_src" "$toolchain"

# googletest first: small, and the Windows test programs need it.
if [ "$(cat "$gtest_stamp" 2>/dev/null)" = "$gtest_key" ]; then
    log "googletest: cached in $prefix"
else
    log "googletest: building"
    rm -rf "$work/googletest"
    cmake -S /usr/src/googletest -B "$work/googletest" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DKM_WIN64_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON "${launcher[@]}" >/dev/null
    cmake --build "$work/googletest" -j "$jobs"
    cmake --install "$work/googletest" >/dev/null
    echo "$gtest_key" > "$gtest_stamp"
    log "googletest: installed"
fi

if [ "$(cat "$qt_stamp" 2>/dev/null)" = "$qt_key" ]; then
    log "Qt $qt_version: cached in $prefix"
    exit 0
fi

# The source of exactly the installed version; where apt knows no source
# entries, derive them from the binary ones in a file of our own.
src_root=$work/qt-src
mkdir -p "$src_root"
src_dir=$(find "$src_root" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
if [ -z "$src_dir" ] || [ "$(cat "$src_root/.version" 2>/dev/null)" != "$qt_version" ]; then
    if ! apt-get source --print-uris "qt6-base=$qt_version" >/dev/null 2>&1; then
        derived=/etc/apt/sources.list.d/km207-deb-src.sources
        log "no source entries known to apt: deriving $derived"
        tmp=$(mktemp)
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -e "$f" ] && [ "$f" != "$derived" ] || continue
            awk 'BEGIN{RS=""; ORS="\n\n"} /(^|\n)Types:[^\n]*deb([ \n]|$)/ && !/Enabled: *no/ {
                     sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f" >> "$tmp"
        done
        if [ -f /etc/apt/sources.list ]; then
            # one-line entries become a deb822 stanza each
            sed -n 's/^[[:space:]]*deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\)[[:space:]]\+\([^[:space:]]\+\)[[:space:]]\+\(.*\)$/Types: deb-src\nURIs: \2\nSuites: \3\nComponents: \4\n/p' \
                /etc/apt/sources.list >> "$tmp"
        fi
        sudo_ install -m 644 "$tmp" "$derived"
        rm -f "$tmp"
        apt_ update -qq
    fi
    rm -rf "${src_root:?}"/*
    log "fetching qt6-base $qt_version source"
    (cd "$src_root" && apt-get source -qq "qt6-base=$qt_version")
    echo "$qt_version" > "$src_root/.version"
    src_dir=$(find "$src_root" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
fi

build=$work/qt-build
# A new Qt version starts afresh; changed options reconfigure in place.
if [ "$(cat "$build/.km207-version" 2>/dev/null)" != "$qt_version" ]; then
    rm -rf "$build"
fi
mkdir -p "$build"
log "configuring Qt in $build"
cmake -S "$src_dir" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DKM_WIN64_PREFIX="$prefix" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${qt_options[@]}" "${launcher[@]}" \
    > "$build/configure.log" 2>&1 || { tail -n 60 "$build/configure.log"; exit 1; }
echo "$qt_version" > "$build/.km207-version"

have=$(ninja -C "$build" -t targets all | cut -d: -f1)
for t in "${targets[@]}"; do
    grep -qx "$t" <<<"$have" || { log "no target $t in this Qt"; exit 1; }
done
start=$(date +%s)
log "building ${targets[*]} with -j$jobs"
cmake --build "$build" -j "$jobs" --target "${targets[@]}"
# The rest of the (trimmed) default set, which the install rules expect.
log "building the remaining default targets"
cmake --build "$build" -j "$jobs"

# install-step
cmake --install "$build" > "$build/install.log"
# Qt's licence texts travel with its DLLs in the Windows packages.
mkdir -p "$prefix/share/km207/qt-licenses"
cp "$src_dir"/LICENSES/* "$src_dir"/debian/copyright "$prefix/share/km207/qt-licenses/" 2>/dev/null ||
    cp "$src_dir"/LICENSE.* "$src_dir"/debian/copyright "$prefix/share/km207/qt-licenses/"
echo "$qt_key" > "$qt_stamp"
log "Qt $qt_version installed in $prefix after $(( ($(date +%s) - start) / 60 )) min of building"
