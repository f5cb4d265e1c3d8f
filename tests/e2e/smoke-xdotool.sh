#!/usr/bin/env bash
# The real program on a virtual X display against the real runtime: a tag typed
# with xdotool is evaluated, and closing the window saves it as a Continuous row.
# Usage: smoke-xdotool.sh BIN_DIR   (run inside xvfb-run)
set -euo pipefail
bin=$1
work=$(mktemp -d)
server_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work/home XDG_DATA_HOME=$work/data
mkdir -p "$HOME" "$XDG_DATA_HOME"
unset QT_QPA_PLATFORM

"$bin/VantelRuntime" --port 0 >"$work/server.out" &
server_pid=$!
for _ in $(seq 100); do
  grep -q listening "$work/server.out" 2>/dev/null && break
  sleep 0.1
done
port=$(sed -n 's/.*listening on .*:\([0-9]*\)$/\1/p' "$work/server.out")
[ -n "$port" ] || { echo "the runtime did not start"; exit 1; }

"$bin/QuillonExt" /dsip:localhost "/dsport:$port" &
program_pid=$!
window=$(timeout 20 xdotool search --sync --name '^Quillon: <LOCAL>$' | head -1)
[ -n "$window" ] || { echo "no window"; exit 1; }
# Without a window manager nothing gives the window the keyboard by itself.
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5
xdotool type --delay 20 "Plant.Tank1.Level"
xdotool key Return
sleep 1
xdotool key Escape
for _ in $(seq 100); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$program_pid" 2>/dev/null; then echo "the window did not close"; exit 1; fi
wait "$program_pid" || true
program_pid=""

list=$(find "$work" "$bin" -name DBRemoteQuillon.dat -newer "$work/server.out" | head -1)
[ -n "$list" ] || { echo "no DBRemoteQuillon.dat was written"; exit 1; }
echo "saved list: $list"; cat -A "$list"
grep -q $'^Plant.Tank1.Level|1\r$' "$list" || { echo "the typed tag is not saved as a Continuous row"; exit 1; }
echo "smoke test passed"
