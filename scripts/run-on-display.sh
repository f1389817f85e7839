#!/usr/bin/env bash
# Runs a Windows program of the build of BITS bits under Wine on a private Xvfb display
# of another size or depth: run-on-display.sh BITS 800x600x16 program.exe [arguments].
# The prefix's Wine server is restarted around it, since a running one stays on the
# display it began on.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
bits=$1
screen=$2
shift 2
[ "$bits" = 64 ] || skip_without_32bit_code
prefix_of_build=ZARN_PREFIX_$bits
prepare_wine_prefix "$bits" "${!prefix_of_build:-$root/build/win$bits/wineprefix}"
zwine "$bits" wineserver -k >/dev/null 2>&1 || true
XVFB_SCREEN=$screen start_private_display || exit 1
export "ZARN_DISPLAY_$bits=$DISPLAY"
zwine "$bits" wine "$@"
status=$?
stop_private_displays
exit $status
