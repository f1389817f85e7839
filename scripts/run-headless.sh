#!/usr/bin/env bash
# Runs the show of a Windows program of the build of BITS bits under Wine on a private
# Xvfb display, and leaves pictures of it (show.png, show.gif) in screenshots/ beside it
# (scripts/run.sh without a display): run-headless.sh BITS PROGRAM.scr. After a few
# seconds Escape is held until the show ends. A show still running ZARN_END_SECONDS
# (20) after Escape is stopped with its prefix's Wine server, and the exit code is 1;
# else it is the show's. The prefix is ZARN_PREFIX_<BITS>, by default the build's
# wineprefix-run. After an interrupt nothing stays running.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=$1
program=$2
limit=${ZARN_END_SECONDS:-20}
shots="$(cd "$(dirname "$program")" && pwd)/screenshots"

begin_wine_session "$bits"
rm -rf "$shots/frames" "$shots/show.png" "$shots/show.gif"
mkdir -p "$shots/frames"
zwine "$bits" wine "$program" /s &
program_pid=$!
SESSION_PIDS+=("$program_pid")
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
SESSION_PIDS=()
exit "$status"
