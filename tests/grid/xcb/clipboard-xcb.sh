#!/usr/bin/env bash
# Run under xvfb-run: the probe copies grid cells to the X11 clipboard, xclip
# reads them; xclip puts text there, the probe pastes it into a grid.
set -euo pipefail
probe=$1
export QT_QPA_PLATFORM=xcb

fail() { echo "FAIL: $*" >&2; exit 1; }

coproc PROBE { "$probe"; }
read -r -t 30 line <&"${PROBE[0]}" || fail "probe did not start"
[ "$line" = copied ] || fail "probe said '$line'"

# Hidden column 2 leaves no field; tab between fields, CR LF between rows.
expected=$(printf '11\t13\r\n21\t23' | od -An -tx1)
actual=$(timeout 10 xclip -o -selection clipboard | od -An -tx1)
[ "$actual" = "$expected" ] || fail "clipboard held:$actual"

printf ' a \tb\r\nc\td\r\nbeyond\r\n' | xclip -i -selection clipboard
# Until xclip answers for the clipboard, the probe may still hold it.
for _ in $(seq 50); do
  [ "$(timeout 5 xclip -o -selection clipboard | head -c 3)" = " a " ] && break
  sleep 0.1
done
echo paste >&"${PROBE[1]}"
cells=()
while read -r -t 30 line <&"${PROBE[0]}"; do
  [ "$line" = done ] && break
  cells+=("$line")
done
echo quit >&"${PROBE[1]}"
wait "$PROBE_PID" || true

want=("1,1=a" "1,2=12" "1,3=b" "2,1=c" "2,2=22" "2,3=d")
[ "${cells[*]:-}" = "${want[*]}" ] || fail "pasted cells: ${cells[*]:-none}"
echo "clipboard shared with xclip both ways"
