#!/usr/bin/env bash
# Pictures of the three settings dialogs under Xvfb, each after "Přečíst"
# on a LAN link to km207-sim holding a recognisable configuration.
#
#   tools/config_screenshots.sh [BUILD_DIR] [OUT_DIR]   (defaults: build, ./screenshots)
# BUILD_DIR is a configured build tree; km207-sim, KL4100 and the picture
# program are built in it as needed.
set -euo pipefail

src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
out=${2:-screenshots}
mkdir -p "$out"
# shellcheck source=tools/sim.sh
source "$src/tools/sim.sh"

cmake --build "$build" --target config_shot km207-sim KL4100
# Address 33, 38400 Bd, counter mode 2, and a few bits in the DIO registers.
start_sim "$build/bin/km207-sim" --udp-port 0 --no-pty --exit-after 120 --address 33 \
    --baud-index 6 --mode 2 --reg 32=0x81 --reg 33=0x0f --reg 34=0xf0 --reg 38=0x55 \
    --reg 42=0x3c --reg 43=0xff
port=$(sed -n 's/^udp: .*:\([0-9][0-9]*\)$/\1/p' "$tmp/sim.out")

for d in adr cnt dio; do
    xvfb-run -a -s "-screen 0 1024x768x24" "$build/bin/config_shot" --dialog "$d" --port "$port" --address 33 \
        --drivers "$build/bin" --out "$out/config_$d.png"
    echo "$out/config_$d.png"
done
