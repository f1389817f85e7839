#!/usr/bin/env bash
# Installs what is missing, builds, and runs the screensaver's show (/s) under Wine.
# With an X display it runs there until Escape; without one it runs on a private
# Xvfb display for a few seconds and leaves pictures of it in build/win64/screenshots.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --no-tests

build="$root/build/win64"
source "$root/scripts/wine-env.sh"
scr="$build/Zarn_Scr.scr"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  prepare_wine_prefix "$build/wineprefix"
  wine "$scr" /s
  exit 0
fi

start_private_display
trap stop_private_display EXIT
prepare_wine_prefix "$build/wineprefix"
shots="$build/screenshots"
mkdir -p "$shots"
wine "$scr" /s &
show=$!
sleep 4
import -display "$DISPLAY" -window root "$shots/show.png" 2>/dev/null || true
xdotool key Escape 2>/dev/null || true
wait "$show" || true
echo "The show ran on a private display; its picture: $shots/show.png"
