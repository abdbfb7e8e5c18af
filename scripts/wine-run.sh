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
"$qv_wine" "$@" </dev/null
rc=$?
[ $rc -eq 0 ] && rm -rf "$scratch"
exit $rc
