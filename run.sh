#!/usr/bin/env bash
# Installs what is missing, builds the program, starts the KM-207 emulator on
# loopback and opens the program; the emulator stops when the program ends.
set -euo pipefail
cd "$(dirname "$0")"
root="$(pwd)"

usage() {
    cat <<'TEXT'
Usage: ./run.sh [options]

Builds W_KM207 and its drivers (build/), starts km207-sim (a software KM-207
serving a pseudo-terminal and UDP on 127.0.0.1), points the serial drivers at
the emulator's pseudo-terminal and opens the program. With the default
settings, "Připojení" -> "Inicializace připojení" connects to the emulated
module (COM port 1, address 0, 9600 Bd). Closing the program stops the
emulator.

Options:
  --kind KIND       interface kind you intend to pick in the connection dialog:
                    com (default), isa, pci, usb or lan. The serial kinds all
                    reach the emulator's pseudo-terminal; for lan the script
                    prints the IP address and UDP port to type in.
  --address N       bus address of the emulated module (default 0)
  --udp-port N      emulator's UDP port on 127.0.0.1 (default: a free port)
  --device PATH     use a real serial device (e.g. /dev/ttyUSB0) for every
                    serial kind instead of the emulator; no emulator is started
  --vnc-port N      port of the VNC view when there is no display (default 5900)
  --build-dir DIR   build tree (default build)
  --no-install      do not install missing Debian packages
  --no-build        do not build, use what the build tree holds
  -h, --help        this text

Without a display ($DISPLAY and $WAYLAND_DISPLAY unset) the window is served
through Qt's VNC platform on 127.0.0.1 only; view it with any VNC viewer at
127.0.0.1 port 5900 (from another machine through an SSH tunnel:
ssh -L 5900:127.0.0.1:5900 HOST).

The settings file W_km207.ini is kept beside the program, in BUILD_DIR/bin.
TEXT
}

kind=com
address=0
udp_port=0
device=""
vnc_port=5900
build_dir=build
install=1
build=1
while (($#)); do
    case "$1" in
    --kind) kind="${2:?--kind needs a value}"; shift 2 ;;
    --address) address="${2:?--address needs a value}"; shift 2 ;;
    --udp-port) udp_port="${2:?--udp-port needs a value}"; shift 2 ;;
    --device) device="${2:?--device needs a path}"; shift 2 ;;
    --vnc-port) vnc_port="${2:?--vnc-port needs a value}"; shift 2 ;;
    --build-dir) build_dir="${2:?--build-dir needs a value}"; shift 2 ;;
    --no-install) install=0; shift ;;
    --no-build) build=0; shift ;;
    -h | --help) usage; exit 0 ;;
    *) echo "run.sh: unknown option $1 (see --help)" >&2; exit 2 ;;
    esac
done
case "$kind" in
com | isa | pci | usb | lan) ;;
*) echo "run.sh: --kind must be com, isa, pci, usb or lan" >&2; exit 2 ;;
esac
if [[ -n "$device" && "$kind" == lan ]]; then
    echo "run.sh: --device is for the serial kinds; the LAN kind needs no device" >&2
    exit 2
fi

if ((install)); then
    if [[ -x scripts/install-deps.sh ]]; then
        scripts/install-deps.sh
    else
        missing=()
        while read -r pkg; do
            [[ -z "$pkg" || "$pkg" == \#* ]] && continue
            dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
                missing+=("$pkg")
        done <scripts/packages.txt
        if ((${#missing[@]})); then
            sudo=""
            [[ $(id -u) -ne 0 ]] && sudo="sudo"
            $sudo apt-get update -qq
            DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
                "${missing[@]}"
        fi
    fi
fi

bin="$root/$build_dir/bin"
if ((build)); then
    if [[ ! -f "$build_dir/CMakeCache.txt" ]]; then
        cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    # The program pulls in its five drivers.
    cmake --build "$build_dir" -j"${JOBS:-$(nproc)}" --target W_KM207 km207-sim
fi
[[ -x "$bin/W_KM207" ]] || { echo "run.sh: $bin/W_KM207 is missing; build first" >&2; exit 1; }

sim_pid=""
sim_out=""
cleanup() {
    if [[ -n "$sim_pid" ]] && kill -0 "$sim_pid" 2>/dev/null; then
        kill -TERM "$sim_pid" 2>/dev/null || true
        for _ in $(seq 1 50); do
            kill -0 "$sim_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
        echo "Emulator stopped."
    fi
    [[ -n "$sim_out" ]] && rm -f "$sim_out"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [[ -n "$device" ]]; then
    serial="$device"
    echo "Serial kinds use $device (no emulator)."
else
    sim_out="$(mktemp)"
    "$bin/km207-sim" --udp-host 127.0.0.1 --udp-port "$udp_port" --address "$address" >"$sim_out" &
    sim_pid=$!
    for _ in $(seq 1 100); do
        grep -q '^ready' "$sim_out" && break
        kill -0 "$sim_pid" 2>/dev/null || { echo "run.sh: the emulator did not start" >&2; exit 1; }
        sleep 0.1
    done
    grep -q '^ready' "$sim_out" || { echo "run.sh: the emulator did not report ready" >&2; exit 1; }
    serial="$(sed -n 's/^pty: //p' "$sim_out")"
    udp="$(sed -n 's/^udp: //p' "$sim_out")"
    echo "Emulator (pid $sim_pid): module address $address, serial $serial, UDP $udp"
fi
# Each serial driver's device override; the default settings use COM port 1.
export KM207_COM1="$serial" KM207_KIB410="$serial" KM207_KPB4100="$serial" KM207_KUB4100="$serial"

case "$kind" in
com) echo "Connect: Připojení -> Standardní COMx, port 1, address $address -> Inicializace připojení" ;;
isa) echo "Connect: Připojení -> ISA karta KIB-410 (any base), address $address -> Inicializace připojení" ;;
pci) echo "Connect: Připojení -> PCI karta KPB-4100, address $address -> Inicializace připojení" ;;
usb) echo "Connect: Připojení -> USB konvertor KUB-4100, address $address -> Inicializace připojení" ;;
lan)
    echo "Connect: Připojení -> LAN konvertor KL-4100, IP adresa ${udp%:*}, UDP port ${udp##*:}," \
        "address $address -> Inicializace připojení"
    ;;
esac

program_env=()
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
    # Qt's VNC server listens on every interface; a preloaded bind() keeps it
    # on loopback.
    shim="$root/$build_dir/loopback_bind.so"
    if [[ ! -f "$shim" || tools/loopback_bind.c -nt "$shim" ]]; then
        cc -shared -fPIC -O2 -o "$shim" tools/loopback_bind.c -ldl || shim=""
    fi
    program_env+=(QT_QPA_PLATFORM="vnc:size=1024x768:port=$vnc_port")
    if [[ -n "$shim" ]]; then
        program_env+=(LD_PRELOAD="$shim" KM207_LOOPBACK_PORT="$vnc_port")
        echo "No display: the window is served by VNC on 127.0.0.1:$vnc_port."
    else
        echo "No display: the window is served by VNC on port $vnc_port (all interfaces)."
    fi
    echo "View it with a VNC viewer, e.g.: vncviewer 127.0.0.1::$vnc_port"
    echo "From another machine: ssh -L $vnc_port:127.0.0.1:$vnc_port ${HOSTNAME:-HOST} and view localhost::$vnc_port"
fi

echo "Starting $bin/W_KM207 (close its window to stop)."
status=0
env "${program_env[@]}" "$bin/W_KM207" || status=$?
exit "$status"
