# Shell functions shared by the scripts that run the Windows programs under Wine:
# private Xvfb displays on free numbers and private Wine prefixes, for either build
# (32 or 64 bits), all called through wine.sh.

ZARN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ZARN_ROOT/scripts/wow64-common.sh"
XVFB_PIDS=()
PREFIXES_USED=() # "bits prefix" of each prefix whose server stops at the end
XVFB_SCREEN=${XVFB_SCREEN:-640x480x16}

zwine() {
  "$ZARN_ROOT/scripts/wine.sh" "$@"
}

# Starts an Xvfb of XVFB_SCREEN and exports DISPLAY for it.
start_private_display() {
  local number pid tries
  for number in $(seq 91 250); do
    [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
    Xvfb ":${number}" -screen 0 "$XVFB_SCREEN" -nolisten tcp -noreset >/dev/null 2>&1 &
    pid=$!
    for tries in $(seq 1 100); do
      kill -0 "$pid" 2>/dev/null || break # another run took this number first
      if xdpyinfo -display ":${number}" >/dev/null 2>&1; then
        XVFB_PIDS+=("$pid")
        export DISPLAY=":${number}"
        return 0
      fi
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  echo "no free X display number for Xvfb" >&2
  return 1
}

# Stops the servers of the prefixes used, then the displays.
stop_private_displays() {
  local used pid
  for used in "${PREFIXES_USED[@]}"; do
    WINEPREFIX=${used#* } zwine "${used%% *}" wineserver -k >/dev/null 2>&1 || true
  done
  PREFIXES_USED=()
  for pid in "${XVFB_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  XVFB_PIDS=()
}

# A prefix for the build of BITS bits at DIR, made when missing, on the current display.
prepare_wine_prefix() {
  local bits=$1
  export WINEPREFIX=$2
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEARCH=win64
  PREFIXES_USED+=("$bits $WINEPREFIX")
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree=;mshtml=" zwine "$bits" wineboot -i >/dev/null 2>&1
    zwine "$bits" wineserver -w
  fi
  # Without a window manager, Wine waits about 2 s for each managed window it hides or
  # destroys; unmanaged windows go at once (and Wine draws their frames itself).
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    zwine "$bits" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    zwine "$bits" wineserver -w
  fi
  # Debian's Wine looks for its own fonts (fonts-wine: Marlett for the caption buttons,
  # Tahoma) beside its data folder rather than in it: the prefix is told.
  if ! grep -q 'share\\\\wine\\\\fonts' "$WINEPREFIX/user.reg" 2>/dev/null; then
    zwine "$bits" wine reg add 'HKCU\Software\Wine\Fonts' /v Path /d 'Z:\usr\share\wine\fonts' /f >/dev/null 2>&1
    zwine "$bits" wineserver -w
  fi
  [ "$bits" = 32 ] && check_wow64 "$WINEPREFIX"
  return 0
}

# A small i686 program started under the 32-bit Wine has to answer: otherwise that
# Wine runs no 32-bit program, and every 32-bit test would fail for that alone.
check_wow64() {
  local probe="$1/wow64-probe.exe" answer as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo -n)
  "${as_root[@]}" unshare -m true 2>/dev/null ||
    fail "this machine refuses private mount namespaces (an unprivileged container?): the 32-bit Wine cannot run here"
  [ -f "$probe" ] || i686-w64-mingw32-gcc -Os -s -o "$probe" "$ZARN_ROOT/tools/wow64-probe.c"
  answer=$(zwine 32 wine "$probe" 2>/dev/null | tr -d '\r') || true
  [ "$answer" = "a 32-bit program under WoW64" ] ||
    fail "the Wine in $WOW64_ROOT runs no 32-bit program (it answered '${answer}'): remove that folder and run scripts/setup.sh again"
}

# What every script that runs the programs does first: install what is missing (for
# the build of BITS bits, with the 32-bit Wine when that is the one) and make both
# builds (with build.sh's arguments): install_and_build BITS [ARGUMENTS].
install_and_build() {
  local bits=$1
  shift
  if [ "$bits" = 32 ]; then
    "$ZARN_ROOT/scripts/setup.sh" --wow64
  else
    "$ZARN_ROOT/scripts/setup.sh"
  fi
  "$ZARN_ROOT/scripts/build.sh" "$@" >/dev/null
}

# The build a script runs: 32 with --32 as its first argument, else 64.
choose_build() {
  [ "${1:-}" = --32 ] && echo 32 || echo 64
}

# The build of BITS bits (64 by default) on a private display, with its prefix NAME;
# the display and the prefix's server stop when the script exits.
begin_wine_session() {
  local bits=${2:-64}
  start_private_display
  trap stop_private_displays EXIT
  prepare_wine_prefix "$bits" "$ZARN_ROOT/build/win$bits/$1"
}

# Starts an X server on a free display number and exports DISPLAY for it; X_SERVER_PID
# is its process: start_x_server Xephyr -screen 640x480x16 ... A number is free only
# when no server holds its abstract socket either: that socket is shared with other
# mount namespaces, whose lock files are not seen here, and clients would reach that
# server instead of this one, which fails to start.
start_x_server() {
  local number tries
  X_SERVER_PID=
  for number in $(seq 91 250); do
    [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
    grep -q "@/tmp/.X11-unix/X${number}\$" /proc/net/unix && continue
    "$1" ":${number}" "${@:2}" >/dev/null 2>&1 &
    X_SERVER_PID=$!
    for tries in $(seq 1 100); do
      kill -0 "$X_SERVER_PID" 2>/dev/null || break # another run took this number first
      if xdpyinfo -display ":${number}" >/dev/null 2>&1 && kill -0 "$X_SERVER_PID" 2>/dev/null; then
        export DISPLAY=":${number}"
        return 0
      fi
      sleep 0.1
    done
    kill "$X_SERVER_PID" 2>/dev/null
    wait "$X_SERVER_PID" 2>/dev/null
    X_SERVER_PID=
  done
  echo "zarn: no free X display number for $1" >&2
  return 1
}
