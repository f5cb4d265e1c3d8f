#!/usr/bin/env bash
# Configures and builds into BUILD_DIR (default build/). QUILLON_SANITIZE=1 builds
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
sanitize=${QUILLON_SANITIZE:-0}
[ "$sanitize" = 1 ] && sanitize=ON || sanitize=OFF
# Warnings as errors only when asked; unset keeps the folder's setting, so that
# ./run.sh after CI-style tests does not rebuild everything.
werror=()
[ -n "${QUILLON_WERROR:-}" ] && werror=(-DQUILLON_WERROR="$QUILLON_WERROR")
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
  -DQUILLON_SANITIZE=$sanitize "${werror[@]}" ${CMAKE_EXTRA_ARGS:-} >/dev/null
cmake --build "$build" -j "$(nproc)"
