#!/usr/bin/env bash
# A picture of the line overview "Přehled linky" with a flagged line, under
# Xvfb, over COM1 to km207-sim's pseudo-terminal with six modules at two
# rates (1-3 at 9600 Bd, 4-6 at 38400 Bd): module 3 starts with ERR24 set;
# after "Potvrdit stav" module 5 is power-cycled (SIGUSR1) and module 2
# switched off (SIGUSR2); the line file compared with leaves out module 6
# and expects another firmware at module 4.
#   line-overview.png   the overview once the poll has flagged them
#
# Usage: tools/line_screenshots.sh [BUILD_DIR [OUT_DIR]]   (defaults: build, shots)
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
out=$(mkdir -p "${2:-shots}" && cd "${2:-shots}" && pwd)
# shellcheck source=tools/sim.sh
source "$src/tools/sim.sh"

cmake --build "$build" --target line_shot km207-sim KSER410
start_sim "$build/bin/km207-sim" --no-udp --strict-baud --module 1 --module 2 --module 3 \
    --module 4:6 --module 5:6 --module 6:6 --status-bits 3=0x74 --usr1-modules 5 \
    --usr2-modules 2 --counter-rate 7 --exit-after 300
KM207_COM1=$(sed -n 's/^pty: //p' "$tmp/sim.out")
export KM207_COM1
# The main window keeps its settings in the temporary folder.
export XDG_CONFIG_HOME="$tmp"

(cd "$tmp" && xvfb-run -a -s "-screen 0 1400x900x24" "$build/bin/line_shot" \
    --drivers "$build/bin" --out "$out" --file "$tmp/linka.km207linka" --sim "$simpid")
ls -l "$out"/line-overview.png
