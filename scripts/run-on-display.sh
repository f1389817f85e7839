#!/usr/bin/env bash
# Runs a Windows program of the build of BITS bits under Wine on a private Xvfb display
# of another size or depth: run-on-display.sh BITS 800x600x16 program.exe [arguments].
# SCREEN "two-monitors" gives two 640x480 monitors of 16 bits side by side instead: a
# Xephyr with two Xinerama heads inside an Xvfb, with a prefix of the build's own in
# which Wine reads the monitors from Xinerama rather than XRandR (through XRandR it
# sees one). The prefix's Wine server is restarted around it, since a running one
# stays on the display it began on. The exit code is the program's; when the run is
# interrupted or told to stop, the program, the prefix's server and the displays stop
# with it.
set -uo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=$1
screen=$2
shift 2
prefix_of_build=ZARN_PREFIX_$bits
export "ZARN_PREFIX_$bits=${!prefix_of_build:-$ZARN_ROOT/build/win$bits/wineprefix}"
if [ "$screen" = two-monitors ]; then
  export "ZARN_PREFIX_$bits=$ZARN_ROOT/build/win$bits/wineprefix-monitors"
  end_session_on_exit
  XVFB_SCREEN=1400x600x24 start_private_display || exit 1
  begin_wine_session "$bits" Xephyr -screen 640x480x16+0+0 -screen 640x480x16+660+0 +xinerama -nolisten tcp -noreset || exit 1
  zwine "$bits" wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1
  zwine "$bits" wineserver -w
else
  XVFB_SCREEN=$screen begin_wine_session "$bits" || exit 1
fi
zwine "$bits" wine "$@" &
program_pid=$!
SESSION_PIDS+=("$program_pid")
status=0
wait "$program_pid" || status=$?
SESSION_PIDS=()
exit "$status"
