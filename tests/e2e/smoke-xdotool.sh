#!/usr/bin/env bash
# The real program on a virtual X display against the real runtime: Always on
# Top toggled twice through the window's own menu leaves the window open and
# keeps the keyboard; a tag typed with xdotool is evaluated, and closing the
# window saves it as a Continuous row.
# Usage: smoke-xdotool.sh BIN_DIR   (run inside xvfb-run)
set -euo pipefail
bin=$1
# shellcheck source=scripts/runtime-session.sh
source "$(dirname "$0")/../../scripts/runtime-session.sh"

start_program
# Without a window manager nothing gives the window the keyboard by itself.
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5

# Alt+Space opens the window's menu, T chooses Always on Top.
for expected in 1 0; do
  xdotool key alt+space
  sleep 0.5
  xdotool key t
  sleep 0.5
  kill -0 "$program_pid" 2>/dev/null || { echo "the program ended on Always on Top"; exit 1; }
  xdotool search --onlyvisible --name '^Quillon: <LOCAL>$' >/dev/null \
    || { echo "the window is gone after Always on Top"; exit 1; }
  ini=$(find "$XDG_DATA_HOME" -name QuillonExt.ini | head -1)
  grep -q "^AlwaysOnTop=$expected" "$ini" 2>/dev/null \
    || { echo "AlwaysOnTop=$expected was not written"; exit 1; }
done
echo "Always on Top toggled twice, the window is still open"

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
