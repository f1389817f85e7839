#!/usr/bin/env bash
# The start-and-end run: start-end.sh [--32] [COUNT (100)] [WAY ...]. Every way a start
# can go, COUNT times each, in rounds of one start of each way (all ways by default):
#   escape        the show, Escape held until it ends
#   background    the show, another program's window left in front until it ends itself
#   no-ddraw      DirectDraw missing (WINEDLLOVERRIDES=ddraw=): the message, then Return
#   no-dinput     DirectInput missing (dinput=): the same
#   preview       /p 123, a preview for a window that does not exist
#   password      /a
#   second        a second show while one runs; then Escape ends the first
#   cancel, ok    the settings dialog (/c) ended by a click on Cancel, on OK
# Each start must end with exit code 0 within ZARN_END_SECONDS (15) of what ends it (for
# preview, password and second, of its start), and leave no process of the program and no
# window of it. Each start's line goes into build/winNN/start-end/starts.csv. A start that
# does not end is caught where its threads are (winedbg's backtrace of every thread, the
# kernel's view of each in /proc, the X windows) into build/winNN/start-end-traces, with
# its Wine log (more of it with WINEDEBUG=+seh,+dialog,+win, for instance); then it is
# stopped with its Wine server. Any other faulty start leaves its Wine log there too.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=64
[ "${1:-}" = --32 ] && bits=32 && shift
count=${1:-100}
shift || true
ways=("$@")
[ ${#ways[@]} -gt 0 ] || ways=(escape background no-ddraw no-dinput preview password second cancel ok)
limit=${ZARN_END_SECONDS:-15}
install_and_build "$bits"
begin_wine_session "$bits"
build="$ZARN_ROOT/build/win$bits"
work="$build/start-end"
fresh_folder "$work" "$build/Zarn_Scr.scr"
# Traces outlive the run's folder, which every run empties.
traces="$build/start-end-traces"
mkdir -p "$traces"
cd "$work"
csv="$work/starts.csv"
echo "way,number,exit_code,seconds_to_end,left_behind,presses" >"$csv"
SHOW=Sprite MESSAGE="Zarn Scr.s. Message" DIALOG="Zarn Screensaver Configuration"

disturb() {
  zwine "$bits" wine "$build/bench/disturb.exe" "$@" 2>/dev/null | tr -d '\r'
}

# Starts the program with ARGUMENTS and OVERRIDES as the start's process, its Wine log
# in the start's log file.
launch() {
  WINEDLLOVERRIDES=$1 zwine "$bits" wine ./Zarn_Scr.scr "${@:2}" 2>>"$log" &
  pid=$!
  SESSION_PIDS+=("$pid")
}

# Waits for the window titled TITLE, up to 30 s, searched again and again: Debian 12's
# xdotool (before 2021) ends a search with an X error when any window goes away meanwhile.
window_of() {
  local tries
  for tries in $(seq 1 300); do
    xdotool search --name "^$1\$" 2>/dev/null | head -n 1 | grep . && return 0
    sleep 0.1
  done
  return 1
}

# The start's end, KEY held meanwhile if given: its exit code in code, the seconds from
# SINCE to its end in took. Past the limit, its threads are traced and it is stopped.
await_end() {
  local since=$1
  if wait_for_end "$pid" "$limit" "${2:-}"; then
    took=$(awk -v a="$since" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }')
    code=0
    wait "$pid" || code=$?
    return 0
  fi
  took=">$limit" code=none
  trace "$pid"
  zwine "$bits" wineserver -k >/dev/null 2>&1 || true
  wait "$pid" 2>/dev/null || true
}

trace() {
  local file="$traces/$(date +%Y%m%d-%H%M%S)-$way-$number" task
  zwine "$bits" wine winedbg --command "bt all" >"$file.winedbg" 2>&1 || true
  xwininfo -root -tree >"$file.windows" 2>&1 || true
  for task in /proc/*/task/*; do
    grep -qa Zarn_Scr.scr "$task/cmdline" 2>/dev/null && grep -qxF "WINEPREFIX=$WINEPREFIX" <(tr '\0' '\n' <"$task/environ") 2>/dev/null &&
      printf '%s %s %s\n%s\n' "$task" "$(cat "$task/comm")" "$(cat "$task/wchan")" "$(cat "$task/stack" 2>/dev/null)"
  done >"$file.threads"
  cp "$log" "$file.log"
  echo "start-end: $way $number did not end: traces in $file.*" >&2
}

# Processes of the program under this run's prefix, and its windows on this run's display.
left_behind() {
  local process found=
  for process in $(pgrep -f Zarn_Scr.scr); do
    tr '\0' '\n' 2>/dev/null <"/proc/$process/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && found+="process $process "
  done
  xdotool search --name "^($SHOW|$MESSAGE|$DIALOG)\$" >/dev/null 2>&1 && found+="window"
  echo "${found:-none}"
}

# One start of WAY: sets code and took.
start_once() {
  local window second
  case $way in
  escape | background | second)
    launch "" /s
    window=$(window_of "$SHOW") || true
    [ -n "$window" ] || { await_end "$EPOCHREALTIME" && code="$code (no window)" && return; }
    # The keyboard is read from the first frame on: a press before it is no press.
    sleep 1
    if [ "$way" = second ]; then
      local first=$pid started=$EPOCHREALTIME
      launch "" /s
      await_end "$started"
      second="$code,$took" pid=$first
    fi
    if [ "$way" = background ]; then
      local started=$EPOCHREALTIME
      disturb away >>"$log" || true
      await_end "$started"
    else
      await_end "$EPOCHREALTIME" Escape
    fi
    # The second start is the way's subject; the first must end as well.
    if [ "$way" = second ]; then
      [ "$code" = 0 ] && code=${second%,*} || code="${second%,*} (the second); $code (the first)"
      took=${second#*,}
    fi
    ;;
  no-ddraw | no-dinput)
    launch "${way#no-}=" /s
    window=$(window_of "$MESSAGE") || true
    # No window manager gives the box the keyboard: it is given, and Return pressed once
    # the focus has moved (--sync, bounded, as it can wait for ever), then Return is OK.
    # Should a press still miss the box, Return again once a second; presses are counted.
    local since=$EPOCHREALTIME
    if [ -n "$window" ]; then
      for presses in $(seq 1 "$limit"); do
        timeout 2 xdotool windowfocus --sync "$window" 2>/dev/null || true
        xdotool key Return 2>/dev/null || true
        wait_for_end "$pid" 1 && break
      done
    fi
    await_end "$since"
    [ -n "$window" ] || code="$code (no message)"
    ;;
  preview | password)
    local since=$EPOCHREALTIME
    if [ "$way" = preview ]; then launch "" /p 123; else launch "" /a; fi
    await_end "$since"
    ;;
  cancel | ok)
    launch "" /c
    window=$(window_of "$DIALOG") || true
    local since=$EPOCHREALTIME
    # The dialog's buttons by their numbers: OK 4, Cancel 5.
    [ -z "$window" ] || disturb click "$DIALOG" "$([ "$way" = ok ] && echo 4 || echo 5)" >>"$log" || true
    await_end "$since"
    [ -n "$window" ] || code="$code (no dialog)"
    ;;
  *) fail "start-end: no way '$way'" ;;
  esac
}

started=$SECONDS
faults=0
for number in $(seq 1 "$count"); do
  for way in "${ways[@]}"; do
    log="$work/wine.log" presses=
    : >"$log"
    start_once
    SESSION_PIDS=()
    left=$(left_behind)
    if [ "$left" != none ]; then
      zwine "$bits" wineserver -k >/dev/null 2>&1 || true
      # The next start begins with a prefix of its own again.
      zwine "$bits" wineserver -w >/dev/null 2>&1 || true
    fi
    echo "$way,$number,$code,$took,$left,$presses" >>"$csv"
    [ "$code" = 0 ] && [ "$left" = none ] || {
      faults=$((faults + 1))
      # Its Wine log tells a start that never ran apart from one the program ended wrongly.
      cp "$log" "$traces/$(date +%Y%m%d-%H%M%S)-$way-$number-exit.log"
      echo "start-end: $way $number: exit code $code, $took s, left behind: $left; its Wine log in $traces" >&2
    }
  done
done

echo "start-end: $bits-bit program, $(zwine "$bits" wine --version 2>/dev/null), $count of each way, $((SECONDS - started)) s; each start's line in $csv"
awk -F, 'NR > 1 { n[$1]++; codes[$1, $3]++; if ($5 != "none") left[$1]++; if ($6 > 1) again[$1]++
    if ($4 ~ /^[0-9.]+$/) { t = $4 + 0; sum[$1] += t; if (t > most[$1]) most[$1] = t } }
  END { for (way in n) {
      line = ""
      for (key in codes) { split(key, part, SUBSEP); if (part[1] == way) line = line sprintf(" %s x%d", part[2], codes[key]) }
      printf "  %-11s %d starts, exit code%s; to the end %.2f s on average, %.2f s at most; left behind: %d%s\n",
        way, n[way], line, sum[way] / n[way], most[way], left[way], again[way] ? "; Return pressed again: " again[way] : "" } }' "$csv" | sort
echo "start-end: faults: $faults (the bound: exit code 0 within $limit s, nothing left)"
[ "$faults" -eq 0 ]
