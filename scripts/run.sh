#!/usr/bin/env bash
# Installs what is missing, builds, and runs the screensaver under Wine: its show, or
# with /c its settings dialog; the 64-bit program, or with --32 the 32-bit one (the file
# users install) under the 32-bit Wine. With an X display it runs in a window of its own
# (run-in-window.sh) until it ends; without one it runs on a private Xvfb display and
# leaves pictures of it in build/winNN/screenshots (run-headless.sh).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
bits=$(choose_build "$@")
if [ "$bits" = 32 ]; then
  shift
fi
mode=/s
case "${1:-}" in
  "" | /s | /S) ;;
  /c | /C) mode=/c ;;
  *)
    echo "usage: scripts/run.sh [--32] [/c]" >&2
    exit 2
    ;;
esac
install_and_build "$bits" --no-tests
build="$ZARN_ROOT/build/win$bits"
scr="$build/Zarn_Scr.scr"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$ZARN_ROOT/scripts/run-in-window.sh" "$bits" "$scr" "$mode"
fi

exec "$ZARN_ROOT/scripts/run-headless.sh" "$bits" "$scr" "$mode"
