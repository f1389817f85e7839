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
  start_x_server Xvfb -screen 0 "$XVFB_SCREEN" -nolisten tcp -noreset || return 1
  XVFB_PIDS+=("$X_SERVER_PID")
}

# Stops the servers of the prefixes used, then the displays.
stop_private_displays() {
  local used pid
  for used in "${PREFIXES_USED[@]}"; do
    WINEPREFIX=${used#* } zwine "${used%% *}" wineserver -k >/dev/null 2>&1 || true
  done
  PREFIXES_USED=()
  # A server stopped while it was starting is not in the list yet.
  for pid in "${XVFB_PIDS[@]}" ${X_SERVER_PID:-}; do
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
# Wine runs no 32-bit program, and every 32-bit test would fail for that alone. Only
# called where the processor runs 32-bit code, so a silent Wine is a real fault.
check_wow64() {
  local probe="$1/wow64-probe.exe" answer status=0
  [ -f "$probe" ] || i686-w64-mingw32-gcc -Os -s -o "$probe" "$ZARN_ROOT/tools/wow64-probe.c"
  answer=$(zwine 32 wine "$probe" 2>&1 | tr -d '\r') || status=$?
  case $answer in *"a 32-bit program under WoW64") return 0 ;; esac
  [ "$status" -gt 128 ] && status="signal $((status - 128))" || status="exit code $status"
  fail "the Wine in $WOW64_ROOT did not run a 32-bit program (it ended with $status and printed: ${answer:-nothing})"
}

# What every script that runs the programs does first: install what is missing (for
# the build of BITS bits, with the 32-bit Wine when that is the one) and make both
# builds (with build.sh's arguments): install_and_build BITS [ARGUMENTS]. The 32-bit
# build stops here, with the reason, on a machine that cannot run it.
install_and_build() {
  local bits=$1
  shift
  if [ "$bits" = 32 ]; then
    "$ZARN_ROOT/scripts/setup.sh" --wow64
    runs_32bit_code || fail "$NO_32BIT_LINE"
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
      # The server that answers must be this one, by its lock file: another run may hold
      # the number while this one has not yet given up on it.
      if xdpyinfo -display ":${number}" >/dev/null 2>&1 &&
        [ "$(tr -d ' \n' <"/tmp/.X${number}-lock" 2>/dev/null)" = "$X_SERVER_PID" ]; then
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
