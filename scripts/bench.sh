#!/usr/bin/env bash
# The benchmark: bench.sh [FRAMES PER ROUND (25)], with SESSIONS (6) starts of ROUNDS
# (24) rounds each for the pairs BUILDS ("64 32") names. The show's frame loop and a
# reference program making the same DirectX calls directly take turns strictly, so
# that each round's pair sees the same scene and the same load of the machine: a
# program's round right after its own previous one runs faster. Where the processor
# runs no 32-bit code the default runs the 64-bit pair and says why.
set -euo pipefail
frames=${1:-25}
# Single pairs differ by up to a fifth either way, and starts by a few points: fewer
# pairs than these let two runs' medians differ by more than 3 points.
rounds=${ROUNDS:-24}
sessions=${SESSIONS:-6}
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
engine_display=$DISPLAY
start_private_display
reference_display=$DISPLAY
# A round that does not end in this many seconds means a program hangs.
round_limit=600
OPEN_INPUTS=()

bench_build() {
  local bits=$1 build="$ZARN_ROOT/build/win$1" started=$SECONDS session round
  DISPLAY=$engine_display prepare_wine_prefix "$bits" "$build/wineprefix-run"
  DISPLAY=$reference_display prepare_wine_prefix "$bits" "$build/wineprefix-bench"
  fresh_folder "$build/bench-run" "$build/bench/zarn_engine_bench.exe" "$build/bench/zarn_reference_bench.exe"
  cd "$build/bench-run"
  for session in $(seq 1 "$sessions"); do
    start_bench engine "$bits" "$engine_display" "$build/wineprefix-run"
    start_bench reference "$bits" "$reference_display" "$build/wineprefix-bench"
    for round in $(seq 1 "$rounds"); do
      run_round engine
      run_round reference
    done
    end_bench reference
    end_bench engine
    OPEN_INPUTS=()
  done
  printf '\n%s\n' "$bits-bit pair, $(zwine "$bits" wine --version 2>/dev/null), $((SECONDS - started)) s"
  print_figures
}

# Starts zarn_NAME_bench.exe, which measures a round each time it reads a line, with
# its standard input and output through FIFOs (IN_NAME, OUT_NAME are their descriptors),
# and waits until it has set up and warmed up: start_bench NAME BITS DISPLAY PREFIX.
start_bench() {
  local name=$1 input output
  rm -f "$name.in" "$name.out"
  mkfifo "$name.in" "$name.out"
  # The other program's input stays open only in this shell: it ends when that closes.
  (
    for input in "${OPEN_INPUTS[@]}"; do exec {input}>&-; done
    DISPLAY=$3 WINEPREFIX=$4 exec "$ZARN_ROOT/scripts/wine.sh" "$2" wine "./zarn_${name}_bench.exe" "$frames" \
      rounds-on-request <"$name.in" >"$name.out" 2>/dev/null
  ) &
  printf -v "PID_$name" %s $!
  exec {input}>"$name.in" {output}<"$name.out"
  OPEN_INPUTS+=("$input")
  printf -v "IN_$name" %s "$input"
  printf -v "OUT_$name" %s "$output"
  read_until "$name" "${name}_ready"
}

# Copies NAME's lines to NAME.txt up to the line LAST; fails when the program ends first.
read_until() {
  local name=$1 last=$2 output="OUT_$1" line
  while true; do
    IFS= read -r -t "$round_limit" -u "${!output}" line ||
      fail "zarn_${name}_bench.exe ended or hung before '$last' (its lines so far: $name.txt)"
    line=${line%$'\r'}
    [ "$line" = "$last" ] && return 0
    echo "$line" >>"$name.txt"
    [ "${line%% *}" = "$last" ] && return 0
  done
}

run_round() {
  local input="IN_$1"
  echo go >&"${!input}"
  read_until "$1" "$1_allocations_per_frame"
}

# Closes NAME's input, so that it ends (the engine measures its pauses first), and
# keeps what it prints until then.
end_bench() {
  local input="IN_$1" output="OUT_$1" pid="PID_$1" fd
  fd=${!input}
  exec {fd}>&-
  timeout "$round_limit" tr -d '\r' <&"${!output}" >>"$1.txt" || true
  fd=${!output}
  exec {fd}<&-
  wait "${!pid}" || fail "zarn_$1_bench.exe failed (its lines: $PWD/$1.txt)"
}

# The values of KEY in NAME.txt, one a line, and what is made of them.
values() { awk -v key="$1_$2" '$1 == key { print $2 }' "$1.txt"; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) printf "%.*f", p, (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2 }' p="$1"; }
highest() { sort -n | tail -1; }
mean() { awk '{ sum += $1 } END { if (NR) printf "%.1f", sum / NR }'; }
row() {
  printf '%-34s %12s %12s\n' "$1" "$(values engine "$2" | $3 ${4:-})" "$(values reference "$2" | $3 ${4:-})"
}

print_figures() {
  echo "frames per round: $frames, rounds: $rounds in each of $sessions starts (median round of each)"
  printf '%-34s %12s %12s\n' "" engine reference
  row "frames per second" fps median 1
  row "CPU ms per frame" cpu_ms_per_frame median 2
  row "heap allocations per frame (most)" allocations_per_frame highest
  row "ms from process start to 1st flip" start_to_first_flip_ms mean
  row "heap allocations during set-up" setup_allocations mean
  printf 'mean pause for a frame delay of 10 ms: %s ms, of 120 ms: %s ms\n' \
    "$(values engine pause_10ms_mean_ms | mean)" "$(values engine pause_120ms_mean_ms | mean)"
  share "frame rate" fps
  share "CPU time per frame" cpu_ms_per_frame
}

# The engine's figure KEY as a share of the reference's in each round's pair: the
# median, lowest and highest.
share() {
  paste <(values engine "$2") <(values reference "$2") | awk '{ printf "%.1f\n", 100 * $1 / $2 }' | sort -n >"shares_$2.txt"
  printf 'engine / reference %s, median of %s rounds: %s%% (lowest %s%%, highest %s%%)\n' "$1" \
    "$(wc -l <"shares_$2.txt")" "$(median 1 <"shares_$2.txt")" "$(head -1 "shares_$2.txt")" "$(tail -1 "shares_$2.txt")"
}

for bits in $builds; do
  bench_build "$bits"
done
for bits in 32 64; do
  printf 'size of %s: %s bytes\n' "build/win$bits/Zarn_Scr.scr" "$(stat -c %s "$ZARN_ROOT/build/win$bits/Zarn_Scr.scr")"
done
[ -z "$untested_32" ] || echo "zarn: $NO_32BIT_LINE"
