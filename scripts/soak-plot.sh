#!/usr/bin/env bash
# Draws docs/soak.png from the soak runs' CSV files (build/win64 and build/win32):
# resident memory and CPU use over the run, one line per build that has one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
command -v gnuplot >/dev/null || "$root/scripts/setup.sh"
memory=() cpu=()
for bits in 64 32; do
  csv="$root/build/win$bits/soak/soak.csv"
  [ -f "$csv" ] || continue
  memory+=("'$csv' every ::1 using 1:(\$7 / 1024) with linespoints title '$bits-bit'")
  # CPU use per minute, as a share of one core: the growth of the CPU time.
  cpu+=("'$csv' every ::1 using 1:(used = \$1 == 0 ? NaN : 100 * (\$9 - prev) / 60, prev = \$9, used) with linespoints title '$bits-bit'")
done
[ ${#memory[@]} -gt 0 ] || { echo "soak-plot: no soak.csv yet (run scripts/soak.sh)" >&2; exit 1; }
join() { local IFS=,; echo "$*"; }
gnuplot <<PLOT
set terminal pngcairo size 900,360 font ",10"
set output '$root/docs/soak.png'
set datafile separator ','
set multiplot layout 1,2 title 'Soak: the show with 100 copies and no frame delay'
set xlabel 'minute'
set ylabel 'resident memory of the Wine process (MB)'
set yrange [0:*]
set offsets 0, 0, graph 0.15, 0
plot $(join "${memory[@]}")
set ylabel 'CPU over the last minute (% of one core)'
plot $(join "${cpu[@]}")
unset multiplot
PLOT
echo "soak-plot: docs/soak.png"
