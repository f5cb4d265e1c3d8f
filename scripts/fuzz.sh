#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) in their own folder, FUZZ_BUILD_DIR (default
# build-fuzz/), and runs each for FUZZ_SECONDS (default 30: all of them in a
# few minutes) from its seed corpus in fuzz/<target>/corpus/. New inputs go
# to the build folder, never into the repository. Fails on the first
# finding; its input lands in FUZZ_BUILD_DIR/findings/. What each target
# feeds and checks: docs/reliability.md.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-30}
cc=${FUZZ_CC:-clang-14}
cxx=${FUZZ_CXX:-clang++-14}

targets=(requests replies scram expressions ini watchlist cmdline paste)

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}
export QT_QPA_PLATFORM=offscreen
mkdir -p "$build/findings"
for target in "${targets[@]}"; do
  work="$build/corpus/$target"
  mkdir -p "$work"
  echo "== fuzz_$target for ${seconds}s"
  "$build/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/findings/$target-" "$work" "$root/fuzz/$target/corpus"
done
