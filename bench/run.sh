#!/usr/bin/env bash
# bench/run.sh [--full]: builds and runs every benchmark (`make bench`), then prints one
# table of every ratio against its goal. The default sizes keep the whole run within
# ten minutes; --full (`make bench-full`) runs the sizes the goals were set at.
# bench/README.md lists both.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
full=0
[ "${1:-}" = --full ] && full=1
started=$(date +%s)

"$root/scripts/setup.sh" || exit 1
"$root/scripts/build.sh" qv_bench_sort qv_bench_readdir qv_bench_find qv_bench_copy qv_bench_viewerload \
  qv_bench_detect qv_bench_binary qv_bench_preview qv_bench_arclist qv_bench_arcpack qv_bench_arcextract \
  copy_7z >/dev/null || exit 1

results=$root/build/bench-results.tsv
: >"$results"
export QV_BENCH_RESULTS="Z:${results//\//\\}"

#                 name         quick size(s)      full size(s)
benches=(
  "sort        100000           100000"
  "readdir     20000            100000"
  "find        1024             1024"
  "copy        256,5000         1024,20000"
  "viewerload  256              1024"
  "detect      300              1000"
  "binary      256              1024"
  "preview     60               300"
  "arc-list    20000            100000"
  "arc-pack    300              10000"
  "arc-extract 2000             10000"
)

for row in "${benches[@]}"; do
  read -r name quick whole <<<"$row"
  sizes=$quick
  [ $full = 1 ] && sizes=$whole
  IFS=, read -r -a args <<<"$sizes"
  echo
  echo "== $name ${args[*]}"
  case $name in
    arc-*) "$root/bench/$name-bench.sh" "${args[@]}" ;;
    *) "$root/scripts/wine-run.sh" "$root/build/bin/qv_bench_$name.exe" "${args[@]}" ;;
  esac
  rc=$?
  if [ $rc -ne 0 ]; then
    printf '%s\tFAILED\texit code %d\n' "$name" "$rc" >>"$results"
  fi
done

elapsed=$(($(date +%s) - started))
echo
echo "Summary ($([ $full = 1 ] && echo full || echo default) sizes): the median turn's value, the lowest and"
echo "highest turn with the number of turns, and the goal"
awk -F'\t' '
  BEGIN { printf "%-44s %8s %17s %10s  %s\n", "scenario", "value", "spread (turns)", "goal", "" }
  $2 == "FAILED" { printf "%-44s %8s %17s %10s  %s\n", $1, "-", "-", "-", "FAILED: " $3; bad++; next }
  {
    spread = sprintf("%.2f-%.2f (%d)", $3, $4, $5)
    if ($6 > 0) {
      least = $7 == "min"
      met = least ? $2 >= $6 : $2 <= $6
      if (!met) over++
      printf "%-44s %8.2f %17s %10s  %s\n", $1, $2, spread, (least ? ">= " : "<= ") sprintf("%.2f", $6),
        met ? "met" : "MISSED"
    } else
      printf "%-44s %8.2f %17s %10s  %s\n", $1, $2, spread, "-", ""
  }
  END { printf "\n%d missed their goal, %d failed\n", over, bad }
' "$results"
printf 'make bench took %d min %02d s\n' $((elapsed / 60)) $((elapsed % 60))
