#!/usr/bin/env bash
# Fails when a C or C++ source differs from what clang-format makes of it (the
# repository's .clang-format). Run clang-format -i on the files it names.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if ! command -v clang-format >/dev/null 2>&1; then
  echo "check-format: clang-format is missing (scripts/setup.sh installs it)" >&2
  exit 1
fi
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' '*.c' | grep -v '^build/')
clang-format --dry-run -Werror "${files[@]}"
echo "check-format: ${#files[@]} files as clang-format leaves them"
