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

# ---- Trend: Ctrl+T on the Continuous row just saved opens the trend window,
# which draws the row's line after a few ticks (checked in its PNG export).
start_program
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5
xdotool key ctrl+Home ctrl+t
trend=$(timeout 10 xdotool search --sync --onlyvisible --name 'Trend' | head -1)
[ -n "$trend" ] || { echo "Ctrl+T opened no trend window"; exit 1; }
echo "trend window: $(xdotool getwindowname "$trend")"
sleep 3
xdotool windowfocus --sync "$trend" 2>/dev/null || true
xdotool key alt+n
sleep 1
xdotool type --delay 10 "$work/trend.png"
xdotool key Return
for _ in $(seq 50); do [ -s "$work/trend.png" ] && break; sleep 0.1; done
[ -s "$work/trend.png" ] || { echo "the trend was not saved as PNG"; exit 1; }
# The first series' colour (#1f77b4) in enough pixels to be a line.
/usr/bin/python3 - "$work/trend.png" <<'PY' || { echo "the trend shows no line"; exit 1; }
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
pos, idat = 8, b''
while pos < len(data):
    length, kind = struct.unpack('>I4s', data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    if kind == b'IHDR':
        width, height, depth, colour = struct.unpack('>IIBB', body[:10])
    elif kind == b'IDAT':
        idat += body
    pos += 12 + length
assert depth == 8 and colour in (2, 6), (depth, colour)
bpp = 3 if colour == 2 else 4
raw, stride = zlib.decompress(idat), width * bpp
rows, prev, at = [], bytearray(stride), 0
for _ in range(height):
    kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
    at += 1 + stride
    for i in range(stride):
        left = line[i - bpp] if i >= bpp else 0
        up, corner = prev[i], prev[i - bpp] if i >= bpp else 0
        if kind == 1: line[i] = (line[i] + left) & 255
        elif kind == 2: line[i] = (line[i] + up) & 255
        elif kind == 3: line[i] = (line[i] + (left + up) // 2) & 255
        elif kind == 4:
            p = left + up - corner
            pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
            line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
    rows.append(line)
    prev = line
hits = sum(1 for line in rows for x in range(width) if tuple(line[x * bpp:x * bpp + 3]) == (0x1f, 0x77, 0xb4))
print("line pixels:", hits)
sys.exit(0 if hits > 100 else 1)
PY
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key Escape
wait_program_end
grep -qi '^\[Trend\]' "$(dirname "$list")/QuillonExt.ini" || { echo "the trend's placement was not kept"; exit 1; }
echo "trend smoke test passed"
