#!/usr/bin/env bash
# Runs one Windows program under Wine with the project's environment; each run gets
# a scratch folder of its own in QV_TEST_SCRATCH. The exit code is the program's.
set -u
. "$(dirname "$0")/wine-env.sh"
qv_ensure_prefix
scratch_root=$qv_root/build/test-scratch
mkdir -p "$scratch_root"
scratch=$(mktemp -d "$scratch_root/run.XXXXXX")
# Z: is the host's root in every prefix.
export QV_TEST_SCRATCH="Z:${scratch//\//\\}"
out=$(mktemp "$scratch_root/out.XXXXXX")
err=$(mktemp "$scratch_root/err.XXXXXX")
# Standard output goes on as it comes (a run that is cut off by a time-out still shows
# how far it got); the error output follows at the end.
run() {
  "$qv_wine" "$@" </dev/null 2>"$err" | tee "$out"
  return "${PIPESTATUS[0]}"
}
run "$@"
rc=$?
# Every program of ours prints before it can fail; one that failed silently never
# started (a Wine launch that went wrong under load): say so and start it once more.
if [ $rc -ne 0 ] && [ ! -s "$out" ] && [ ! -s "$err" ]; then
  echo "wine-run: $(basename "$1") ended with $rc before printing anything; starting it again" >&2
  sleep 1
  run "$@"
  rc=$?
fi
cat "$err" >&2
rm -f "$out" "$err"
[ $rc -eq 0 ] && rm -rf "$scratch"
exit $rc
