#!/usr/bin/env bash
# The commands that run a program on a private display end, and leave nothing running:
# run-headless.sh (scripts/run.sh without a display) holds Escape until the show ends,
# and stops a program that never sees it once its limit has passed; run-on-display.sh
# passes on the program's exit code, and stops what it started when told to stop.
# run_commands.sh PROGRAM.scr, from a folder the test may write in.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd -P)
work=$PWD/run_commands
rm -rf "$work"
mkdir -p "$work"
export ZARN_PREFIX_64="$(cd "$(dirname "$1")" && pwd -P)/wineprefix-commands"
unset ZARN_DISPLAY_64 DISPLAY
cp "$1" "$work/Zarn_Scr.scr"
printf 'ZCOUNT = 5\r\nZDELAY = 100\r\n' >"$work/Zarn_Scr.ini"
# A Windows program deaf to every key: it ends with the code a number as its first
# argument names, and never with /s or nothing.
x86_64-w64-mingw32-gcc -x c -o "$work/deaf.exe" - <<'EOF' || exit 1
#include <stdlib.h>
#include <windows.h>
int main(int argc, char **argv) { if (argc > 1 && argv[1][0] != '/') return atoi(argv[1]); Sleep(INFINITE); return 0; }
EOF
source "$(dirname "${BASH_SOURCE[0]}")/expect.sh"

# Every process a run started carries its mark, whatever became of its parents.
mark=ZARN_RUN_COMMANDS=$$
left_running() {
  grep -lzx "$mark" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 | xargs
}
trap 'kill -KILL $(left_running) 2>/dev/null' EXIT

# Starts a run of COMMAND in the background, as pid. Background commands of a script
# ignore Ctrl+C's signal, and so would all they start: this one gets it as from a terminal.
start() {
  env --default-signal=INT "$mark" "$@" >"$work/log" 2>&1 &
  pid=$!
}

# Waits up to SECONDS for the run to end: status is its exit code, or says it did not.
finish() {
  local tries
  for tries in $(seq 1 $(($1 * 10))); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL $(left_running) 2>/dev/null
    wait "$pid" 2>/dev/null
    status="still running after $1 s"
  else
    wait "$pid" 2>/dev/null
    status=$?
  fi
}

start "$root/scripts/run-headless.sh" 64 "$work/Zarn_Scr.scr"
finish 90
expect "Escape held ends the show in run-headless.sh with exit code 0 ($status)" '[ "$status" = 0 ]'
expect "the show's pictures are left" '[ -s "$work/screenshots/show.png" ] && [ -s "$work/screenshots/show.gif" ]'
expect "nothing left running: $(left_running)" '[ -z "$(left_running)" ]'

ZARN_END_SECONDS=3 start "$root/scripts/run-headless.sh" 64 "$work/deaf.exe"
finish 90
expect "a program deaf to Escape is stopped 3 s after it, with exit code 1 ($status)" \
  '[ "$status" = 1 ] && grep -q "still running 3 s after Escape" "$work/log"'
expect "nothing left running: $(left_running)" '[ -z "$(left_running)" ]'

start "$root/scripts/run-on-display.sh" 64 640x480x16 "$work/deaf.exe" 3
finish 60
expect "run-on-display.sh ends with the program's exit code, 3 ($status)" '[ "$status" = 3 ]'

# Whether a process of the run is NAME itself, not only a command that names it.
runs() {
  local process
  for process in $(left_running); do
    tr '\0' '\n' 2>/dev/null <"/proc/$process/cmdline" | head -n 1 | grep -q "$1\$" && return 0
  done
  return 1
}

# Stopped by each signal a terminal or a system sends while the program runs, and once
# while its display is starting: an X server that answers only after a second leaves
# the time to stop it then.
mkdir -p "$work/slow"
printf '#!/bin/sh\nsleep 1\nexec %s "$@"\n' "$(command -v xdpyinfo)" >"$work/slow/xdpyinfo"
chmod +x "$work/slow/xdpyinfo"
export PATH="$work/slow:$PATH"
for stop in HUP:129:deaf.exe INT:130:deaf.exe TERM:143:deaf.exe TERM:143:Xvfb; do
  IFS=: read -r signal code process <<<"$stop"
  start "$root/scripts/run-on-display.sh" 64 640x480x16 "$work/deaf.exe"
  seen=
  for tries in $(seq 1 1000); do
    runs "$process" && seen=1 && break
    sleep 0.02
  done
  # A signal sent before the process ran would test nothing.
  if [ -n "$seen" ]; then
    kill "-$signal" "$pid"
    finish 30
  else
    finish 0
    status="$process never ran"
  fi
  expect "run-on-display.sh, stopped by SIG$signal once $process runs, ends with exit code $code ($status)" '[ "$status" = "$code" ]'
  expect "nothing left running: $(left_running)" '[ -z "$(left_running)" ]'
done
exit $((failures > 0))
