#!/usr/bin/env bash
# Builds KVL520 and starts it against a simulated logger, so the program can be tried
# without hardware. On a fresh Debian 12 machine it first installs what is missing.
#
# The demo program folder is build/demo-home: loggersim names its pseudo-terminal there
# as COM7 (ComPorts.ini) and, when the folder has no devices yet, writes a Setting.dat
# with one device "Demo Logger" (LogID 01, COM7, 115200, None, 1, modem type "Direct").
# Select it and press Connect. The simulator stops when KVL520 exits. Arguments are
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

# The simulator reads its standard input from a pipe this script holds open: when the
# script ends, however it ends, the pipe closes and the simulator quits by itself.
out="$home/loggersim.out"
: > "$out"
exec 3> >(exec "$sim" --home "$home" --com 7 --seed-demo --log "$home/loggersim.log" \
                --stdin-quit > "$out" 2> "$home/loggersim.err")
sim_pid=$!
stop_sim() {
    exec 3>&- || true
    kill "$sim_pid" 2>/dev/null || true
}
trap stop_sim EXIT

# ComPorts.ini names the line before the simulator prints it.
for _ in $(seq 100); do
    grep -q '^pty: ' "$out" && break
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.1
done
if ! grep -q '^pty: ' "$out"; then
    echo "loggersim did not start:" >&2
    cat "$home/loggersim.err" >&2
    exit 1
fi
echo "Simulated logger on $(sed -n 's/^pty: //p' "$out") as COM7 (received lines: $home/loggersim.log)"

"$program" --home "$home" "$@"
