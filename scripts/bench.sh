#!/usr/bin/env bash
# The benchmark: the show's frame loop at 100 copies with no frame delay, and beside it
# a reference program making the same DirectX calls per frame directly, both under Wine
# on a private 640x480 16-bit display. Prints frames per second, CPU milliseconds per
# frame, their ratio, the time from process start to the first flip, heap allocations
# per frame and the executable sizes. Each program runs ROUNDS times (3 by default),
# alternating, and its best round counts. The 64-bit pair runs under Debian 12's Wine,
# then the 32-bit pair under the 32-bit Wine (never both at once); BUILDS="64" or "32"
# runs one. Where the processor runs no 32-bit code, the default runs the 64-bit pair
# and says why the 32-bit one did not run; BUILDS=32 stops with that reason.
# Arguments: [frames per round].
set -euo pipefail
frames=${1:-600}
rounds=${ROUNDS:-3}
source "$(dirname "$0")/lib/commands.sh"
builds=${BUILDS:-64 32}
untested_32=
if [ "$builds" != 32 ] && [[ " $builds " == *" 32 "* ]]; then
  "$ZARN_ROOT/scripts/setup.sh"
  runs_32bit_code || { builds=64 && untested_32=1; }
fi
case " $builds " in *" 32 "*) install_and_build 32 ;; *) install_and_build 64 ;; esac
end_session_on_exit
start_private_display
root=$ZARN_ROOT

bench_build() {
  local bits=$1 build="$root/build/win$1" work="$root/build/win$1/bench-run"
  prepare_wine_prefix "$bits" "$build/wineprefix-run"
  rm -rf "$work"
  mkdir -p "$work"
  cp "$build/bench/zarn_engine_bench.exe" "$build/bench/zarn_reference_bench.exe" "$work/"
  cd "$work"
  for round in $(seq 1 "$rounds"); do
    zwine "$bits" wine ./zarn_engine_bench.exe "$frames" 2>/dev/null | tr -d '\r' >>engine.txt
    zwine "$bits" wine ./zarn_reference_bench.exe "$frames" 2>/dev/null | tr -d '\r' >>reference.txt
  done
  echo
  echo "$bits-bit pair, $(zwine "$bits" wine --version 2>/dev/null)"
  print_figures
  zwine "$bits" wineserver -k >/dev/null 2>&1 || true
}

# The round with the most frames per second, as "key value" lines.
best() {
  awk -v name="$2" '
    { value[NR] = $2; key[NR] = $1 }
    $1 == name "_fps" && $2 > top { top = $2; at = NR }
    END {
      for (i = at - 1; i <= at + 2; i++) print key[i], value[i]
    }' "$1"
}
mean() { awk -v key="$2" '$1 == key { sum += $2; n++ } END { if (n) printf "%.1f", sum / n }' "$1"; }

print_figures() {
  best engine.txt engine >engine.best
  best reference.txt reference >reference.best
  get() { awk -v key="$2" '$1 == key { print $2 }' "$1"; }
  efps=$(get engine.best engine_fps)
  rfps=$(get reference.best reference_fps)
  echo "frames per round: $frames, rounds: $rounds (best round of each)"
  printf '%-34s %12s %12s\n' "" engine reference
  printf '%-34s %12s %12s\n' "frames per second" "$efps" "$rfps"
  printf '%-34s %12s %12s\n' "CPU ms per frame" "$(get engine.best engine_cpu_ms_per_frame)" \
    "$(get reference.best reference_cpu_ms_per_frame)"
  printf '%-34s %12s %12s\n' "heap allocations per frame" "$(get engine.best engine_allocations_per_frame)" \
    "$(get reference.best reference_allocations_per_frame)"
  printf '%-34s %12s %12s\n' "ms from process start to 1st flip" "$(mean engine.txt engine_start_to_first_flip_ms)" \
    "$(mean reference.txt reference_start_to_first_flip_ms)"
  printf '%-34s %12s %12s\n' "heap allocations during set-up" "$(mean engine.txt engine_setup_allocations)" \
    "$(mean reference.txt reference_setup_allocations)"
  printf 'mean pause for a frame delay of 10 ms: %s ms, of 120 ms: %s ms\n' \
    "$(mean engine.txt engine_pause_10ms_mean_ms)" "$(mean engine.txt engine_pause_120ms_mean_ms)"
  awk -v e="$efps" -v r="$rfps" 'BEGIN { printf "engine / reference frame rate: %.1f%%\n", 100 * e / r }'
}

for bits in $builds; do
  bench_build "$bits"
done
for exe in "$root/build/win32/Zarn_Scr.scr" "$root/build/win64/Zarn_Scr.scr"; do
  printf 'size of %s: %s bytes\n' "${exe#$root/}" "$(stat -c %s "$exe")"
done
[ -z "$untested_32" ] || echo "zarn: $NO_32BIT_LINE"
