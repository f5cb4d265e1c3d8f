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

"$bin/QuillonExt" "/dsip:localhost" "/dsport:$port" "$@"
