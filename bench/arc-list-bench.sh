#!/usr/bin/env bash
# bench/arc-list-bench.sh [COUNT] [TURNS]: makes the listing archives (COUNT entries, default
# 20000) on the host, then runs the listing benchmark under Wine against the package's own
# 7z.exe in TURNS turns (default 5).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-20000}
runs=${2:-5}
data=$root/build/bench-data/list-$count
"$root/scripts/build.sh" qv_bench_arclist copy_7z >/dev/null
if [ ! -f "$data/list-bench.7z" ]; then
  "$root/bench/make-list-archives.sh" "$count" "$data"
fi
# The console program loads 7z.dll from its own folder.
cp "$root/build/downloads/7z.exe" "$root/build/bin/7z.exe"
winpath() { echo "Z:$1" | tr / '\\'; }
"$root/scripts/wine-run.sh" "$root/build/bin/qv_bench_arclist.exe" "$(winpath "$data")" \
  "$(winpath "$root/build/bin/7z.exe")" "$runs"
