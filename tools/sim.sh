# shellcheck shell=bash
# Sourced by the screenshot scripts: a km207-sim for the pictures, stopped
# with the script. Sets $tmp (removed at exit) and, after start_sim, $simpid.
tmp=$(mktemp -d)
simpid=
cleanup() {
    [[ -n "$simpid" ]] && kill "$simpid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# start_sim SIM [OPTIONS...]: starts the emulator and waits for its "ready";
# its output is in $tmp/sim.out (udp: and pty: lines).
start_sim() {
    "$@" >"$tmp/sim.out" 2>"$tmp/sim.err" &
    simpid=$!
    for _ in $(seq 100); do
        grep -q '^ready' "$tmp/sim.out" 2>/dev/null && return 0
        sleep 0.05
    done
    echo "$(basename "$0"): km207-sim did not start" >&2
    cat "$tmp/sim.err" >&2
    exit 2
}
