#!/bin/sh
# Makes the archives the listing benchmark reads: COUNT empty files (default 100000) in
# folders of 1000, packed by the host's zip and 7z into OUTDIR/list-bench.zip and .7z.
set -eu
count=${1:-100000}
out=$2
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
made=0
folder=0
while [ "$made" -lt "$count" ]; do
  n=$((count - made))
  [ "$n" -gt 1000 ] && n=1000
  dir=$(printf 'folder%03d' "$folder")
  mkdir "$tmp/$dir"
  (cd "$tmp/$dir" && seq -f 'file%05g.txt' 1 "$n" | xargs touch)
  made=$((made + n))
  folder=$((folder + 1))
done
rm -f "$out/list-bench.zip" "$out/list-bench.7z"
(cd "$tmp" && zip -qr -0 "$out/list-bench.zip" . && 7z a -bd -y -mx0 "$out/list-bench.7z" . >/dev/null)
