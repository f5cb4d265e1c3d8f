#!/usr/bin/env bash
# The soak run: the real program with 1,000 Continuous rows against the demo
# runtime on a virtual display for SOAK_SECONDS (default 600). The program's
# resident memory, open file descriptors and threads are read every minute;
# at the end each must be within 5% of its reading after the first minute,
# the window must still be connected, and closing it must save all 1,000 rows.
# Not part of the test command: it takes ten minutes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${SOAK_SECONDS:-600}
rows=1000

if [ -z "${SOAK_INSIDE_XVFB:-}" ]; then
  "$root/scripts/build.sh" >/dev/null
  exec env SOAK_INSIDE_XVFB=1 xvfb-run -a "$0" "$@"
fi
bin=${BUILD_DIR:-$root/build}/bin
# shellcheck source=scripts/runtime-session.sh
source "$root/scripts/runtime-session.sh"

# Every tag of the demo plant, then expressions over them, until 1,000 rows.
tags=(Plant.Tank1.Level Plant.Tank1.Temperature Plant.Tank1.Setpoint Plant.Tank1.Inlet.Valve
  Plant.Tank2.Level Plant.Tank2.Temperature Plant.Tank2.Product Plant.Pump1.Running Plant.Pump1.Speed
  Plant.Pump1.Hours Plant.Pump1.Current Plant.Pump2.Speed Plant.Pump2.Pressure Plant.Mixer.Mode
  Plant.Mixer.BatchCount Plant.Line.Heartbeat Plant.Line.Counter Plant.Line.Speed Plant.Line.Name
  Plant.Diagnostics.Drift)
list=$XDG_DATA_HOME/DBRemoteQuillon.dat
for ((i = 0; i < rows; i++)); do
  tag=${tags[i % ${#tags[@]}]}
  if ((i < ${#tags[@]})); then printf '%s|1\r\n' "$tag"; else printf '%s + %d|1\r\n' "$tag" "$i"; fi
done >"$list"

start_program

reading() { # rss_kB fds threads
  local rss threads fds
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$program_pid/status")
  threads=$(awk '/^Threads:/ {print $2}' "/proc/$program_pid/status")
  fds=$(find "/proc/$program_pid/fd" -mindepth 1 -maxdepth 1 | wc -l)
  echo "$rss $fds $threads"
}

echo "| minute | resident kB | file descriptors | threads |"
echo "|---:|---:|---:|---:|"
start=$SECONDS
first=""
minute=0
while ((SECONDS - start < seconds)); do
  sleep $((seconds - (SECONDS - start) < 60 ? seconds - (SECONDS - start) : 60))
  kill -0 "$program_pid" 2>/dev/null || { echo "the program ended during the soak"; exit 1; }
  minute=$((minute + 1))
  now=$(reading)
  [ -n "$first" ] || first=$now
  read -r rss fds threads <<<"$now"
  echo "| $minute | $rss | $fds | $threads |"
done

read -r rss0 fds0 threads0 <<<"$first"
read -r rss fds threads <<<"$(reading)"
failed=0
within() { # name first last
  if (($3 * 100 > $2 * 105)); then
    echo "$1 grew from $2 to $3 (more than 5%)"
    failed=1
  fi
}
within "resident memory (kB)" "$rss0" "$rss"
within "file descriptors" "$fds0" "$fds"
within "threads" "$threads0" "$threads"
xdotool search --name '^Quillon: <LOCAL>$' >/dev/null || { echo "the window is no longer connected"; failed=1; }

xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --window "$window" Escape
wait_program_end
saved=$(grep -c '|1'$'\r''$' "$list" || true)
[ "$saved" -eq "$rows" ] || { echo "the saved list holds $saved Continuous rows, not $rows"; failed=1; }

if ((failed)); then echo "soak failed"; exit 1; fi
echo "soak passed: $rows Continuous rows for $seconds s; memory, descriptors and threads within 5%"
