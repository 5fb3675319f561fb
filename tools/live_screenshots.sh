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
# shellcheck source=tools/sim.sh
source "$(dirname "$0")/sim.sh"

# Some input and status bits and a power failure an hour ago, so the views
# have something to show.
start_sim "$sim" --udp-port 0 --no-pty --exit-after 120 --inputs 0x8000a501 --counter 123456 \
    --mode 2 --counter-rate -7
port=$(sed -n 's/^udp: .*:\([0-9][0-9]*\)$/\1/p' "$tmp/sim.out")

for v in cnt rtc stat din dout; do
    xvfb-run -a -s "-screen 0 1024x768x24" "$view" --view "$v" --port "$port" --seconds 20 \
        --grab "$out/live_$v.png" --after 1500
    echo "$out/live_$v.png"
done
