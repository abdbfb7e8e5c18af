#!/usr/bin/env bash
# Sets up, builds and starts Qv under Wine. With a display it simply runs the
# program; without one it starts a virtual display, waits for the main window,
# saves a screenshot to build/screenshot.png and closes the program cleanly.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup.sh" || exit 1
"$here/build.sh" Qv qv_runner || exit 1
. "$here/wine-env.sh"
. "$here/xvfb.sh"
qv_ensure_prefix
bin=$qv_build/bin

if qv_display_usable; then
  exec "$qv_wine" "$bin/Qv.exe" "$@"
fi

qv_start_xvfb || exit 1
qv_start_server
flag=$qv_build/run-close.flag
shot=$qv_build/screenshot.png
rm -f "$flag" "$shot"
out=$(mktemp)
"$qv_wine" "$bin/qv_runner.exe" "$(echo "Z:$bin/Qv.exe" | tr / '\\')" qv "$(echo "Z:$flag" | tr / '\\')" "$@" \
  </dev/null >"$out" 2>&1 &
runner=$!
for _ in $(seq 1 600); do
  grep -q ready "$out" && break
  kill -0 "$runner" 2>/dev/null || break
  sleep 0.1
done
if grep -q ready "$out"; then
  sleep 1 # let the first paint finish
  import -window root "$shot" 2>/dev/null
fi
touch "$flag"
wait "$runner"; rc=$?
cat "$out" | tr -d '\r' | grep -v '^ready$' || true
rm -f "$out" "$flag"
qv_stop_server
qv_stop_xvfb
if [ -f "$shot" ] && [ $rc -eq 0 ]; then
  echo "Qv ran on a virtual display and closed cleanly; screenshot: $shot"
else
  echo "Qv did not run cleanly (exit $rc)" >&2
  exit 1
fi
