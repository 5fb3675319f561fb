#!/usr/bin/env bash
# Installs a built tree into a staging folder (DESTDIR, prefix /usr) and
# checks it file by file, validates the menu entry and the AppStream
# metainfo, then builds the Debian package and checks that it holds the same
# files, takes its dependencies from the shared libraries and tells how to
# get serial access.
#
# Usage: packaging/check.sh [BUILD_DIR]   (default build; built beforehand)
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(cd "${1:-build}" && pwd)"
stage="$build/stage"
id=cz.km207.W_KM207
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
[[ -n "$version" ]] || { echo "check.sh: no project version in $build" >&2; exit 1; }
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

echo "-- install into $stage"
rm -rf "$stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null

# Every file the install must hold, and nothing else: no tests, test
# drivers, benchmarks, fuzz targets, static libraries or headers.
expected="$(mktemp)"
actual="$(mktemp)"
trap 'rm -f "$expected" "$actual"' EXIT
{
    printf '%s\n' usr/bin/W_KM207 usr/bin/km207-sim
    for drv in KSER410 KIB410 KPB4100 KUB4100 KL4100; do
        echo "usr/lib/km207/$drv.so"
    done
    echo "usr/share/applications/$id.desktop"
    echo "usr/share/icons/hicolor/scalable/apps/$id.svg"
    echo "usr/share/metainfo/$id.metainfo.xml"
    printf 'usr/share/doc/km207/%s\n' copyright README.md CHANGELOG.md guide.cs.md guide.en.md
    for picture in main-window connection guide trend; do
        printf 'usr/share/doc/km207/pictures/%s\n' "$picture.cs.png" "$picture.en.png"
    done
    # Executables of the build that exist only in some configurations.
    sed -n 's|^\(..*\)$|usr/\1|p' "$build/install-optional.txt"
} | sort >"$expected"
(cd "$stage" && find . \( -type f -o -type l \) -printf '%P\n') | sort >"$actual"
while read -r f; do fail "missing from the install: $f"; done < <(comm -23 "$expected" "$actual")
while read -r f; do fail "not expected in the install: $f"; done < <(comm -13 "$expected" "$actual")

for f in usr/bin/W_KM207 usr/bin/km207-sim usr/lib/km207/km207-driverhost; do
    [[ ! -e "$stage/$f" || -x "$stage/$f" ]] || fail "$f is not executable"
done
# No installed binary may look for libraries in the source or build tree.
# (Outputs are taken whole before grep: with pipefail, grep -q stopping
# early would fail the pipe.)
while read -r f; do
    [[ "$(file -b "$f")" == ELF* ]] || continue
    paths="$(readelf -d "$f" | grep -E 'R(UN)?PATH' || true)"
    if [[ -n "$paths" ]] && grep -qF -e "$build" -e "$(pwd)" <<<"$paths"; then
        fail "${f#"$stage"/} keeps a library path into the build: $paths"
    fi
done < <(find "$stage" -type f)

out="$("$stage/usr/bin/km207-sim" --version)"
[[ "$out" == "km207-sim $version" ]] || fail "km207-sim --version printed '$out', not 'km207-sim $version'"
if [[ -x "$stage/usr/bin/km207" ]]; then
    out="$("$stage/usr/bin/km207" --version)"
    [[ "$out" == *"$version"* ]] || fail "km207 --version printed '$out', without $version"
fi

echo "-- desktop entry and AppStream metainfo"
desktop="$stage/usr/share/applications/$id.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
exec_name="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
[[ -x "$stage/usr/bin/$exec_name" ]] || fail "the menu entry starts '$exec_name', which is not in usr/bin"
icon="$(sed -n 's/^Icon=//p' "$desktop")"
[[ -f "$stage/usr/share/icons/hicolor/scalable/apps/$icon.svg" ]] || fail "no icon named '$icon'"
appstreamcli validate --no-net "$stage/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
grep -qF "<release version=\"$version\"" "$stage/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo does not name release $version"

echo "-- Debian package"
rm -f "$build"/km207_*.deb
if ! (cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1); then
    cat "$build/cpack.log" >&2
    fail "cpack -G DEB"
fi
deb="$(ls "$build"/km207_"$version"_*.deb 2>/dev/null | head -n 1)"
if [[ -z "$deb" ]]; then
    fail "cpack made no km207_${version}_*.deb"
else
    dpkg-deb -f "$deb"
    depends="$(dpkg-deb -f "$deb" Depends)"
    for lib in libqt6widgets6 libqt6core6 libserialport0 libc6; do
        [[ "$depends" == *"$lib"* ]] || fail "the package does not depend on $lib (Depends: $depends)"
    done
    [[ "$(dpkg-deb -f "$deb" Description)" == *dialout* ]] ||
        fail "the description does not name the dialout group"
    [[ "$(dpkg-deb -f "$deb" Version)" == "$version" ]] || fail "the package version is not $version"
    control="$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sort | tr '\n' ' ')"
    [[ "$control" == "./ ./control ./md5sums " ]] ||
        fail "the package carries more than control and md5sums: $control (a postrm keeps it in dpkg's database after dpkg -r)"
    while read -r mode f; do
        [[ "$mode" == -rwxr-xr-x ]] || fail "$f is $mode in the package"
    done < <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ && $6 ~ /^\.\/usr\/bin\// { print $1, $6 }')
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort |
        diff -u "$actual" - || fail "the package holds other files than the install"
fi

if ((failures)); then
    echo "install and package check: $failures failure(s)" >&2
    exit 1
fi
echo "install and package check passed: $(wc -l <"$actual") files, $(basename "${deb:-}")"
