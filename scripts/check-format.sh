#!/usr/bin/env bash
# Fails, naming the files and lines, when a C++ file of the repository is not
# in the format .clang-format sets. With --fix, formats them in place.
set -euo pipefail
cd "$(dirname "$0")/.."
format=${CLANG_FORMAT:-clang-format-14}
mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
  "$format" -i "${files[@]}"
else
  "$format" --dry-run --Werror "${files[@]}"
fi
