#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb, on a free display) under the
# openbox window manager, with Qt's xcb platform; the windows then get real
# frames, minimise and restore as an operator sees them.
#
#   tests/wm/with_wm.sh COMMAND [ARGS...]
set -euo pipefail

for tool in Xvfb openbox xprop; do
    command -v "$tool" >/dev/null || { echo "with_wm: $tool is not installed" >&2; exit 2; }
done

tmp=$(mktemp -d)
xvfb_pid=
wm_pid=
cleanup() {
    [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# The server picks a free display number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 200); do
    [[ -s "$tmp/display" ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
done
[[ -s "$tmp/display" ]] || { echo "with_wm: Xvfb did not start" >&2; cat "$tmp/xvfb.log" >&2; exit 2; }
export DISPLAY=":$(head -n1 "$tmp/display")"

# The display accepts clients once the root window can be read.
for _ in $(seq 200); do
    xprop -root >/dev/null 2>&1 && break
    sleep 0.05
done

# A manager announces itself on the root window once it runs; one that
# gave up at start is started again.
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
for _ in 1 2 3; do
    openbox --sm-disable >"$tmp/wm.log" 2>&1 &
    wm_pid=$!
    for _ in $(seq 200); do
        wm_running && break
        kill -0 "$wm_pid" 2>/dev/null || break
        sleep 0.05
    done
    wm_running && break
    kill "$wm_pid" 2>/dev/null || true
    wait "$wm_pid" 2>/dev/null || true
    wm_pid=
    sleep 0.2
done
wm_running || { echo "with_wm: openbox did not start" >&2; cat "$tmp/wm.log" >&2; exit 2; }

export QT_QPA_PLATFORM=xcb
"$@"
