#!/usr/bin/env bash
# The start-and-end run: start-end.sh [--32] [SHOWS] [FAILURES]. On a private display,
# the build's program (64-bit, or the 32-bit one under the 32-bit Wine):
# - SHOWS shows (200 by default), each ended by one instantaneous Escape press;
# - FAILURES starts (100 by default) with DirectDraw missing and as many with
#   DirectInput missing, each ended by OK on the message it shows.
# Every exit code must be 0, and nothing may be left behind: no process of the program
# and no window titled "Sprite" or with the message's title. With LOAD=n, n busy loops
# keep the processors full meanwhile. Prints the exit codes seen; exits 1 on a fault.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=$(choose_build "$@")
[ "$bits" = 32 ] && shift
shows=${1:-200}
failures=${2:-100}
install_and_build "$bits"
begin_wine_session "$bits"
work="$ZARN_ROOT/build/win$bits/start-end"
rm -rf "$work"
mkdir -p "$work"
cp "$ZARN_ROOT/build/win$bits/Zarn_Scr.scr" "$work/"
cd "$work"

for _ in $(seq 1 "${LOAD:-0}"); do
  (while :; do :; done) &
  SESSION_PIDS+=($!)
done

MESSAGE_TITLE="Zarn Scr.s. Message"
faults=0
code=
declare -A codes

# Sets code to the program's exit code once it ends, 15 s at most after its end was
# asked for; "none" when it does not end (it is then killed).
wait_for_end() {
  local pid=$1 tries
  for tries in $(seq 1 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  code=0
  if kill -0 "$pid" 2>/dev/null; then
    zwine "$bits" wineserver -k >/dev/null 2>&1 || true
    wait "$pid" 2>/dev/null || true
    code=none
    return
  fi
  wait "$pid" || code=$?
}

# One start: KIND is show, ddraw or dinput.
run_once() {
  local kind=$1 pid window
  if [ "$kind" = show ]; then
    zwine "$bits" wine ./Zarn_Scr.scr /s 2>/dev/null &
    pid=$!
    window=$(timeout 30 xdotool search --sync --name '^Sprite$' 2>/dev/null | head -n 1) || true
    # The keyboard is taken at the first frame's poll: a press before that is no press.
    sleep 1
    xdotool key Escape
  else
    WINEDLLOVERRIDES="$kind=" zwine "$bits" wine ./Zarn_Scr.scr /s 2>/dev/null &
    pid=$!
    window=$(timeout 30 xdotool search --sync --name "^$MESSAGE_TITLE\$" 2>/dev/null | head -n 1) || true
    # No window manager gives the box the keyboard: it is given, then Return is OK.
    if [ -n "$window" ]; then
      xdotool windowfocus "$window" 2>/dev/null || true
      xdotool key Return
    fi
  fi
  wait_for_end "$pid"
  [ -n "$window" ] || code="$code (no window)"
  codes["$kind $code"]=$((${codes["$kind $code"]:-0} + 1))
  [ "$code" = 0 ] || { faults=$((faults + 1)); echo "start-end: $kind ended with $code" >&2; }
  if pgrep -f 'start-end.Zarn_Scr.scr' >/dev/null ||
    xdotool search --name "^(Sprite|$MESSAGE_TITLE)\$" >/dev/null 2>&1; then
    faults=$((faults + 1))
    echo "start-end: $kind left a process or a window behind" >&2
    zwine "$bits" wineserver -k >/dev/null 2>&1 || true
  fi
}

started=$(date +%s)
for _ in $(seq 1 "$shows"); do run_once show; done
for _ in $(seq 1 "$failures"); do run_once ddraw; done
for _ in $(seq 1 "$failures"); do run_once dinput; done
echo "$bits-bit program, $(zwine "$bits" wine --version 2>/dev/null), LOAD=${LOAD:-0}, $(($(date +%s) - started)) s"
for key in "${!codes[@]}"; do echo "  ${key%% *}: exit code ${key#* } x ${codes[$key]}"; done | sort
echo "faults: $faults"
[ "$faults" -eq 0 ]
