# Sourced: the display the Windows programs draw on.
# qv_display_usable: true when $DISPLAY names an X server that answers.
qv_display_usable() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo -display "$DISPLAY" >/dev/null 2>&1
}
# qv_start_xvfb: starts a private virtual display and exports DISPLAY for it. The
# tests always draw on their own (an inherited DISPLAY may be stale, belong to
# someone else or refuse us); `make run` keeps a display that answers.
qv_start_xvfb() {
  if [ -z "${QV_FORCE_XVFB:-}" ] && qv_display_usable; then return 0; fi
  local fifo num
  fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
  qv_xvfb_pid=$!
  read -r -t 20 num <"$fifo" || num=""
  rm -f "$fifo"
  if [ -z "$num" ]; then echo "could not start Xvfb" >&2; return 1; fi
  export DISPLAY=":$num"
  unset XAUTHORITY
  if ! qv_display_usable; then
    echo "Xvfb started on $DISPLAY but does not answer" >&2
    return 1
  fi
}
qv_stop_xvfb() {
  [ -n "${qv_xvfb_pid:-}" ] && kill "$qv_xvfb_pid" 2>/dev/null && wait "$qv_xvfb_pid" 2>/dev/null
  qv_xvfb_pid=""
}
