#!/usr/bin/env bash
# Runs the test programs of a 64-bit Windows cross build under wine64,
# against km207-sim running natively: over UDP on 127.0.0.1, and over a
# serial line, COM<n> of the test Wine prefix being a link in its dosdevices
# to the emulator's pseudo-terminal. The prefix lives in the build tree.
#
#   tests/wine/run-tests.sh WIN_BUILD_DIR --sim PATH/km207-sim
#       [--timeout SECONDS] [--com N] [test_x.exe ...]
#
# Without test names every test_*.exe of WIN_BUILD_DIR/bin and tests-bin
# runs. The tests learn the emulator from KM207_SIM_UDP (127.0.0.1:PORT) and
# KM207_SIM_COM (COMn).
# Then, where socat is installed, the Windows km207-sim.exe serves COM<n+1>,
# joined by a null-modem pair of pseudo-terminals to COM<n+2>, and
# test_drivers.exe's serial cases run once more through that.
# Ends with one line "wine: N passed, N failed, N skipped" (googletest's
# counts summed; a program that crashed, hung or printed no count is one
# failure) and exits 0 only when nothing failed.
set -u

usage() {
    sed -n '6,8p' "$0" >&2
    exit 2
}

[ $# -ge 1 ] || usage
win=$(cd "$1" && pwd) || usage
shift
sim="" timeout=300 com=7
tests=()
while [ $# -gt 0 ]; do
    case "$1" in
    --sim) sim=${2:-}; shift 2 ;;
    --timeout) timeout=${2:-}; shift 2 ;;
    --com) com=${2:-}; shift 2 ;;
    -h | --help) usage ;;
    *) tests+=("$1"); shift ;;
    esac
done
[ -x "$sim" ] || { echo "run-tests: --sim must name the native km207-sim" >&2; exit 2; }
case "$com" in '' | *[!0-9]*) echo "run-tests: --com needs a number" >&2; exit 2 ;; esac

wine64=$(command -v wine64 || true)
[ -n "$wine64" ] || [ ! -x /usr/lib/wine/wine64 ] || wine64=/usr/lib/wine/wine64
[ -n "$wine64" ] || { echo "run-tests: wine64 is not installed" >&2; exit 2; }

