#!/usr/bin/env bash
# Takes a picture of the settings dialog of a Windows program of the build of BITS bits
# on a private Xvfb display, cropped to the window:
#   dialog-screenshot.sh [BITS PROGRAM.scr PICTURE.png]
# Without arguments it takes docs/dialog.png from the 64-bit build, made first, in a
# folder of its own, so that no settings file of a test run changes the picture;
# scripts/run.sh /c without a display takes screenshots/dialog.png beside the program.
# The prefix is ZARN_PREFIX_<BITS>, by default the build's wineprefix-run. Nothing
# answers the dialog, and its end, like Cancel's, stores nothing; after an interrupt
# nothing stays running.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
if [ $# -eq 0 ]; then
  install_and_build 64 --no-tests
  work="$ZARN_ROOT/build/win64/dialog-screenshot"
  rm -rf "$work"
  mkdir -p "$work"
  cp "$ZARN_ROOT/build/win64/Zarn_Scr.scr" "$work/"
  set -- 64 "$work/Zarn_Scr.scr" "$ZARN_ROOT/docs/dialog.png"
fi
bits=$1
program=$2
picture=$3

begin_wine_session "$bits"
zwine "$bits" wine "$program" /c &
SESSION_PIDS+=($!)
timeout 60 xdotool search --sync --name "Zarn Screensaver Configuration" >/dev/null ||
  fail "the settings dialog did not open within a minute"
sleep 1
mkdir -p "$(dirname "$picture")"
import -display "$DISPLAY" -window root "$picture.screen.png"
# The screen around the window is black: trimming leaves the window.
convert "$picture.screen.png" -trim +repage "$picture"
rm -f "$picture.screen.png"
echo "The settings dialog opened on a private display. Its picture:"
echo "  $picture"
