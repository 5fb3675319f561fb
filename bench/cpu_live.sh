#!/usr/bin/env bash
# CPU use of the program while its counter view polls km207-sim (every
# 100 ms over UDP loopback) over the main window, whose communication log
# takes in every command: CPU time of the program per second of wall time,
# measured over the polling period after the link is open. Target: at most
# 1 % of one core.
#
#   bench/cpu_live.sh [BUILD_DIR]     (default: build; needs live_view and km207-sim)
#   RUN_SECONDS=30 QPA=offscreen|xvfb LOG=1|0 (0: the view alone, no main window)
#   VIEW=cnt|prubeh VIEW_ARGS="--prefill-hours 1" TARGET=1 (% of a core)
# Also prints the program's resident memory at the end of the run.
set -euo pipefail

build=${1:-build}
run_seconds=${RUN_SECONDS:-30}
qpa=${QPA:-offscreen}
log_args=()
view_name=${VIEW:-cnt}
target=${TARGET:-1}
read -r -a view_args <<<"${VIEW_ARGS:-}"
[ "${LOG:-1}" = 0 ] && log_args=(--no-log)
sim=$build/bin/km207-sim
view=$build/bin/live_view
for f in "$sim" "$view"; do
    [ -x "$f" ] || { echo "cpu_live: $f is missing (build live_view and km207-sim)" >&2; exit 2; }
done

tmp=$(mktemp -d)
simpid=
viewpid=
cleanup() {
    [ -n "$viewpid" ] && kill "$viewpid" 2>/dev/null || true
    [ -n "$simpid" ] && kill "$simpid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# The emulator stops by itself well after the run, whatever happens here.
"$sim" --udp-port 0 --no-pty --exit-after $((run_seconds + 60)) >"$tmp/sim.out" 2>"$tmp/sim.err" &
simpid=$!
for _ in $(seq 100); do
    grep -q '^ready' "$tmp/sim.out" 2>/dev/null && break
    sleep 0.05
done
port=$(sed -n 's/^udp: .*:\([0-9][0-9]*\)$/\1/p' "$tmp/sim.out")
[ -n "$port" ] || { echo "cpu_live: km207-sim did not start" >&2; cat "$tmp/sim.err" >&2; exit 2; }

# Start-up (libraries, connection, identification) is left out of the figure:
# sampling begins after a settling time and ends before the view closes.
settle=2
total=$((run_seconds + settle + 2))
if [ "$qpa" = xvfb ]; then
    xvfb-run -a "$view" --view "$view_name" --port "$port" --seconds "$total" "${log_args[@]}" \
        "${view_args[@]}" >"$tmp/view.out" 2>&1 &
    # The program itself, not xvfb-run's shell around it; Xvfb may take a
    # while to come up on a busy machine.
    for _ in $(seq 100); do
        viewpid=$(pgrep -n -f "^$view --view $view_name --port $port" || true)
        [ -n "$viewpid" ] && break
        sleep 0.1
    done
else
    QT_QPA_PLATFORM=offscreen "$view" --view "$view_name" --port "$port" --seconds "$total" \
        "${log_args[@]}" "${view_args[@]}" >"$tmp/view.out" 2>&1 &
    viewpid=$!
fi
[ -n "$viewpid" ] || { echo "cpu_live: the program did not start" >&2; exit 2; }

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
sleep "$settle"
kill -0 "$viewpid" 2>/dev/null || { echo "cpu_live: the program ended early" >&2; cat "$tmp/view.out" >&2; exit 2; }
t0=$(date +%s.%N); c0=$(ticks "$viewpid"); s0=$(ticks "$simpid")
sleep "$run_seconds"
t1=$(date +%s.%N); c1=$(ticks "$viewpid"); s1=$(ticks "$simpid")
rss=$(awk '/^VmRSS/ {print $2}' "/proc/$viewpid/status")
wait "$viewpid" 2>/dev/null || true
viewpid=

awk -v view="$view_name${VIEW_ARGS:+ $VIEW_ARGS}" -v target="$target" -v rss="$rss" -v what="$([ "${LOG:-1}" = 0 ] && echo ", no main window" || echo ", log visible")" -v c0="$c0" -v c1="$c1" -v s0="$s0" -v s1="$s1" -v t0="$t0" -v t1="$t1" -v hz="$hz" 'BEGIN {
    wall = t1 - t0; cpu = (c1 - c0) / hz; scpu = (s1 - s0) / hz
    printf "view %s polling km207-sim%s: %.1f s wall\n", view, what, wall
    printf "program CPU: %.2f s = %.3f %% of one core (target <= %s %%)\n", cpu, 100 * cpu / wall, target
    printf "program RSS at the end: %.1f MB\n", rss / 1024
    printf "emulator CPU: %.2f s = %.3f %% of one core\n", scpu, 100 * scpu / wall
    exit (100 * cpu / wall <= target) ? 0 : 1
}'
