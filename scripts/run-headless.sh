#!/usr/bin/env bash
# run-headless.sh BITS PROGRAM.scr: the show on a private display, pictures of it in
# screenshots/ beside it, then Escape held; still running ZARN_END_SECONDS (20) later, it is stopped.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=$1 limit=${ZARN_END_SECONDS:-20}
shots="$(cd "$(dirname "$2")" && pwd -P)/screenshots"

begin_wine_session "$bits"
rm -rf "$shots/frames" "$shots/show.png" "$shots/show.gif"
mkdir -p "$shots/frames"
start_program "$bits" "$2" /s
# The copies start at size 0 and grow frame by frame: give them a few seconds.
sleep 5
for frame in $(seq -w 1 24); do
  import -display "$DISPLAY" -window root "$shots/frames/$frame.png" 2>/dev/null || true
  sleep 0.08
done
cp "$shots/frames/01.png" "$shots/show.png"
convert -delay 10 -loop 0 "$shots"/frames/*.png -layers Optimize "$shots/show.gif" 2>/dev/null || true
rm -rf "$shots/frames"
printf 'The show ran on a private display for a few seconds. Its pictures:\n  %s\n  %s\n' "$shots/show.png" "$shots/show.gif"
wait_for_end "$PROGRAM_PID" "$limit" Escape ||
  fail "the show was still running $limit s after Escape: it was stopped, with its Wine server"
exit_with_program
