#!/usr/bin/env bash
# The start-and-end run: start-end.sh [--32] [SHOWS (200)] [FAILURES (100)]. The show
# starts SHOWS times, each ended by one Escape, then FAILURES times with DirectDraw and
# as many with DirectInput missing, each ended by OK on its message. Every exit code
# must be 0, and no process or window of the program may be left behind. With LOAD=n,
# n busy loops keep the processors full meanwhile.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=64
[ "${1:-}" = --32 ] && bits=32 && shift
shows=${1:-200}
failures=${2:-100}
install_and_build "$bits"
begin_wine_session "$bits"
work="$ZARN_ROOT/build/win$bits/start-end"
fresh_folder "$work" "$ZARN_ROOT/build/win$bits/Zarn_Scr.scr"
cd "$work"
for _ in $(seq 1 "${LOAD:-0}"); do
  (while :; do :; done) &
  SESSION_PIDS+=($!)
done

MESSAGE_TITLE="Zarn Scr.s. Message"
faults=0
declare -A codes

# One start: KIND is show, ddraw or dinput (the library left out).
run_once() {
  local kind=$1 title=$MESSAGE_TITLE overrides="$1=" pid window code=0
  [ "$kind" = show ] && title=Sprite overrides=
  WINEDLLOVERRIDES=$overrides zwine "$bits" wine ./Zarn_Scr.scr /s 2>/dev/null &
  pid=$!
  window=$(timeout 30 xdotool search --sync --name "^$title\$" 2>/dev/null | head -n 1) || true
  if [ "$kind" = show ]; then
    # The keyboard is taken at the first frame's poll: a press before that is no press.
    sleep 1
    xdotool key Escape
  elif [ -n "$window" ]; then
    # No window manager gives the box the keyboard: it is given, then Return is OK.
    xdotool windowfocus "$window" 2>/dev/null || true
    xdotool key Return
  fi
  # An end that does not come within 15 s is a fault: the program is then killed.
  if wait_for_end "$pid" 15; then
    wait "$pid" || code=$?
  else
    zwine "$bits" wineserver -k >/dev/null 2>&1 || true
    wait "$pid" 2>/dev/null || true
    code=none
  fi
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

started=$SECONDS
for _ in $(seq 1 "$shows"); do run_once show; done
for _ in $(seq 1 "$failures"); do run_once ddraw; done
for _ in $(seq 1 "$failures"); do run_once dinput; done
echo "$bits-bit program, $(zwine "$bits" wine --version 2>/dev/null), LOAD=${LOAD:-0}, $((SECONDS - started)) s"
for key in "${!codes[@]}"; do echo "  ${key%% *}: exit code ${key#* } x ${codes[$key]}"; done | sort
echo "faults: $faults"
[ "$faults" -eq 0 ]
