#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal
# build (followed by the install and package check), once under
# AddressSanitizer + UndefinedBehaviorSanitizer, then each fuzz target for a
# short run. Any failure exits non-zero.
set -euo pipefail
cd "$(dirname "$0")"
root="$(pwd)"
jobs="${JOBS:-2}"
fuzz_seconds="${FUZZ_SECONDS:-30}"

scripts/install-deps.sh
# The tests through Wine fail, not skip, when Wine is missing.
export KM207_REQUIRE_WINE=1

echo "== build and test (release)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
# They must also exist: the 32-bit Windows host is built only when the
# cross compiler is found.
wine_tests=$(ctest --test-dir build -N -L wine | sed -n 's/^Total Tests: *//p')
if [[ "${wine_tests:-0}" -lt 5 ]]; then
    echo "test.sh: the tests through Wine were not built (is g++-mingw-w64-i686 installed?)" >&2
    exit 1
fi
# Which kind of machine this is for them, from a probe of the machine
# itself (it starts a tiny 32-bit program): where the kernel refuses 32-bit
# programs, Wine cannot start the 32-bit driver host and they are skipped;
# elsewhere they run, and fail where Wine is missing or broken.
probe=0
build/bin/km_probe32 >/dev/null || probe=$?
if [[ $probe -eq 77 ]]; then
    echo "== Wine: this machine's kernel cannot run 32-bit programs: the ${wine_tests} tests through Wine are skipped"
elif ! command -v wine >/dev/null; then
    echo "== Wine: not installed on a machine that can run it: the ${wine_tests} tests through Wine fail"
else
    echo "== Wine: this machine runs 32-bit programs and Wine is installed: the ${wine_tests} tests through Wine run"
fi
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300 | tee build/ctest-release.log
# The skipped ones among them, as ctest lists them ("12 - Name (Skipped)").
skipped=$(ctest --test-dir build -N -L wine | sed -n 's/^ *Test *#[0-9]*: //p' |
    sed 's/.*/- & (Skipped)/' | grep -c -F -f - build/ctest-release.log || true)
if [[ $probe -eq 77 ]]; then
    echo "== ${skipped} of ${wine_tests} tests through Wine skipped: this machine's kernel cannot run 32-bit programs"
elif [[ $skipped -ne 0 ]]; then
    echo "test.sh: ${skipped} tests through Wine were skipped on a machine that runs 32-bit programs" >&2
    exit 1
else
    echo "== ${wine_tests} tests through Wine ran"
fi

echo "== install into a staging folder, menu entry and AppStream checks, Debian package"
packaging/check.sh build

echo "== build and test (address and undefined-behaviour sanitizers)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKM_SANITIZE=ON -DKM_BENCH=OFF
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600
unset ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS

if [[ -f fuzz/run.sh ]]; then
    echo "== fuzz targets, ${fuzz_seconds} s each"
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKM_FUZZ=ON -DKM_BENCH=OFF \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
    cmake --build build-fuzz -j"$jobs" --target fuzz_targets
    fuzz/run.sh "$fuzz_seconds" build-fuzz
fi
echo "== all tests passed"
