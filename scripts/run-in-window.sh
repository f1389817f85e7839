#!/usr/bin/env bash
# Runs a Windows program of the build of BITS bits under Wine in a window of its own on
# the current X display: run-in-window.sh BITS program.exe [arguments]. The window is a
# nested X server (Xephyr) of 640x480 at 16 bits, the screen the show asks for, so the
# user's own screen mode never changes. The window closes when the program ends, and
# closing it ends the program; after an interrupt nothing stays running either.
# The exit code is the program's, 0 when the window was closed, 1 when Xephyr could
# not start. The prefix is ZARN_PREFIX_<BITS>, by default the build's wineprefix-run;
# ZARN_WINDOW_TITLE names the window.
set -uo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=$1
shift
outer=${DISPLAY:-(none)}
begin_wine_session "$bits" Xephyr -screen 640x480x16 -title "${ZARN_WINDOW_TITLE:-Zarn Screensaver}" \
  -no-host-grab -nolisten tcp -noreset || fail "Xephyr could not open a window on display $outer"
zwine "$bits" wine "$@" &
program_pid=$!
SESSION_PIDS+=("$program_pid")
wait -n "$program_pid" "$X_SERVER_PID"
status=$?
# Still running: the window was closed. Either way the session's end stops the rest,
# the services Wine started beside the program included.
if kill -0 "$program_pid" 2>/dev/null; then
  echo "The window was closed: the program was ended."
  status=0
else
  SESSION_PIDS=()
fi
exit "$status"
