#!/usr/bin/env bash
# Takes the pictures of docs/images/ from an existing build (it builds nothing):
# the demo runtime on a free port, Quillon on a virtual X display with a
# prepared watch list, then the main window, its context menu, its window menu,
# the trend window, the German window and the credential dialog.
#
#   BUILD_DIR  build to use (default build/); its bin/ must hold QuillonExt and VantelRuntime
#   OUT_DIR    where the pictures go (default docs/images/)
#
# Needs xvfb-run (xvfb, xauth), xdotool, and ImageMagick's import (or xwd and
# convert). Every program it starts runs with a temporary HOME, so the user's own
# watch list and settings are never read or changed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

fail() { echo "screenshots.sh: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null || fail "$1 is missing (Debian package $2)"; }

build=${BUILD_DIR:-$root/build}
[ -d "$build" ] || fail "no build directory $build (set BUILD_DIR)"
bin=$(cd "$build" && pwd)/bin
for program in QuillonExt VantelRuntime; do
  [ -x "$bin/$program" ] || fail "$bin/$program is missing: build first (scripts/build.sh)"
done
out=${OUT_DIR:-$root/docs/images}
mkdir -p "$out"
out=$(cd "$out" && pwd)

need xdotool xdotool
if command -v import >/dev/null; then
  capture=import
elif command -v xwd >/dev/null && command -v convert >/dev/null; then
  capture=xwd
else
  fail "no screen capture: install imagemagick"
fi

# Always a display of our own, so the pictures do not depend on the desktop.
if [ -z "${QUILLON_SHOTS_DISPLAY:-}" ]; then
  need xvfb-run xvfb
  need xauth xauth
  export QUILLON_SHOTS_DISPLAY=1 BUILD_DIR=$build OUT_DIR=$out
  exec xvfb-run -a -s "-screen 0 1024x768x24 -wr" "$0" "$@"
fi

work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A fresh user: nothing of the real one is read or written.
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS LC_ALL LC_MESSAGES

# Value of KEY in [SECTION] of an INI file, or DEFAULT; sections and keys ignore case.
ini_value() {
  local file=$1 section=$2 key=$3 default=$4
  [ -f "$file" ] || { echo "$default"; return; }
  awk -v s="$section" -v k="$key" -v d="$default" '
    { sub(/\r$/, "") }
    /^[ \t]*\[/ { name = $0; gsub(/^[ \t]*\[|\][ \t]*$/, "", name); in_s = tolower(name) == tolower(s); next }
    in_s && index($0, "=") { name = substr($0, 1, index($0, "=") - 1); gsub(/^[ \t]+|[ \t]+$/, "", name)
      if (tolower(name) == tolower(k)) { v = substr($0, index($0, "=") + 1); gsub(/^[ \t]+|[ \t]+$/, "", v); found = 1 } }
    END { print (found && v != "" ? v : d) }' "$file"
}

# The data folder as the program finds it: a product folder inside it only when
# the program folder holds a Program Settings.ini.
data=$XDG_DATA_HOME
settings="$bin/Program Settings.ini"
if [ -f "$settings" ]; then
  product=$(ini_value "$settings" OEM ProductName Vantel)
  if [ "$(ini_value "$settings" OEM CompanyID 0)" = 40 ]; then
    data="$data/$product"
  else
    data="$data/$product v$(ini_value "$settings" Install Version 6.1)"
  fi
fi
mkdir -p "$data"

prepare_user_files() {
  # The watch list: Text|Flag, CR LF, one byte a character.
  printf '%s\r\n' \
    'Plant.Tank1.Level|1' \
    'Plant.Tank1.Temperature|1' \
    'Plant.Tank1.Setpoint|1' \
    'Plant.Pump1.Running|1' \
    'Plant.Pump1.Speed|1' \
    'Plant.Tank2.Product|1' \
    'Plant.Line.Heartbeat|1' \
    'Plant.Diagnostics.Drift|1' \
    'Plant.Diagnostics.SensorFault|1' \
    'Plant.Tank1.Level > 50 AND Plant.Pump1.Running|1' \
    'ROUND(Plant.Tank2.Level, 1) & " %"|0' >"$data/DBRemoteQuillon.dat"
  # Columns wide enough for the texts, and a fixed place for the window.
  printf '%s\r\n' '[Quillon]' 'Col1=290' 'Col2=100' 'Col3=90' 'Col4=80' \
    '(check)=32639' 'Left=24' 'Top=24' 'Right=664' 'Bottom=404' 'State=1' >"$data/QuillonExt.ini"
}

# start_runtime LOG [OPTIONS...]: a runtime on a free port; sets runtime_port.
start_runtime() {
  local log=$1
  shift
  "$bin/VantelRuntime" --port 0 "$@" >"$log" &
  pids+=($!)
  for _ in $(seq 100); do
    grep -q listening "$log" 2>/dev/null && break
    sleep 0.1
  done
  runtime_port=$(sed -n 's/.*listening on .*:\([0-9]*\)$/\1/p' "$log")
  [ -n "$runtime_port" ] || fail "VantelRuntime did not start: $(cat "$log")"
}

# start_program LANG TITLE [SWITCHES...]: Quillon against the runtime; sets
# program_pid and window once a window whose name starts with TITLE shows.
start_program() {
  local lang=$1 title=$2
  shift 2
  LANG=$lang "$bin/QuillonExt" /dsip:localhost "/dsport:$runtime_port" "$@" >>"$work/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "^$title" | head -1) || true
  [ -n "$window" ] || fail "no window named '$title' appeared: $(cat "$work/program.log")"
  # Without a window manager nothing gives the window the keyboard by itself.
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  sleep 0.5
}

stop_program() {
  kill "$program_pid" 2>/dev/null || true
  wait "$program_pid" 2>/dev/null || true
}

# shot NAME: the program's visible windows (menus included), cropped together.
shot() {
  local left=100000 top=100000 right=0 bottom=0 id key value x y width height
  sleep 0.6
  kill -0 "$program_pid" 2>/dev/null || fail "Quillon ended before $1 was taken: $(cat "$work/program.log")"
  for id in $(xdotool search --onlyvisible --pid "$program_pid"); do
    x=0 y=0 width=0 height=0
    while IFS='=' read -r key value; do
      case $key in
        X) x=$value ;;
        Y) y=$value ;;
        WIDTH) width=$value ;;
        HEIGHT) height=$value ;;
      esac
    done < <(xdotool getwindowgeometry --shell "$id")
    # Qt's helper windows are 1 or 3 pixels and never mapped; skip any tiny one.
    if ((width > 3 && height > 3)); then
      ((x < left)) && left=$x
      ((y < top)) && top=$y
      ((x + width > right)) && right=$((x + width))
      ((y + height > bottom)) && bottom=$((y + height))
    fi
  done
  ((right > left)) || fail "nothing to photograph for $1"
  local crop="$((right - left))x$((bottom - top))+$left+$top"
  if [ "$capture" = import ]; then
    import -window root -crop "$crop" +repage "$out/$1"
  else
    xwd -root -silent | convert xwd:- -crop "$crop" +repage "$out/$1"
  fi
  echo "wrote $out/$1"
}

