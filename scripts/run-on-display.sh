#!/usr/bin/env bash
# run-on-display.sh BITS SCREEN PROGRAM [ARGUMENTS]: the program under Wine on a display
# of its own, ending with its exit code. SCREEN: WxHxD (a private Xvfb), window (a Xephyr
# window on the caller's display; closing it ends the program) or two-monitors.
set -uo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=$1 screen=$2
shift 2
[[ $screen =~ ^([0-9]+x[0-9]+x[0-9]+|window|two-monitors)$ ]] ||
  fail "run-on-display.sh: the screen is WxHxD, window or two-monitors, not '$screen'"
case $screen in
window)
  begin_wine_session "$bits" Xephyr -screen 640x480x16 -title "${ZARN_WINDOW_TITLE:-Zarn Screensaver}" \
    -no-host-grab -nolisten tcp -noreset || fail "Xephyr could not open a window on display ${DISPLAY:-(none)}"
  start_program "$bits" "$@"
  wait -n -p ended "$PROGRAM_PID" "$X_SERVER_PID"
  status=$?
  # The session's end stops the rest, the services Wine started beside the program too.
  [ "${ended:-}" != "$PROGRAM_PID" ] || { SESSION_PIDS=() && exit "$status"; }
  echo "The window was closed: the program was ended."
  exit 0
  ;;
two-monitors) begin_two_monitor_session "$bits" || exit 1 ;;
*) XVFB_SCREEN=$screen begin_wine_session "$bits" || exit 1 ;;
esac
start_program "$bits" "$@"
exit_with_program
