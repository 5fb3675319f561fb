#!/usr/bin/env bash
# System calls per command through KL4100 to km207-sim, counted by strace:
# the client's (a run of N commands less a run of none) and the emulator's
# (traced while the N commands run).
#
#   bench/syscalls.sh [BUILD_DIR] [N]      # defaults: build 10000
set -euo pipefail
build="${1:-build}"
n="${2:-10000}"
bin="$build/bin"
for tool in strace; do
    command -v "$tool" >/dev/null || { echo "syscalls.sh: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
tmp="$(mktemp -d)"
sim_pid=""
tracer_pid=""
cleanup() {
    [[ -n "$tracer_pid" ]] && kill -INT "$tracer_pid" 2>/dev/null || true
    [[ -n "$sim_pid" ]] && kill -TERM "$sim_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

"$bin/km207-sim" --udp-port 0 --exit-after 600 >"$tmp/sim.out" &
sim_pid=$!
for _ in $(seq 100); do
    grep -q '^ready' "$tmp/sim.out" 2>/dev/null && break
    sleep 0.05
done
port="$(sed -n 's/^udp: .*:\([0-9]*\)$/\1/p' "$tmp/sim.out")"
[[ -n "$port" ]] || { echo "syscalls.sh: km207-sim did not start" >&2; exit 1; }

# Total system calls in an strace -c summary.
total() { awk '$NF == "total" { print $4 }' "$1"; }
# Calls of one system call in an strace -c summary (0 if absent).
calls() { awk -v s="$2" '$NF == s { c = $4 } END { print c + 0 }' "$1"; }

strace -f -c -o "$tmp/client0.txt" "$bin/bench_drivers" --exchanges=0 --udp-port="$port"
strace -f -c -p "$sim_pid" -o "$tmp/sim.txt" 2>/dev/null &
tracer_pid=$!
sleep 1 # attached before the commands start
strace -f -c -o "$tmp/clientN.txt" "$bin/bench_drivers" --exchanges="$n" --udp-port="$port"
kill -INT "$tracer_pid"
wait "$tracer_pid" 2>/dev/null || true
tracer_pid=""

per() { awk -v a="$1" -v b="${2:-0}" -v n="$n" 'BEGIN { printf "%.2f", (a - b) / n }'; }
echo "system calls per command, over $n commands (build: $build)"
printf '  client   %s' "$(per "$(total "$tmp/clientN.txt")" "$(total "$tmp/client0.txt")")"
for s in sendto send recvfrom recv recvmsg poll ppoll; do
    c="$(per "$(calls "$tmp/clientN.txt" "$s")" "$(calls "$tmp/client0.txt" "$s")")"
    [[ "$c" != "0.00" ]] && printf '   %s %s' "$s" "$c"
done
echo
printf '  emulator %s' "$(per "$(total "$tmp/sim.txt")")"
for s in sendto send recvfrom recv recvmsg poll ppoll read write; do
    c="$(per "$(calls "$tmp/sim.txt" "$s")")"
    [[ "$c" != "0.00" ]] && printf '   %s %s' "$s" "$c"
done
echo
