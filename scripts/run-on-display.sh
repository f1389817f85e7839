#!/usr/bin/env bash
# Runs a Windows program of the build of BITS bits under Wine on a private Xvfb display
# of another size or depth: run-on-display.sh BITS 800x600x16 program.exe [arguments].
# The prefix's Wine server is restarted around it, since a running one stays on the
# display it began on. The exit code is the program's; when the run is interrupted or
# told to stop, the program, the prefix's server and the display stop with it.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
bits=$1
screen=$2
shift 2
[ "$bits" = 64 ] || skip_without_32bit_code
program_pid=

end_session() {
  trap - HUP INT TERM EXIT
  stop_private_displays
  if [ -n "$program_pid" ]; then
    kill "$program_pid" 2>/dev/null
    wait "$program_pid" 2>/dev/null
  fi
}
# The program runs in the background: bash runs a trap only once the command in front
# has returned, and a wait returns at once on a signal.
trap 'end_session; exit 129' HUP
trap 'end_session; exit 130' INT
trap 'end_session; exit 143' TERM
trap end_session EXIT

prefix_of_build=ZARN_PREFIX_$bits
prepare_wine_prefix "$bits" "${!prefix_of_build:-$root/build/win$bits/wineprefix}"
zwine "$bits" wineserver -k >/dev/null 2>&1 || true
XVFB_SCREEN=$screen start_private_display || exit 1
export "ZARN_DISPLAY_$bits=$DISPLAY"
zwine "$bits" wine "$@" &
program_pid=$!
wait "$program_pid"
status=$?
program_pid=
exit $status
