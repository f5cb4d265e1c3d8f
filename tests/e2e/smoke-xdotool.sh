#!/usr/bin/env bash
# The real program on a virtual X display against the real runtime: a tag typed
# with xdotool is evaluated, and closing the window saves it as a Continuous row.
# Usage: smoke-xdotool.sh BIN_DIR   (run inside xvfb-run)
set -euo pipefail
bin=$1
# shellcheck source=scripts/runtime-session.sh
source "$(dirname "$0")/../../scripts/runtime-session.sh"

start_program
# Without a window manager nothing gives the window the keyboard by itself.
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5
xdotool type --delay 20 "Plant.Tank1.Level"
xdotool key Return
sleep 1
xdotool key Escape
wait_program_end

list=$(find "$work" "$bin" -name DBRemoteQuillon.dat -newer "$work/server.out" | head -1)
[ -n "$list" ] || { echo "no DBRemoteQuillon.dat was written"; exit 1; }
echo "saved list: $list"; cat -A "$list"
grep -q $'^Plant.Tank1.Level|1\r$' "$list" || { echo "the typed tag is not saved as a Continuous row"; exit 1; }
echo "smoke test passed"
