#!/usr/bin/env bash
# Fails when a source file includes a header of a library above its own, as listed
# in layers.txt. Tests and benchmarks may include anything and are not checked.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

files=$(git ls-files -co --exclude-standard -- '*.cpp' '*.h' '*.c' '*.rc' 2>/dev/null || true)
[ -n "$files" ] || files=$(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' -o -name '*.c' -o -name '*.rc' \) -print | sed 's|^\./||')

printf '%s\n' "$files" | awk -v layers="$root/layers.txt" '
BEGIN {
  n = 0
  while ((getline line < layers) > 0) {
    sub(/#.*/, "", line); gsub(/^[ \t]+|[ \t]+$/, "", line)
    if (line == "") continue
    split(line, w, /[ \t]+/)
    if (w[1] == "any") { kind[w[2]] = "any"; folder[++n] = w[2]; continue }
    if (w[1] == "alone") { kind[w[2]] = "alone"; folder[++n] = w[2]; continue }
    rank[line] = ++r; kind[line] = "layer"; folder[++n] = line
  }
  bad = 0
}
# The listed folder that holds `path`: the longest listed prefix.
function owner(path,   i, best) {
  best = ""
  for (i = 1; i <= n; i++)
    if (index(path, folder[i] "/") == 1 && length(folder[i]) > length(best)) best = folder[i]
  return best
}
{
  file = $0
  from = owner(file)
  if (from == "" || kind[from] == "any") next
  lineno = 0
  while ((getline text < file) > 0) {
    lineno++
    if (text !~ /^[ \t]*#[ \t]*include[ \t]*"/) continue
    inc = text; sub(/^[ \t]*#[ \t]*include[ \t]*"/, "", inc); sub(/".*/, "", inc)
    to = owner(inc)
    # A name without a listed folder is one beside the including file.
    if (to == "" || to == from || kind[to] == "any") continue
    if (kind[from] == "alone" || kind[to] == "alone" || rank[to] > rank[from]) {
      printf "%s:%d: %s (%s) includes %s (%s), which is not below it\n", file, lineno, file, from, inc, to
      bad = 1
    }
  }
  close(file)
}
END {
  if (bad) { print "check-layers: upward includes found; see layers.txt" > "/dev/stderr"; exit 1 }
}'
echo "check-layers: every include goes downward"
