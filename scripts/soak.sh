#!/usr/bin/env bash
# The soak run: soak.sh [--32] [MINUTES (60)]. The show with 100 copies and no frame
# delay on the two-monitor display (so the covers are in play), disturbed once a minute
# in turn: another program's window in front for a second, a WM_DISPLAYCHANGE, 50 keys
# other than Escape; after each the show must move again within 2 s. Every 10 s what the
# show's own process holds goes into build/winNN/soak/soak.csv (see SAMPLES), the
# disturbances into events.csv. At the end Escape is held until the show ends, for
# ZARN_END_SECONDS (20) at most. Whatever the show did, the summary is printed and the
# plot drawn: docs/soak.png after an hour or more, soak.png beside the samples after a
# shorter trial, so that a trial never replaces the page's picture. The run fails when
# the show did not end with 0, missed a return, or a quantity grew: after the first
# twelfth of the run (5 of 60 minutes), the highest value of the second half may pass the
# first half's highest by 1 MiB for sizes and by 2 for counts. Private bytes, handles,
# GDI and USER objects that stay 0 are Wine's answer for another process: not measured.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=64
[ "${1:-}" = --32 ] && bits=32 && shift
minutes=${1:-60}
limit=${ZARN_END_SECONDS:-20}
install_and_build "$bits"
command -v xrestop >/dev/null || fail "xrestop is missing (Debian's xrestop): it reads the show's X resources"
build="$ZARN_ROOT/build/win$bits"
work="$build/soak"

begin_two_monitor_session "$bits" || exit 1

fresh_folder "$work" "$build/Zarn_Scr.scr"
printf 'ZCOUNT = 100\r\nZDELAY = 0\r\n' >"$work/Zarn_Scr.ini"
cd "$work"
start_program "$bits" ./Zarn_Scr.scr /s

# The show's own Wine process: at or below the process started, the one whose executable
# is Wine's and whose command line names the program; never sudo, the 32-bit root's
# entry or another run's show.
find_show() {
  local child
  case $(readlink "/proc/$1/exe" 2>/dev/null) in
  */wine*) grep -qa Zarn_Scr.scr "/proc/$1/cmdline" 2>/dev/null && echo "$1" && return 0 ;;
  esac
  for child in $(pgrep -P "$1"); do find_show "$child" && return 0; done
  return 1
}
show=
for _ in $(seq 1 300); do
  show=$(find_show "$PROGRAM_PID") && break
  sleep 0.1
done
[ -n "$show" ] || fail "no Wine process of the show below process $PROGRAM_PID"

SAMPLES="seconds,working_set,toolhelp_threads,private_bytes,handles,gdi_objects,user_objects,rss_kb,open_files,threads,x_resources,x_pixmap_bytes,cpu_ticks"
csv="$work/soak.csv" events="$work/events.csv"
echo "$SAMPLES" >"$csv"
echo "seconds,kind,result" >"$events"

# Windows' view through Toolhelp and the process APIs (bench/procstats under the show's
# Wine server), Linux's from /proc, the X server's from xrestop (the clients it gives the
# show's process id, which Wine sets on its windows).
sample() {
  local stats status x private working handles gdi user threads
  stats=$(zwine "$bits" wine "$build/bench/procstats.exe" Zarn_Scr.scr 2>/dev/null | tr -d '\r') || true
  read -r private working handles gdi user threads <<<"$(sed -E 's/[a-z_]+=//g' <<<"$stats")"
  status=$(cat "/proc/$show/status")
  x=$(xrestop -b -m 1 2>/dev/null | awk -F: -v pid="$show" '
    /^[0-9]+ - / { mine = $0 ~ "PID: *" pid " " }
    mine && /^\t(windows|GCs|fonts|pixmaps|pictures|glyphsets|colormaps|passive grabs|cursors|unknowns) / { total += $2 }
    mine && /^\tpixmap bytes/ { bytes += $2 }
    END { if (total != "") print total "," bytes + 0 }')
  echo "$1,${working:-},${threads:-},${private:-},${handles:-},${gdi:-},${user:-}," \
    "$(awk '/^VmRSS/ { print $2 }' <<<"$status"),$(ls "/proc/$show/fd" | wc -l)," \
    "$(awk '/^Threads/ { print $2 }' <<<"$status"),${x:-,},$(awk '{ print $14 + $15 }' "/proc/$show/stat")" |
    tr -d ' ' >>"$csv"
}

# Disturbance NUMBER at SECONDS, in turn; its result is the show's return.
KEYS=(a b c d e f g h i j k l m n o p q r s t u v w x y z 0 1 2 3 4 5 6 7 8 9
  space Return Tab BackSpace Left Right Up Down Home End F1 F2 F3 F4)
faults=0
disturb() {
  local kind result
  case $(($1 % 3)) in
  1) kind=window result=$(zwine "$bits" wine "$build/bench/disturb.exe" front 1000 2>/dev/null) ;;
  2) kind=display-change result=$(zwine "$bits" wine "$build/bench/disturb.exe" display-change 2>/dev/null) ;;
  0)
    kind=keys
    xdotool key --delay 20 "${KEYS[@]}"
    result=$(zwine "$bits" wine "$build/bench/disturb.exe" watch 2>/dev/null)
    ;;
  esac || { faults=$((faults + 1)) && result="$result FAILED"; }
  result=$(tr -d '\r' <<<"$result" | tr , ';' | paste -sd ' ')
  echo "$2,$kind,$result" >>"$events"
}

