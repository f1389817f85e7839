#!/usr/bin/env bash
# Runs a Windows program under Wine on a private Xvfb display of another size or
# depth: run-on-display.sh 800x600x16 program.exe [arguments]. The prefix's Wine
# server is restarted around it, since a running one stays on the display it began on.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
screen=$1
shift
: "${WINEPREFIX:=$root/build/win64/wineprefix}"
prepare_wine_prefix "$WINEPREFIX"
wineserver -k >/dev/null 2>&1 || true
XVFB_SCREEN=$screen start_private_display || exit 1
wine "$@"
status=$?
stop_private_display
exit $status
