#!/usr/bin/env bash
# Installs what is missing, builds, and runs the screensaver under Wine: its show, or
# with /c its settings dialog; the 64-bit program, or with --32 the 32-bit one (the file
# users install) under the 32-bit Wine. With an X display it runs in a window of its own
# (run-in-window.sh) until it ends; without one it runs on a private Xvfb display and
# leaves pictures of it in build/winNN/screenshots.
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

begin_wine_session wineprefix-run "$bits"
shots="$build/screenshots"
mkdir -p "$shots"

if [ "$mode" = /c ]; then
  zwine "$bits" wine "$scr" /c &
  dialog=$!
  timeout 60 xdotool search --sync --name "Zarn Screensaver Configuration" >/dev/null ||
    fail "the settings dialog did not open within a minute"
  sleep 1
  import -display "$DISPLAY" -window root "$shots/screen.png"
  # The screen around the window is black: trimming leaves the window.
  convert "$shots/screen.png" -trim +repage "$shots/dialog.png"
  rm -f "$shots/screen.png"
  # Nothing here answers the dialog: its end, like Cancel's, stores nothing.
  zwine "$bits" wineserver -k >/dev/null 2>&1 || true
  wait "$dialog" || true
  echo "The settings dialog opened on a private display. Its picture:"
  echo "  $shots/dialog.png"
  exit 0
fi

rm -rf "$shots/frames" "$shots/show.png" "$shots/show.gif"
mkdir -p "$shots/frames"
zwine "$bits" wine "$scr" /s &
show=$!
# The copies start at size 0 and grow frame by frame: give them a few seconds.
sleep 5
for frame in $(seq -w 1 24); do
  import -display "$DISPLAY" -window root "$shots/frames/$frame.png" 2>/dev/null || true
  sleep 0.08
done
cp "$shots/frames/01.png" "$shots/show.png"
convert -delay 10 -loop 0 "$shots"/frames/*.png -layers Optimize "$shots/show.gif" 2>/dev/null || true
rm -rf "$shots/frames"
# Escape held long enough for the show's keyboard poll to see it.
xdotool keydown Escape; sleep 0.3; xdotool keyup Escape
wait "$show" || true
echo "The show ran on a private display for a few seconds. Its pictures:"
echo "  $shots/show.png"
echo "  $shots/show.gif"
