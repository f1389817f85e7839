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
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
bits=$1
shift
prefix_of_build=ZARN_PREFIX_$bits
prefix=${!prefix_of_build:-$root/build/win$bits/wineprefix-run}
export "ZARN_PREFIX_$bits=$prefix"
title=${ZARN_WINDOW_TITLE:-Zarn Screensaver}
X_SERVER_PID=
program_pid=
wine_used=

# Ends the prefix's Windows processes and its server, then the window.
end_session() {
  trap - HUP INT TERM EXIT
  if [ -n "$wine_used" ]; then
    zwine "$bits" wineserver -k >/dev/null 2>&1
    zwine "$bits" wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$program_pid" ]; then
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
  fi
  if [ -n "$X_SERVER_PID" ]; then
    kill "$X_SERVER_PID" 2>/dev/null
    wait "$X_SERVER_PID" 2>/dev/null
  fi
}
# Background jobs of a script ignore Ctrl+C: the traps end them, and do the same when
# the terminal closes or the run is told to stop.
trap 'end_session; exit 129' HUP
trap 'end_session; exit 130' INT
trap 'end_session; exit 143' TERM
trap end_session EXIT

outer=${DISPLAY:-}
if ! start_x_server Xephyr -screen 640x480x16 -title "$title" -no-host-grab -nolisten tcp -noreset; then
  echo "zarn: Xephyr could not open a window on display ${outer:-(none)}" >&2
  exit 1
fi
export "ZARN_DISPLAY_$bits=$DISPLAY"
# A running server keeps the display it began on: the prefix starts afresh on this one.
wine_used=1
zwine "$bits" wineserver -k >/dev/null 2>&1
prepare_wine_prefix "$bits" "$prefix"
zwine "$bits" wine "$@" &
program_pid=$!
wait -n "$program_pid" "$X_SERVER_PID"
status=$?
# Still running: the window was closed. Either way the EXIT trap ends the rest, the
# services Wine started beside the program included.
if kill -0 "$program_pid" 2>/dev/null; then
  echo "The window was closed: the program was ended."
  status=0
else
  program_pid=
fi
exit "$status"
