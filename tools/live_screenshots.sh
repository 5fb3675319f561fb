#!/usr/bin/env bash
# Screenshots of the five live views under Xvfb, each on a link to km207-sim.
#
#   tools/live_screenshots.sh [BUILD_DIR] [OUT_DIR]   (defaults: build, ./shots)
set -euo pipefail

build=${1:-build}
out=${2:-shots}
sim=$build/bin/km207-sim
view=$build/bin/live_view
mkdir -p "$out"
tmp=$(mktemp -d)
simpid=
cleanup() {
    [ -n "$simpid" ] && kill "$simpid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# Some input and status bits and a power failure an hour ago, so the views
# have something to show.
"$sim" --udp-port 0 --no-pty --exit-after 120 --inputs 0x8000a501 --counter 123456 \
    --mode 2 --counter-rate -7 >"$tmp/sim.out" 2>"$tmp/sim.err" &
simpid=$!
for _ in $(seq 100); do
    grep -q '^ready' "$tmp/sim.out" 2>/dev/null && break
    sleep 0.05
done
port=$(sed -n 's/^udp: .*:\([0-9][0-9]*\)$/\1/p' "$tmp/sim.out")
[ -n "$port" ] || { echo "live_screenshots: km207-sim did not start" >&2; exit 2; }

for v in cnt rtc stat din dout; do
    xvfb-run -a -s "-screen 0 1024x768x24" "$view" --view "$v" --port "$port" --seconds 20 \
        --grab "$out/live_$v.png" --after 1500
    echo "$out/live_$v.png"
done
