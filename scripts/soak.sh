#!/usr/bin/env bash
# The soak run: soak.sh [--32] [MINUTES (10)]. The show with 100 copies and no frame
# delay on a private display, what its process holds sampled every minute into
# build/winNN/soak/soak.csv: Windows' view (bench/procstats under the same Wine server)
# and Linux's view of the Wine process, the one that says something under Wine 8,
# which leaves private bytes, handles and GDI/USER objects at 0.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=64
[ "${1:-}" = --32 ] && bits=32 && shift
minutes=${1:-10}
install_and_build "$bits"
begin_wine_session "$bits"
build="$ZARN_ROOT/build/win$bits"
fresh_folder "$build/soak" "$build/Zarn_Scr.scr"
printf 'ZCOUNT = 100\r\nZDELAY = 0\r\n' >"$build/soak/Zarn_Scr.ini"
start_program "$bits" "$build/soak/Zarn_Scr.scr" /s
sleep 20

csv="$build/soak/soak.csv"
echo "minute,private_bytes,working_set,handles,gdi_objects,user_objects,linux_rss_kb,linux_open_files,cpu_seconds" >"$csv"
sample() {
  local stats pid rss files cpu
  stats=$(zwine "$bits" wine "$build/bench/procstats.exe" Zarn_Scr.scr | tr -d '\r')
  pid=$(pgrep -f 'soak.Zarn_Scr.scr' | head -n 1)
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  files=$(ls "/proc/$pid/fd" | wc -l)
  # User and system time, in clock ticks (fields 14 and 15).
  cpu=$(awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$pid/stat")
  echo "$1,$(sed -E 's/[a-z_]+=//g; s/ /,/g' <<<"$stats"),$rss,$files,$cpu" >>"$csv"
}
sample 0
for minute in $(seq 1 "$minutes"); do
  sleep 60
  kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the show ended by itself after $minute minutes"
  sample "$minute"
done
xdotool key Escape
wait "$PROGRAM_PID"
echo "show ended with exit code $?"
SESSION_PIDS=()
printf 'first and last samples (%s):\n' "$csv"
head -n 2 "$csv"
tail -n 1 "$csv"
"$ZARN_ROOT/scripts/soak-plot.sh"
