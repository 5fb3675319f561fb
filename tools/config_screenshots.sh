#!/usr/bin/env bash
# Pictures of the three settings dialogs under Xvfb, each after "Přečíst"
# on a LAN link to km207-sim holding a recognisable configuration.
#
#   tools/config_screenshots.sh [BUILD_DIR] [OUT_DIR]   (defaults: build, ./screenshots)
# BUILD_DIR must hold km207-sim, KL4100.so, libkm_functions.a, libkm_link.a and
# libkm_host_library.a.
set -euo pipefail

src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
out=${2:-screenshots}
mkdir -p "$out"
tmp=$(mktemp -d)
simpid=
cleanup() {
    [ -n "$simpid" ] && kill "$simpid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# shellcheck disable=SC2046
c++ -std=c++20 -fPIC -o "$tmp/config_shot" "$src/tools/config_shot.cpp" \
    -I"$src/functions" -I"$src/link" -I"$src/drivers" $(pkg-config --cflags Qt6Widgets) \
    "$build/functions/libkm_functions.a" "$build/link/libkm_link.a" \
    "$build/host/libkm_host_library.a" \
    $(pkg-config --libs Qt6Widgets)

# Address 33, 38400 Bd, counter mode 2, and a few bits in the DIO registers.
"$build/bin/km207-sim" --udp-port 0 --no-pty --exit-after 120 --address 33 --baud-index 6 \
    --mode 2 --reg 32=0x81 --reg 33=0x0f --reg 34=0xf0 --reg 38=0x55 \
    --reg 42=0x3c --reg 43=0xff >"$tmp/sim.out" 2>"$tmp/sim.err" &
simpid=$!
for _ in $(seq 100); do
    grep -q '^ready' "$tmp/sim.out" 2>/dev/null && break
    sleep 0.05
done
port=$(sed -n 's/^udp: .*:\([0-9][0-9]*\)$/\1/p' "$tmp/sim.out")
[ -n "$port" ] || { echo "config_screenshots: km207-sim did not start" >&2; cat "$tmp/sim.err" >&2; exit 2; }

for d in adr cnt dio; do
    xvfb-run -a -s "-screen 0 1024x768x24" "$tmp/config_shot" --dialog "$d" --port "$port" --address 33 \
        --drivers "$build/bin" --out "$out/config_$d.png"
    echo "$out/config_$d.png"
done
