#!/usr/bin/env bash
# Builds the benchmark (optimised, into BUILD_DIR, default build-bench/) and
# prints its one table: the program's operations at 100,000 rows, the refresh
# tick and the memory of a watch row, each beside a peer or a limit measured in
# the same run. Run it on a quiet machine: other work on it shows in the figures.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-bench}
# The build's output shows only when it fails, so that the table stands alone.
quiet() {
  local log
  if ! log=$("$@" 2>&1); then
    printf '%s\n' "$log" >&2
    exit 1
  fi
}
quiet cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_BENCH=ON
quiet cmake --build "$build" -j "$(nproc)" --target bench_quillon
# A private runtime folder keeps Qt from warning into the table when none is set.
runtime_dir=$(mktemp -d)
trap 'rm -rf "$runtime_dir"' EXIT
XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$runtime_dir} QT_QPA_PLATFORM=offscreen "$build/bin/bench_quillon" "$@"
