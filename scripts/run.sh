#!/usr/bin/env bash
# run.sh [--32] [/c]: installs what is missing, builds, and runs the show or the dialog
# under Wine, in a window of its own on a display, else on a private one, with pictures.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=64
[ "${1:-}" = --32 ] && bits=32 && shift
case "${1:-}" in
"" | /s | /S) mode=/s ;;
/c | /C) mode=/c ;;
*) echo "usage: scripts/run.sh [--32] [/c]" >&2 && exit 2 ;;
esac
install_and_build "$bits" --no-tests
scr="$ZARN_ROOT/build/win$bits/Zarn_Scr.scr"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$ZARN_ROOT/scripts/run-on-display.sh" "$bits" window "$scr" "$mode"
elif [ "$mode" = /c ]; then
  exec "$ZARN_ROOT/scripts/dialog-screenshot.sh" "$bits" "$scr" "$(dirname "$scr")/screenshots/dialog.png"
fi
exec "$ZARN_ROOT/scripts/run-headless.sh" "$bits" "$scr"
