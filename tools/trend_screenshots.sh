#!/usr/bin/env bash
# Screenshots of the trend window "Průběh hodnot" under Xvfb on a link to
# km207-sim: live, paused with the cursor, and after a run of failures.
#
#   tools/trend_screenshots.sh [BUILD_DIR] [OUT_DIR]   (defaults: build, ./shots)
set -euo pipefail

build=${1:-build}
out=${2:-shots}
sim=$build/bin/km207-sim
view=$build/bin/live_view
km207=$build/bin/km207
mkdir -p "$out"
# shellcheck source=tools/sim.sh
source "$(dirname "$0")/sim.sh"

# shot NAME SCENE AFTER_MS [ACTIONS...]: one picture; the actions run in the
# background while the window polls (a status clear, a power cycle, the
# emulator stopped for a while).
shot() {
    local name=$1 scene=$2 after=$3
    shift 3
    # A 23-bit counter about to wrap (ERR24), a square wave on DIN3 and a
    # pulse on DIN5, some fixed inputs.
    start_sim "$sim" --udp-port 0 --no-pty --exit-after 120 --mode 1 --counter 8387400 \
        --counter-rate 400 --inputs 0x00a50000 --input-script square:3:500 \
        --input-script pulse:5:2500:1500
    port=$(sed -n 's/^udp: .*:\([0-9][0-9]*\)$/\1/p' "$tmp/sim.out")
    xvfb-run -a -s "-screen 0 1280x800x24" "$view" --view prubeh --port "$port" --seconds 40 \
        --scene "$scene" --grab "$out/$name.png" --after "$after" &
    local viewjob=$!
    "$@"
    wait "$viewjob"
    kill "$simpid" 2>/dev/null || true
    wait "$simpid" 2>/dev/null || true
    simpid=
    echo "$out/$name.png"
}

status_events() {
    sleep 3.5
    "$km207" clear status --kind lan --ip 127.0.0.1 --udp-port "$port" >/dev/null
    sleep 2
    kill -USR1 "$simpid"
}
outage() {
    sleep 4
    kill -STOP "$simpid"
    sleep 2.5
    kill -CONT "$simpid"
}

shot trend-live live 9000 status_events
shot trend-paused paused 9000 status_events
shot trend-failures live 10000 outage
