# Sourced by scripts that run the real program against a real runtime: a
# scratch home and data folder, the demo runtime on a free port, and clean-up
# of both processes and the folder on exit. Needs $bin (the build's bin folder).
# Sets: work, port, server_pid; the caller sets program_pid when it starts one.
work=$(mktemp -d)
server_pid=""
program_pid=""
# A process that already ended must not stop the clean-up under set -e.
cleanup() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_DATA_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

"$bin/VantelRuntime" --port 0 >"$work/server.out" &
server_pid=$!
for _ in $(seq 100); do
  grep -q listening "$work/server.out" 2>/dev/null && break
  sleep 0.1
done
port=$(sed -n 's/.*listening on .*:\([0-9]*\)$/\1/p' "$work/server.out")
[ -n "$port" ] || { echo "the runtime did not start"; exit 1; }

# Starts the program against the runtime and waits for its connected window.
# Sets: program_pid, window.
start_program() {
  "$bin/QuillonExt" /dsip:localhost "/dsport:$port" &
  program_pid=$!
  window=$(timeout 30 xdotool search --sync --name '^Quillon: <LOCAL>$' | head -1)
  [ -n "$window" ] || { echo "no window"; exit 1; }
}

# Waits, at most 30 s, for the program to end after it was asked to close.
wait_program_end() {
  for _ in $(seq 300); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$program_pid" 2>/dev/null; then echo "the window did not close"; exit 1; fi
  wait "$program_pid" || true
  program_pid=""
}
