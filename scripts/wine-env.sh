# Shell functions shared by the scripts that run the Windows programs under Wine:
# a private Xvfb display on a free number and a private Wine prefix.

ZARN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
XVFB_PID=
XVFB_SCREEN=${XVFB_SCREEN:-640x480x16}

start_private_display() {
  local number
  for number in $(seq 91 250); do
    [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
    Xvfb ":${number}" -screen 0 "$XVFB_SCREEN" -nolisten tcp -noreset >/dev/null 2>&1 &
    XVFB_PID=$!
    local tries
    for tries in $(seq 1 100); do
      if ! kill -0 "$XVFB_PID" 2>/dev/null; then
        break # another run took this number first
      fi
      if xdpyinfo -display ":${number}" >/dev/null 2>&1; then
        export DISPLAY=":${number}"
        return 0
      fi
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  done
  echo "no free X display number for Xvfb" >&2
  return 1
}

stop_private_display() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}

prepare_wine_prefix() {
  export WINEPREFIX=$1
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEARCH=win64
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    WINEDLLOVERRIDES="mscoree=;mshtml=" wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  # Without a window manager, Wine waits about 2 s for each managed window it hides or
  # destroys; unmanaged windows go at once (and Wine draws their frames itself).
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
  fi
  # Debian's Wine 8 looks for its own fonts (fonts-wine: Marlett for the caption
  # buttons, Tahoma) beside its data folder rather than in it: the prefix is told.
  if [ -d /usr/share/wine/fonts ] && ! grep -q 'share\\\\wine\\\\fonts' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Fonts' /v Path /d 'Z:\usr\share\wine\fonts' /f >/dev/null 2>&1
    wineserver -w
  fi
}

# What every script that runs the programs does first: install what is missing and
# make both builds (with build.sh's arguments).
install_and_build() {
  "$ZARN_ROOT/scripts/setup.sh"
  "$ZARN_ROOT/scripts/build.sh" "$@" >/dev/null
}

# A private display and the 64-bit build's Wine prefix of that name; both the display
# and the prefix's server stop when the script exits.
begin_wine_session() {
  start_private_display
  trap stop_private_display EXIT
  prepare_wine_prefix "$ZARN_ROOT/build/win64/$1"
}
