# Sourced: starts a virtual display when none is set and stops it on exit.
qv_start_xvfb() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${QV_FORCE_XVFB:-}" ]; then return 0; fi
  local fifo num
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
  qv_xvfb_pid=$!
  read -r -t 20 num <"$fifo" || num=""
  rm -f "$fifo"
  if [ -z "$num" ]; then echo "could not start Xvfb" >&2; return 1; fi
  export DISPLAY=":$num"
}
qv_stop_xvfb() {
  [ -n "${qv_xvfb_pid:-}" ] && kill "$qv_xvfb_pid" 2>/dev/null && wait "$qv_xvfb_pid" 2>/dev/null
  qv_xvfb_pid=""
}
