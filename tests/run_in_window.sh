#!/usr/bin/env bash
# The show run as scripts/run.sh runs it on a desktop, on a private 1024x768 display of
# 24 bits: a 640x480 window titled "Zarn Screensaver" with a moving picture in it, and
# Escape over it ends the run with exit code 0, leaving neither the window, the program
# nor the prefix's Wine server running.
# run_in_window.sh PROGRAM.scr, from a folder the test may write in.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd -P)
source "$root/scripts/lib/commands.sh"
export ZARN_PREFIX_64="$(cd "$(dirname "$1")" && pwd -P)/wineprefix-window"
unset ZARN_DISPLAY_64
end_session_on_exit
XVFB_SCREEN=1024x768x24 start_private_display || exit 1
# Made here the first time, so that Wine's own windows of that time stay out of the
# show's window.
prepare_wine_prefix 64 "$ZARN_PREFIX_64"
unset WINEPREFIX
# A folder of its own, so the user's settings beside the build's program play no part;
# a long frame delay keeps the show from taking a core from the tests beside it.
mkdir -p run_in_window
cp "$1" run_in_window/Zarn_Scr.scr
printf 'ZCOUNT = 5\r\nZDELAY = 100\r\n' >run_in_window/Zarn_Scr.ini
source "$(dirname "${BASH_SOURCE[0]}")/expect.sh"

# The processes started with the test's prefix, and the window's server.
left_running() {
  local proc
  for proc in /proc/[0-9]*; do
    { tr '\0' '\n' <"$proc/environ" | grep -qx "WINEPREFIX=$ZARN_PREFIX_64"; } 2>/dev/null && echo "${proc#/proc/}"
  done
  [ -n "$nested" ] && kill -0 "$nested" 2>/dev/null && echo "$nested"
  return 0
}

shot() {
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "run_in_window/$1.png"
}

# Starts a run and waits up to a minute for a picture in its window: sets run, nested,
# the window and its geometry; 1 when no picture came.
start_show() {
  local tries
  "$root/scripts/run-on-display.sh" 64 window run_in_window/Zarn_Scr.scr /s >/dev/null 2>&1 &
  run=$!
  window= nested= WIDTH=0 HEIGHT=0 X=0 Y=0
  for tries in $(seq 1 600); do
    window=$(xdotool search --name '^Zarn Screensaver$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
  done
  nested=$(pgrep -P "$run" -x Xephyr)
  [ -n "$window" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  for tries in $(seq 1 600); do
    shot first
    [ "$(convert run_in_window/first.png -format '%[fx:maxima>0.1]' info:)" = 1 ] && return 0
    sleep 0.1
  done
  return 1
}

# Holds Escape up to 20 s for the run to end; status is its exit code, or says it was ended.
end_run() {
  if wait_for_end "$run" 20 Escape; then
    wait "$run"
    status=$?
  else
    kill "$run"
    wait "$run"
    status="still running after 20 s"
  fi
}

start_show
shown=$?
expect "a window with a picture within a minute" '[ $shown = 0 ]'
expect "the window is 640x480 (it is ${WIDTH}x${HEIGHT})" '[ "${WIDTH}x${HEIGHT}" = 640x480 ]'
sleep 1
shot second
expect "the picture moves" '[ "$(compare -metric AE run_in_window/first.png run_in_window/second.png null: 2>&1)" != 0 ]'
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
end_run
expect "Escape over the window ends the run with exit code 0 ($status)" '[ "$status" = 0 ]'
expect "nothing left running: $(left_running | xargs)" '[ -z "$(left_running)" ]'
exit $((failures > 0))
