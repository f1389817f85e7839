#!/usr/bin/env bash
# soak-plot.sh [PICTURE (docs/soak.png)]: draws the soak runs' files (build/win64/soak and
# build/win32/soak) into PICTURE:
# one panel per quantity that some run measured (a column that stays 0 is Wine's answer,
# not a measure), one line per build, and the disturbances marked as vertical lines.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
picture=${1:-$root/docs/soak.png}
command -v gnuplot >/dev/null || "$root/scripts/setup.sh"
csvs=() titles=()
for bits in 64 32; do
  [ -f "$root/build/win$bits/soak/soak.csv" ] || continue
  csvs+=("$root/build/win$bits/soak/soak.csv")
  titles+=("$bits-bit")
done
[ ${#csvs[@]} -gt 0 ] || { echo "soak-plot: no soak.csv yet (run scripts/soak.sh)" >&2; exit 1; }

# Column, scale and label of each quantity; the CPU's is worked out from its growth.
QUANTITIES="2 1048576 working set (Toolhelp), MB
3 1 threads (Toolhelp)
4 1048576 private bytes, MB
5 1 handles
6 1 GDI objects
7 1 USER objects
8 1024 resident memory (/proc), MB
9 1 open files (/proc)
10 1 threads (/proc)
11 1 X resources (xrestop)
12 1024 X pixmap bytes (xrestop), kB
13 0 CPU over 10 s, % of one core"
measured=$(awk -F, 'FNR > 1 { for (i = 2; i <= NF; i++) if ($i != 0 && $i != "") seen[i] = 1 }
  END { for (i in seen) print i }' "${csvs[@]}")
panels=()
while read -r column scale label; do
  grep -qx "$column" <<<"$measured" || continue
  lines=()
  for i in "${!csvs[@]}"; do
    if [ "$scale" = 0 ]; then
      using="(\$1 / 60):(used = \$1 == 0 ? NaN : (\$$column - prev) / (\$1 - then), prev = \$$column, then = \$1, used)"
    else
      using="(\$1 / 60):(\$$column / $scale)"
    fi
    lines+=("'${csvs[$i]}' every ::1 using $using with lines lw 1.5 title '${titles[$i]}'")
  done
  panels+=("set ylabel \"$label\"
plot $(IFS=,; echo "${lines[*]}")")
done <<<"$QUANTITIES"

# The first run's disturbances: minute, and a colour for each kind.
arrows=$(awk -F, 'NR > 1 { colour = $2 == "window" ? "red" : $2 == "keys" ? "dark-green" : "blue"
  printf "set arrow from %f, graph 0 to %f, graph 1 nohead lc rgb \"%s\" dt 3\n", $1 / 60, $1 / 60, colour }' \
  "$(dirname "${csvs[0]}")/events.csv")
rows=$(((${#panels[@]} + 2) / 3))
gnuplot <<PLOT
set terminal pngcairo noenhanced size 1350,$((250 * rows + 40)) font ",9"
set output '$picture'
set datafile separator ','
set multiplot layout $rows,3 title "Soak: 100 copies, no frame delay, two monitors. Dotted: a window in front (red), WM_DISPLAYCHANGE (blue), 50 keys (green)"
set xlabel 'minute'
set key bottom right
set yrange [0:*]
set offsets 0, 0, graph 0.15, 0
$arrows
$(printf '%s\n' "${panels[@]}")
unset multiplot
PLOT
echo "soak-plot: $picture"
