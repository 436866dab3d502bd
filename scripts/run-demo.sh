#!/usr/bin/env bash
# Builds KVL520 and starts it against two simulated loggers, so the program can be tried
# without hardware. On a fresh Debian 12 machine it first installs what is missing.
#
# The demo program folder is build/demo-home. Two loggersim processes name their
# pseudo-terminals there (ComPorts.ini) and add their devices to Setting.dat when it has
# none of that name:
#   COM7  "Demo Logger"        a logger on a cable: LogID 01, 115200 baud, modem type "Direct"
#   COM8  "Demo Modem Logger"  a logger behind an AT modem: LogID 01, 9600 baud, modem type
#                              "H315k" (AT+CRM=129, dial ATDT 01012345678, hang-up +++)
# Select one and press Connect. The simulators stop when KVL520 exits. Arguments are
# passed on to KVL520.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=scripts/deps.sh
. "$root/scripts/deps.sh"

kvl_install_deps
build="$root/build"
kvl_build "$root" "$build"

program="$build/src/KVL520"
sim="$build/tools/loggersim"
home="$build/demo-home"
if [ ! -x "$program" ]; then
    echo "The build made no $program." >&2
    exit 1
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display: run this in a desktop session (or set QT_QPA_PLATFORM)." >&2
    exit 1
fi
mkdir -p "$home"

# The modem takes a moment to dial, as a real one does, so the connect can be watched.
cat > "$home/modem-scenario.txt" <<'SCENARIO'
# loggersim scenario of the demo's modem logger on COM8
modem=at
dial_delay_ms=2000
SCENARIO

# Each simulator reads its standard input from a pipe this script holds open: when the
# script ends, however it ends, the pipes close and the simulators quit by themselves.
sim_fds=()
sim_pids=()
stop_sims() {
    local fd pid
    for fd in "${sim_fds[@]}"; do
        exec {fd}>&- || true
    done
    for pid in "${sim_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
}
trap stop_sims EXIT

# start_sim NAME COM [SCENARIO]: starts one simulator on COM<COM>, its files named NAME.*
# in the demo folder, and waits until ComPorts.ini names its line. One at a time, so
# that each adds its device to Setting.dat after the other.
start_sim() {
    local name=$1 com=$2 scenario=${3:-} fd pid
    local out="$home/$name.out"
    local args=(--home "$home" --com "$com" --seed-demo --log "$home/$name.log" --stdin-quit)
    if [ -n "$scenario" ]; then
        args+=(--scenario "$scenario")
    fi
    : > "$out"
    exec {fd}> >(exec "$sim" "${args[@]}" > "$out" 2> "$home/$name.err")
    pid=$!
    sim_fds+=("$fd")
    sim_pids+=("$pid")
    for _ in $(seq 100); do
        grep -q '^pty: ' "$out" && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if ! grep -q '^pty: ' "$out"; then
        echo "loggersim ($name) did not start:" >&2
        cat "$home/$name.err" >&2
        exit 1
    fi
    echo "Simulated $name on $(sed -n 's/^pty: //p' "$out") as COM$com (received lines: $home/$name.log)"
}

start_sim loggersim 7
start_sim loggersim-modem 8 "$home/modem-scenario.txt"

"$program" --home "$home" "$@"
