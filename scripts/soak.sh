#!/usr/bin/env bash
# The soak run: soak.sh [--32] [MINUTES]. The show of the 64-bit program (or with --32
# the 32-bit one, under the 32-bit Wine) with 100 copies and no frame delay for MINUTES
# minutes (10 by default) on a private display, with what the process holds sampled at the
# start and every minute: Windows' view (private bytes, handles, GDI and USER
# objects, through bench/procstats under the same Wine server) and Linux's view of the
# Wine process (resident memory, open files, CPU time). Writes build/winNN/soak/soak.csv and prints the
# first and last samples. Not part of the test command. Wine 8 leaves private bytes,
# the handle count and the GDI/USER object counts at 0; the working set and Linux's
# view are the figures that say something there.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=$(choose_build "$@")
[ "$bits" = 32 ] && shift
minutes=${1:-10}
install_and_build "$bits"
begin_wine_session "$bits"
build="$ZARN_ROOT/build/win$bits"

soak="$build/soak"
rm -rf "$soak"
mkdir -p "$soak"
cp "$build/Zarn_Scr.scr" "$soak/"
printf 'ZCOUNT = 100\r\nZDELAY = 0\r\n' >"$soak/Zarn_Scr.ini"

zwine "$bits" wine "$soak/Zarn_Scr.scr" /s &
show=$!
sleep 20

csv="$soak/soak.csv"
echo "minute,private_bytes,working_set,handles,gdi_objects,user_objects,linux_rss_kb,linux_open_files,cpu_seconds" >"$csv"
sample() {
  local minute=$1 stats pid rss files
  stats=$(zwine "$bits" wine "$build/bench/procstats.exe" Zarn_Scr.scr | tr -d '\r')
  pid=$(pgrep -f 'soak.Zarn_Scr.scr' | head -n 1)
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  files=$(ls "/proc/$pid/fd" | wc -l)
  # User and system time, in clock ticks (fields 14 and 15).
  cpu=$(awk -v hz="$(getconf CLK_TCK)" '{ printf "%.2f", ($14 + $15) / hz }' "/proc/$pid/stat")
  echo "$minute,$(sed -E 's/[a-z_]+=//g; s/ /,/g' <<<"$stats"),$rss,$files,$cpu" >>"$csv"
}
sample 0
for minute in $(seq 1 "$minutes"); do
  sleep 60
  kill -0 "$show" 2>/dev/null || { echo "soak: the show ended by itself after $minute minutes" >&2; exit 1; }
  sample "$minute"
done
xdotool key Escape
wait "$show"
echo "show ended with exit code $?"
echo "first and last samples ($csv):"
head -n 2 "$csv"
tail -n 1 "$csv"
"$ZARN_ROOT/scripts/soak-plot.sh"
