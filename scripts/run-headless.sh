#!/usr/bin/env bash
# Runs a Windows program of the build of BITS bits under Wine on a private Xvfb display
# and leaves pictures of it in screenshots/ beside it (scripts/run.sh without a display):
#   run-headless.sh BITS PROGRAM.scr /s|/c
# /s: the show for a few seconds (show.png, show.gif), then Escape, held until the show
# ends. A show still running ZARN_END_SECONDS (20) after Escape is stopped with its
# prefix's Wine server, and the exit code is 1; else it is the show's. /c: the settings
# dialog (dialog.png). The prefix is ZARN_PREFIX_<BITS>, by default the build's
# wineprefix-run. After an interrupt nothing stays running.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
bits=$1
program=$2
mode=$3
limit=${ZARN_END_SECONDS:-20}
prefix_of_build=ZARN_PREFIX_$bits
shots="$(cd "$(dirname "$program")" && pwd)/screenshots"
program_pid=

# Ends the prefix's Windows processes and its server, then the display.
end_session() {
  trap - HUP INT TERM EXIT
  stop_private_displays
  if [ -n "$program_pid" ]; then
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
  fi
}
trap 'end_session; exit 129' HUP
trap 'end_session; exit 130' INT
trap 'end_session; exit 143' TERM
trap end_session EXIT

start_private_display
export "ZARN_DISPLAY_$bits=$DISPLAY"
prepare_wine_prefix "$bits" "${!prefix_of_build:-$ZARN_ROOT/build/win$bits/wineprefix-run}"
mkdir -p "$shots"

if [ "$mode" = /c ]; then
  zwine "$bits" wine "$program" /c &
  program_pid=$!
  timeout 60 xdotool search --sync --name "Zarn Screensaver Configuration" >/dev/null ||
    fail "the settings dialog did not open within a minute"
  sleep 1
  import -display "$DISPLAY" -window root "$shots/screen.png"
  # The screen around the window is black: trimming leaves the window.
  convert "$shots/screen.png" -trim +repage "$shots/dialog.png"
  rm -f "$shots/screen.png"
  # Nothing here answers the dialog: its end, like Cancel's, stores nothing.
  echo "The settings dialog opened on a private display. Its picture:"
  echo "  $shots/dialog.png"
  exit 0
fi

rm -rf "$shots/frames" "$shots/show.png" "$shots/show.gif"
mkdir -p "$shots/frames"
zwine "$bits" wine "$program" /s &
program_pid=$!
# The copies start at size 0 and grow frame by frame: give them a few seconds.
sleep 5
for frame in $(seq -w 1 24); do
  import -display "$DISPLAY" -window root "$shots/frames/$frame.png" 2>/dev/null || true
  sleep 0.08
done
cp "$shots/frames/01.png" "$shots/show.png"
convert -delay 10 -loop 0 "$shots"/frames/*.png -layers Optimize "$shots/show.gif" 2>/dev/null || true
rm -rf "$shots/frames"
echo "The show ran on a private display for a few seconds. Its pictures:"
echo "  $shots/show.png"
echo "  $shots/show.gif"
# Held until the show ends, so that its keyboard poll sees it however slow a frame.
xdotool keydown Escape
for _ in $(seq 1 $((limit * 10))); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.1
done
xdotool keyup Escape
if kill -0 "$program_pid" 2>/dev/null; then
  echo "zarn: the show was still running $limit s after Escape: it was stopped, with its Wine server" >&2
  exit 1
fi
status=0
wait "$program_pid" || status=$?
program_pid=
exit "$status"