# bin/ holds the programs, the real drivers and the tests of the drivers,
# the protocol, the emulator and the command line; tests-bin/ the tests that
# bind the test driver, away from the real drivers.
folder_of() {
    local d
    for d in bin tests-bin; do
        [ -e "$win/$d/$1" ] && { echo "$win/$d"; return; }
    done
}
if [ ${#tests[@]} -eq 0 ]; then
    for t in "$win"/bin/test_*.exe "$win"/tests-bin/test_*.exe; do
        [ -e "$t" ] && tests+=("$(basename "$t")")
    done
fi
[ ${#tests[@]} -gt 0 ] || { echo "run-tests: no test_*.exe in $win/bin or $win/tests-bin" >&2; exit 2; }

export WINEPREFIX="$win/wine-prefix"
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs in a prefix for test programs.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
logs="$win/wine-logs"
mkdir -p "$logs"
if [ ! -d "$WINEPREFIX/dosdevices" ]; then
    timeout 300 "$wine64" wineboot --init >"$logs/wineboot.log" 2>&1 ||
        { echo "run-tests: wineboot failed, see $logs/wineboot.log" >&2; exit 1; }
fi
# The windows' tests run on Qt's offscreen platform, which on Windows reads
# fonts from one folder only and, finding none, draws every character as a
# box as wide as it is high: give it DejaVu Sans, the font the Linux tests
# get from fontconfig. Wine passes no QT_* variable from Linux, so the
# prefix's environment carries it.
fonts="$win/wine-fonts"
mkdir -p "$fonts"
for f in DejaVuSans.ttf DejaVuSans-Bold.ttf; do
    [ -e /usr/share/fonts/truetype/dejavu/$f ] && ln -sfn /usr/share/fonts/truetype/dejavu/$f "$fonts/$f"
done
"$wine64" reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /d "$("$wine64" winepath -w "$fonts" 2>/dev/null | tr -d '\r')" \
    /f >/dev/null 2>&1

# The emulator: a free UDP port, its pseudo-terminal linked as COM<n>.
link="$WINEPREFIX/dosdevices/com$com"
"$sim" --udp-host 127.0.0.1 --udp-port 0 --pty-link "$link" --exit-after $((timeout * ${#tests[@]} + 60)) \
    >"$logs/sim.out" 2>"$logs/sim.err" &
sim_pid=$!
cleanup() {
    kill "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
}
trap cleanup EXIT
for _ in $(seq 100); do
    grep -q '^ready' "$logs/sim.out" 2>/dev/null && break
    sleep 0.1
done
grep -q '^ready' "$logs/sim.out" || { echo "run-tests: km207-sim did not start" >&2; cat "$logs/sim.err" >&2; exit 1; }
export KM207_SIM_UDP=$(sed -n 's/^udp: //p' "$logs/sim.out")
export KM207_SIM_COM="COM$com"
echo "run-tests: km207-sim udp $KM207_SIM_UDP, pty $(sed -n 's/^pty: //p' "$logs/sim.out") as $KM207_SIM_COM"

passed=0 failed=0 skipped=0
for t in "${tests[@]}"; do
    log="$logs/${t%.exe}.log"
    dir=$(folder_of "$t")
    if [ -z "$dir" ]; then
        echo "run-tests: no $t" >"$log"
        rc=1
    else
        (cd "$dir" && timeout --kill-after=10 "$timeout" "$wine64" "./$t") >"$log" 2>&1
        rc=$?
    fi
    p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$log" | tail -1)
    f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below:.*/\1/p' "$log" | tail -1)
    s=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?, listed below:.*/\1/p' "$log" | tail -1)
    p=${p:-0} f=${f:-0} s=${s:-0}
    if [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then
        # Crashed, hung (124) or failed before googletest counted anything.
        f=1
        echo "run-tests: $t ended with $rc, see $log"
    fi
    echo "run-tests: $t: $p passed, $f failed, $s skipped"
    passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
done
# A null-modem cable between two COM ports of the prefix, the Windows
# emulator on one end and the serial driver on the other.
if [ -x "$win/bin/km207-sim.exe" ] && [ -x "$win/bin/test_drivers.exe" ]; then
    if command -v socat >/dev/null; then
        cleanup
        trap - EXIT
        a="$WINEPREFIX/dosdevices/com$((com + 1))" b="$WINEPREFIX/dosdevices/com$((com + 2))"
        socat "pty,raw,echo=0,link=$a" "pty,raw,echo=0,link=$b" 2>"$logs/socat.err" &
        socat_pid=$!
        for _ in $(seq 50); do [ -e "$a" ] && [ -e "$b" ] && break; sleep 0.1; done
        (cd "$win/bin" && exec "$wine64" ./km207-sim.exe --com "COM$((com + 1))" --no-udp \
            --exit-after $((timeout + 30))) >"$logs/sim-win.out" 2>"$logs/sim-win.err" &
        simw_pid=$!
        for _ in $(seq 100); do
            grep -q '^ready' "$logs/sim-win.out" 2>/dev/null && break
            sleep 0.1
        done
        log="$logs/test_drivers-com-pair.log"
        (cd "$win/bin" && KM207_SIM_UDP= KM207_SIM_COM="COM$((com + 2))" timeout --kill-after=10 \
            "$timeout" "$wine64" ./test_drivers.exe --gtest_filter='*SimWire*KSER410*:SimCom.*') \
            >"$log" 2>&1
        rc=$?
        kill "$simw_pid" "$socat_pid" 2>/dev/null
        wait "$simw_pid" "$socat_pid" 2>/dev/null
        p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$log" | tail -1)
        f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below:.*/\1/p' "$log" | tail -1)
        p=${p:-0} f=${f:-0}
        [ "$rc" -eq 0 ] || [ "$f" -gt 0 ] || f=1
        echo "run-tests: test_drivers.exe against km207-sim.exe on COM$((com + 1)): $p passed, $f failed"
        passed=$((passed + p)) failed=$((failed + f))
    else
        echo "run-tests: socat is not installed: km207-sim.exe on a COM port is not tested (1 skipped)"
        skipped=$((skipped + 1))
    fi
fi
echo "wine: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
