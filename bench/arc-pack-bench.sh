#!/usr/bin/env bash
# bench/arc-pack-bench.sh [FILES] [TURNS]: makes a tree of FILES files (default 300, about
# 50 KB each: 15 MB) on the host, then runs the packing benchmark under Wine against the
# package's own 7z.exe in TURNS turns (default 3).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
files=${1:-300}
runs=${2:-3}
data=$root/build/bench-data/pack-$files
"$root/scripts/build.sh" qv_bench_arcpack copy_7z >/dev/null
if [ ! -d "$data/tree" ]; then
  mkdir -p "$data/tree.part"
  python3 - "$data/tree.part" "$files" <<'PY'
import os, random, sys
root, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(1)
words = [bytes(rng.choice(b"abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(2, 9))) for _ in range(4000)]
for i in range(count):
    folder = os.path.join(root, "d%03d" % (i // 100))
    os.makedirs(folder, exist_ok=True)
    # Half text that compresses, half bytes that do not: both coders get real work.
    text = b" ".join(rng.choice(words) for _ in range(4200))[:25000]
    with open(os.path.join(folder, "f%05d.txt" % i), "wb") as f:
        f.write(text + rng.randbytes(25000))
PY
  mv "$data/tree.part" "$data/tree"
fi
mkdir -p "$data/out"
# The console program loads 7z.dll from its own folder.
cp "$root/build/downloads/7z.exe" "$root/build/bin/7z.exe"
winpath() { echo "Z:$1" | tr / '\\'; }
"$root/scripts/wine-run.sh" "$root/build/bin/qv_bench_arcpack.exe" "$(winpath "$data/tree")" \
  "$(winpath "$data/out")" "$(winpath "$root/build/bin/7z.exe")" "$runs"
