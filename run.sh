#!/usr/bin/env bash
# Installs what is missing, builds, starts the demo runtime and runs Quillon
# against it; the runtime stops when the window closes. Extra arguments go to
# QuillonExt (for example /username:NAME).
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
bin=${BUILD_DIR:-$root/build}/bin
port=${QUILLON_PORT:-1234}

server_pid=""
cleanup() { [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null; true; }
trap cleanup EXIT

if [ -x "$bin/VantelRuntime" ]; then
  fifo=$(mktemp -u); mkfifo "$fifo"
  "$bin/VantelRuntime" --port "$port" >"$fifo" &
  server_pid=$!
  # Wait for the server's one line that says it is ready.
  read -r -t 10 ready <"$fifo" || { echo "VantelRuntime did not start" >&2; rm -f "$fifo"; exit 1; }
  rm -f "$fifo"
  echo "$ready"
fi

# A first run shows a few live tags of the demo plant; an existing list is
# never touched.
data=${XDG_DATA_HOME:-$HOME/.local/share}
if [ -n "$server_pid" ] && [ ! -e "$bin/Program Settings.ini" ] && [ ! -e "$data/DBRemoteQuillon.dat" ]; then
  mkdir -p "$data"
  printf '%s|1\r\n' Plant.Tank1.Level Plant.Tank1.Temperature Plant.Pump1.Running Plant.Pump1.Speed \
    Plant.Tank2.Product >"$data/DBRemoteQuillon.dat"
fi

"$bin/QuillonExt" "/dsip:localhost" "/dsport:$port" "$@"
