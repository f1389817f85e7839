#!/usr/bin/env bash
# Runs a Windows program of the build of BITS bits under Wine on a display of its own,
# and ends with its exit code: run-on-display.sh BITS SCREEN PROGRAM [ARGUMENTS]. SCREEN:
# - WxHxD: a private Xvfb of that size and depth;
# - window: a nested X server (Xephyr) of 640x480 at 16 bits in a window titled
#   ZARN_WINDOW_TITLE, so the user's own screen mode never changes; closing it ends the
#   program, with exit code 0;
# - two-monitors: a Xephyr with two 640x480 Xinerama heads side by side inside an Xvfb,
#   with a prefix of its own in which Wine reads the monitors from Xinerama (through
#   XRandR it sees one).
set -uo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=$1
screen=$2
shift 2
prefix_of_build=ZARN_PREFIX_$bits
case $screen in
window)
  outer=${DISPLAY:-(none)}
  begin_wine_session "$bits" Xephyr -screen 640x480x16 -title "${ZARN_WINDOW_TITLE:-Zarn Screensaver}" \
    -no-host-grab -nolisten tcp -noreset || fail "Xephyr could not open a window on display $outer"
  start_program "$bits" "$@"
  wait -n "$PROGRAM_PID" "$X_SERVER_PID"
  status=$?
  # The session's end stops the rest, the services Wine started beside the program too.
  kill -0 "$PROGRAM_PID" 2>/dev/null || { SESSION_PIDS=() && exit "$status"; }
  echo "The window was closed: the program was ended."
  exit 0
  ;;
two-monitors)
  export "ZARN_PREFIX_$bits=$ZARN_ROOT/build/win$bits/wineprefix-monitors"
  end_session_on_exit
  XVFB_SCREEN=1400x600x24 start_private_display || exit 1
  begin_wine_session "$bits" Xephyr -screen 640x480x16+0+0 -screen 640x480x16+660+0 +xinerama -nolisten tcp -noreset || exit 1
  prefix_setting "$bits" '"UseXRandR"="N"' 'HKCU\Software\Wine\X11 Driver' UseXRandR N
  ;;
*)
  export "ZARN_PREFIX_$bits=${!prefix_of_build:-$ZARN_ROOT/build/win$bits/wineprefix}"
  XVFB_SCREEN=$screen begin_wine_session "$bits" || exit 1
  ;;
esac
start_program "$bits" "$@"
exit_with_program