# shot_window NAME WINDOW: one window alone.
shot_window() {
  sleep 0.6
  if [ "$capture" = import ]; then
    import -window "$2" "$out/$1"
  else
    xwd -silent -id "$2" | convert xwd:- "$out/$1"
  fi
  echo "wrote $out/$1"
}

prepare_user_files
start_runtime "$work/runtime.log"

# The main window with the prepared list, and one expression typed into the entry row.
start_program C.UTF-8 'Quillon: <'
xdotool key ctrl+End Home
xdotool type --delay 30 'Plant.Tank1.Level + Plant.Tank2.Level'
xdotool key Return
sleep 1.5
shot main-window.png

# The context menu of the Plant.Pump1.Running row, opened with the right button on its Value cell.
xdotool mousemove --window "$window" 340 92 click 3
shot context-menu.png
xdotool key Escape

# The window menu of Alt+Space.
xdotool key alt+space
shot window-menu.png
xdotool key Escape
stop_program

# The trend of a watch list of its own (Ctrl+T with one cell selected shows
# every Continuous row), after thirty seconds of ticks.
prepare_user_files
printf '%s\r\n' 'Plant.Tank1.Level|1' 'Plant.Tank2.Level|1' 'Plant.Tank1.Temperature|1' \
  'Plant.Mixer.Running * 10|1' >"$data/DBRemoteQuillon.dat"
printf '%s\r\n' '[Trend]' 'Left=40' 'Top=40' 'Width=760' 'Height=440' >>"$data/QuillonExt.ini"
start_program C.UTF-8 'Quillon: <'
xdotool key ctrl+Home ctrl+t
trend=$(timeout 10 xdotool search --sync --onlyvisible --name 'Trend' | head -1) || true
[ -n "$trend" ] || fail "Ctrl+T opened no trend window"
sleep 30
shot_window trend.png "$trend"
stop_program

# The same window in German.
prepare_user_files
start_program de_DE.UTF-8 'Quillon: <'
sleep 1.5
shot main-window-de.png
stop_program

# The credential dialog of a runtime that requires a login.
hash=$(printf %s 'demo-password' | "$bin/VantelRuntime" --hash-password --iterations 1000)
printf '%s\n' 'group operators read,write' "user operator operators $hash" >"$work/users.txt"
start_runtime "$work/runtime-users.log" --users "$work/users.txt"
start_program C.UTF-8 'Check Credential'
xdotool key alt+u
xdotool type --delay 30 'operator'
xdotool key alt+p
xdotool type --delay 30 'demo-password'
shot credential-dialog.png
stop_program
