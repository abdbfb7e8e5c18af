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
export QV_FORCE_XVFB=1
qv_start_xvfb || exit 1
qv_start_server
cleanup() {
  qv_stop_server
  qv_stop_xvfb
}
trap cleanup EXIT
# Wine's session helpers start with the first program and the first window; start
# them now, detached, so that they never hold ctest's output pipes. The keep-alive
# window also proves that Wine can open windows on this display: every window test
# depends on it, so a display that fails is replaced once before the tests run.
start_keepalive() {
  local flag=$qv_build/keepalive.flag
  rm -f "$flag"
  "$qv_wine" cmd /c exit </dev/null >/dev/null 2>&1
  "$qv_wine" "$qv_build/bin/qv_keepalive.exe" "$(echo "Z:$flag" | tr / '\\')" </dev/null >/dev/null 2>&1 &
  for _ in $(seq 1 300); do [ -s "$flag" ] && break; sleep 0.1; done
  if grep -q '^ok' "$flag" 2>/dev/null; then return 0; fi
  echo "Wine could not open a window on $DISPLAY: $(cat "$flag" 2>/dev/null || echo 'no answer')" >&2
  WINEDEBUG=err+all timeout 20 "$qv_wine" "$qv_build/bin/qv_keepalive.exe" </dev/null 2>&1 | head -20 >&2
  return 1
}
if ! start_keepalive; then
  echo "test: starting a new virtual display and Wine server" >&2
  qv_stop_server
  qv_stop_xvfb
  qv_start_xvfb || exit 1
  qv_start_server
  start_keepalive || echo "test: windows still cannot be opened; the window tests will fail" >&2
fi

echo "test: display $DISPLAY, $(nproc) processors, $("$qv_wine" --version 2>/dev/null)"
cd "$qv_build" && ctest --output-on-failure -j "$(nproc)" "$@"
