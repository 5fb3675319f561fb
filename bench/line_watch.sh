#!/usr/bin/env bash
# CPU and resident memory of `km207 line watch` polling a line of N modules
# of km207-sim over UDP once a second: CPU time per second of wall time
# (target: at most 2 % of one core with 30 modules) and RSS sampled every
# SAMPLE seconds after a warm-up (target: flat within 1 MB; the soak runs
# for 30 minutes: RUN_SECONDS=1800).
#
#   bench/line_watch.sh [BUILD_DIR]     (default: build; needs km207 and km207-sim)
#   MODULES=30 RUN_SECONDS=60 SAMPLE=10 INTERVAL=1000 (ms between cycles)
set -euo pipefail

build=${1:-build}
modules=${MODULES:-30}
run_seconds=${RUN_SECONDS:-60}
sample=${SAMPLE:-10}
interval=${INTERVAL:-1000}
sim=$build/bin/km207-sim
km207=$build/bin/km207
for f in "$sim" "$km207"; do
    [ -x "$f" ] || { echo "line_watch: $f is missing (build km207 and km207-sim)" >&2; exit 2; }
done

# shellcheck source=tools/sim.sh
source "$(dirname "$0")/../tools/sim.sh"
watchpid=
trap '[ -n "$watchpid" ] && kill "$watchpid" 2>/dev/null; cleanup' EXIT

# Half the line at 9600 Bd, half at 19200 Bd; the emulator stops by itself
# well after the run, whatever happens here.
sim_args=()
{
    echo "format = 1"
    for a in $(seq 1 "$modules"); do
        index=4 baud=9600
        [ "$a" -gt $((modules / 2)) ] && index=5 baud=19200
        sim_args+=(--module "$a:$index")
        printf 'modul = %s\nrychlost = %s\n' "$a" "$baud"
    done
    echo "konec = $modules"
} >"$tmp/linka.km207linka"
start_sim "$sim" --udp-port 0 --no-pty --exit-after $((run_seconds + 120)) "${sim_args[@]}"
port=$(sed -n 's/^udp: .*:\([0-9][0-9]*\)$/\1/p' "$tmp/sim.out")

"$km207" line watch --line "$tmp/linka.km207linka" --interval "$interval" --kind lan \
    --ip 127.0.0.1 --udp-port "$port" --timeout 100 >"$tmp/watch.out" 2>"$tmp/watch.err" &
watchpid=$!

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
hz=$(getconf CLK_TCK)
# The first contact with every module and the allocator's first growth are
# left out.
settle=10
sleep "$settle"
kill -0 "$watchpid" 2>/dev/null || { echo "line_watch: km207 ended early" >&2; cat "$tmp/watch.err" >&2; exit 2; }
t0=$(date +%s.%N); c0=$(ticks "$watchpid")
: >"$tmp/rss"
for ((left = run_seconds; left > 0; left -= sample)); do
    rss "$watchpid" >>"$tmp/rss"
    sleep $((left < sample ? left : sample))
done
rss "$watchpid" >>"$tmp/rss"
t1=$(date +%s.%N); c1=$(ticks "$watchpid")
kill -0 "$watchpid" 2>/dev/null || { echo "line_watch: km207 ended early" >&2; cat "$tmp/watch.err" >&2; exit 2; }
answering=$(grep -c ' odpovídá ' "$tmp/watch.out" || true)

awk -v n="$modules" -v answering="$answering" -v c0="$c0" -v c1="$c1" -v t0="$t0" -v t1="$t1" \
    -v hz="$hz" -v interval="$interval" '
    { r[NR] = $1; if (NR == 1 || $1 < lo) lo = $1; if ($1 > hi) hi = $1 }
    END {
        wall = t1 - t0; cpu = (c1 - c0) / hz; pct = 100 * cpu / wall
        printf "km207 line watch, %d modules at 9600 and 19200 Bd over UDP, a cycle every %d ms: %.0f s wall\n", n, interval, wall
        printf "modules that answered at first: %d of %d\n", answering, n
        printf "CPU: %.2f s = %.3f %% of one core (target <= 2 %%)\n", cpu, pct
        printf "RSS: first %.1f MB, last %.1f MB, min %.1f MB, max %.1f MB, spread %d kB over %d samples (target <= 1024 kB)\n", r[1] / 1024, r[NR] / 1024, lo / 1024, hi / 1024, hi - lo, NR
        exit (pct <= 2 && hi - lo <= 1024) ? 0 : 1
    }' "$tmp/rss"
