#!/usr/bin/env bash
# Sets up, builds and runs every test under Wine on a virtual display.
# Extra arguments go to ctest (e.g. -R CString).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh" || exit 1
"$here/build.sh" || exit 1
. "$here/wine-env.sh"
. "$here/xvfb.sh"

qv_ensure_prefix
qv_start_xvfb || exit 1
qv_start_server
cleanup() {
  qv_stop_server
  qv_stop_xvfb
}
trap cleanup EXIT
# Wine's session helpers start with the first program and the first window; start
# them now, detached, so that they never hold ctest's output pipes.
"$qv_wine" cmd /c exit </dev/null >/dev/null 2>&1
"$qv_wine" "$qv_build/bin/qv_keepalive.exe" </dev/null >/dev/null 2>&1 &

cd "$qv_build" && ctest --output-on-failure -j "$(nproc)" "$@"
