#!/usr/bin/env bash
# dialog-screenshot.sh [BITS PROGRAM.scr PICTURE.png]: the settings dialog on a private
# display, cropped to its window; by default docs/dialog.png, from a copy of the 64-bit
# build in a folder of its own, so that no test run's settings change the picture.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
if [ $# -eq 0 ]; then
  install_and_build 64 --no-tests
  fresh_folder "$ZARN_ROOT/build/win64/dialog-screenshot" "$ZARN_ROOT/build/win64/Zarn_Scr.scr"
  set -- 64 "$ZARN_ROOT/build/win64/dialog-screenshot/Zarn_Scr.scr" "$ZARN_ROOT/docs/dialog.png"
fi
picture=$3

begin_wine_session "$1"
start_program "$1" "$2" /c
timeout 60 xdotool search --sync --name "Zarn Screensaver Configuration" >/dev/null ||
  fail "the settings dialog did not open within a minute"
sleep 1
mkdir -p "$(dirname "$picture")"
import -display "$DISPLAY" -window root "$picture.screen.png"
# The screen around the window is black: trimming leaves the window.
convert "$picture.screen.png" -trim +repage "$picture"
rm -f "$picture.screen.png"
printf 'The settings dialog opened on a private display. Its picture:\n  %s\n' "$picture"
