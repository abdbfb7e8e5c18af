#!/usr/bin/env bash
# bench/arc-extract-bench.sh [FILES] [TURNS]: makes a tree of FILES small files (default
# 2000, about 8 KB each) in folders of 100 on the host, packs it with the host's 7z, then
# runs the extraction benchmark under Wine against the package's own 7z.exe in TURNS turns
# (default 5).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
files=${1:-2000}
runs=${2:-5}
data=$root/build/bench-data/extract-$files
"$root/scripts/build.sh" qv_bench_arcextract copy_7z >/dev/null
if [ ! -f "$data/tree.7z" ]; then
  rm -rf "$data" && mkdir -p "$data/tree"
  python3 - "$data/tree" "$files" <<'PY'
import os, random, sys
root, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(1)
for i in range(count):
    folder = os.path.join(root, "d%03d" % (i // 100))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "f%05d.txt" % i), "wb") as f:
        f.write(rng.randbytes(4096) + b"x" * 4096)
PY
  (cd "$data/tree" && 7z a -bd -y -mx1 ../tree.7z . >/dev/null)
  rm -rf "$data/tree"
fi
rm -rf "$data/out" && mkdir -p "$data/out"
cp "$root/build/downloads/7z.exe" "$root/build/bin/7z.exe"
winpath() { echo "Z:$1" | tr / '\\'; }
"$root/scripts/wine-run.sh" "$root/build/bin/qv_bench_arcextract.exe" "$(winpath "$data/tree.7z")" \
  "$(winpath "$data/out")" "$(winpath "$root/build/bin/7z.exe")" "$runs"
rm -rf "$data/out"
