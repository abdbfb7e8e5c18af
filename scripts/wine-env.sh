# Sourced by the scripts that start Windows programs: one project-local Wine prefix,
# the Japanese locale, and a home folder of its own so that nothing touches the host.
qv_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
qv_build=${QV_BUILD_DIR:-$qv_root/build}
export WINEPREFIX=${QV_WINEPREFIX:-$qv_root/build/wineprefix}
export WINEDEBUG=-all
# Settings of another Wine on the host must not leak into ours.
unset WINESERVER WINELOADER WINEDLLPATH WINEARCH
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
# Code page 932 needs the generated ja_JP.UTF-8 glibc locale (the setup script makes it).
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export HOME=$qv_root/build/winehome
export XDG_CONFIG_HOME=$HOME/.config XDG_CACHE_HOME=$HOME/.cache XDG_DATA_HOME=$HOME/.local/share
# The recycle bin maps to this trash; without the folders Wine deletes for good.
mkdir -p "$XDG_DATA_HOME/Trash/files" "$XDG_DATA_HOME/Trash/info" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"

qv_wine=$(command -v wine || echo /usr/lib/wine/wine64)

# Creates the prefix once, silently; callers in parallel wait on one lock.
qv_ensure_prefix() {
  [ -f "$WINEPREFIX/.qv-ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.qv-ready" ] && exit 0
    rm -rf "$WINEPREFIX"
    "$qv_wine" wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
    # Report Windows 10, the system the program is built for.
    "$qv_wine" winecfg -v win10 </dev/null >/dev/null 2>&1
    # A crashing program must end at once with its exception code: Wine's automatic
    # debugger would print a dump and, with a display, can wait for ever.
    "$qv_wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ \
      /d 'qv-no-debugger.exe %ld %ld' /f </dev/null >/dev/null 2>&1
    # No window manager under Xvfb: unmanaged windows hide and close without a 2 s wait.
    "$qv_wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
    # The prefix links Desktop, Documents etc. to $HOME: make them real folders.
    for d in "$WINEPREFIX"/drive_c/users/*/*; do
      if [ -L "$d" ]; then rm -f "$d"; mkdir -p "$d"; fi
    done
    wineserver -w
    touch "$WINEPREFIX/.qv-ready"
  ) 9>"$WINEPREFIX.lock"
}

# Keeps one wineserver alive for the whole run; it must not hold our output pipes.
qv_start_server() {
  wineserver -p </dev/null >/dev/null 2>&1 &
  disown 2>/dev/null || true
}

qv_stop_server() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}
