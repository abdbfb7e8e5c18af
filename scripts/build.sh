#!/usr/bin/env bash
# Configures (once) and builds everything, or the named targets, into $QV_BUILD_DIR
# (default: build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QV_BUILD_DIR:-$root/build}
# An older build folder configured otherwise is configured again.
if [ ! -f "$build/build.ninja" ] || ! grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$build/CMakeCache.txt"; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
fi
if [ $# -gt 0 ]; then
  cmake --build "$build" --target "$@"
else
  cmake --build "$build"
fi