# Short sleeps: a signal's trap runs once the command in front has returned.
start=$SECONDS
ran=0
for tick in $(seq 0 $((minutes * 6))); do
  while [ $((SECONDS - start)) -lt $((tick * 10)) ]; do sleep 1; done
  kill -0 "$show" 2>/dev/null || break
  sample $((SECONDS - start))
  ran=$((SECONDS - start))
  if [ $((tick % 6)) -eq 0 ] && [ "$tick" -gt 0 ] && [ "$tick" -lt $((minutes * 6)) ]; then
    sleep 5
    disturb $((tick / 6)) $((SECONDS - start))
  fi
done

if ! kill -0 "$show" 2>/dev/null; then
  code="none: the show ended by itself after $ran s"
  wait "$PROGRAM_PID" && code="$code, with 0" || code="$code, with $?"
else
  if wait_for_end "$PROGRAM_PID" "$limit" Escape; then
    code=0
    wait "$PROGRAM_PID" || code=$?
  else
    code="none within $limit s of Escape"
  fi
fi
[ "$code" = 0 ] && SESSION_PIDS=() || faults=$((faults + 1))

echo "soak: $bits-bit show, $(zwine "$bits" wine --version 2>/dev/null), $minutes minutes, pid $show; exit code: $code"
awk -F, 'NR > 1 { n[$2]++; if ($3 ~ /FAILED/) bad[$2]++
  if (match($3, /back [0-9]+/)) { ms = substr($3, RSTART + 5, RLENGTH - 5) + 0; if (ms > most[$2]) most[$2] = ms } }
  END { for (k in n) printf "  %s: %d times, back within %d ms at the longest, %d missed\n", k, n[k], most[k], bad[k] }' "$events"
growth=$(awk -F, -v total="$ran" '
  NR == 1 { for (i = 2; i < NF; i++) name[i] = $i; last = NF - 1; next }
  { for (i = 2; i <= last; i++) {
      if ($i != 0 || name[i] !~ /private|handles|gdi|user/) seen[i] = 1
      if ($1 >= total / 12 && $1 < total / 2 && $i > first[i]) first[i] = $i
      if ($1 >= total / 2 && $i > second[i]) second[i] = $i
      if (NR == 2) start[i] = $i; end[i] = $i } }
  END { for (i = 2; i <= last; i++) {
      slack = name[i] ~ /bytes|set|kb/ ? (name[i] ~ /kb/ ? 1024 : 1048576) : 2
      verdict = !seen[i] ? "not measured (Wine gives 0)" : second[i] <= first[i] + slack ? "flat" : "GREW"
      printf "  %-17s start %s, highest %s in the first half, %s in the second, end %s: %s\n",
        name[i], start[i], first[i] + 0, second[i] + 0, end[i], verdict } }' "$csv")
echo "$growth"
grep -q GREW <<<"$growth" && faults=$((faults + 1))
picture=$ZARN_ROOT/docs/soak.png
[ "$minutes" -ge 60 ] || picture=$work/soak.png
"$ZARN_ROOT/scripts/soak-plot.sh" "$picture" || faults=$((faults + 1))
echo "soak: samples in $csv, disturbances in $events; faults: $faults"
[ "$faults" -eq 0 ]
