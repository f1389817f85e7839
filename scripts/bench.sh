#!/usr/bin/env bash
# The benchmark: the show's frame loop at 100 copies with no frame delay, and beside it
# a reference program making the same DirectX calls per frame directly, both under Wine
# at 640x480 in 16 bits. Prints frames per second, CPU milliseconds per frame, the
# engine's frame rate as a share of the reference's, the time from process start to
# the first flip, heap allocations per frame and the executable sizes.
# The two programs run at once, each on a private display with its own prefix, and take
# turns: a round of the one, then the same frames of the other, so each round's pair
# sees the same scene and the same load of the machine. Strictly in turn: a program's
# round right after its own previous one runs faster than one after the other's.
# Each share is the median over the rounds' pairs, with the lowest and highest. SESSIONS
# starts (3 by default) of the pair, each warmed up for 300 frames, then ROUNDS rounds
# (16 by default) of the given frames (25 by default): frames 300 to 700 of the flight.
# The 64-bit pair runs under Debian 12's Wine, then the 32-bit pair under the 32-bit
# Wine (never both at once); BUILDS="64" or "32" runs one. Where the processor runs no
# 32-bit code, the default runs the 64-bit pair and says why the 32-bit one did not
# run; BUILDS=32 stops with that reason. Arguments: [frames per round].
set -euo pipefail
frames=${1:-25}
rounds=${ROUNDS:-16}
sessions=${SESSIONS:-3}
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
root=$ZARN_ROOT
# A round that does not end in this many seconds means a program hangs.
round_limit=600
OPEN_INPUTS=()

bench_build() {
  local bits=$1 build="$root/build/win$1" work="$root/build/win$1/bench-run" started=$SECONDS session round
  DISPLAY=$engine_display prepare_wine_prefix "$bits" "$build/wineprefix-run"
  DISPLAY=$reference_display prepare_wine_prefix "$bits" "$build/wineprefix-bench"
  rm -rf "$work"
  mkdir -p "$work"
  cp "$build/bench/zarn_engine_bench.exe" "$build/bench/zarn_reference_bench.exe" "$work/"
  cd "$work"
  for session in $(seq 1 "$sessions"); do
    start_program engine "$bits" "$engine_display" "$build/wineprefix-run"
    start_program reference "$bits" "$reference_display" "$build/wineprefix-bench"
    for round in $(seq 1 "$rounds"); do
      run_round engine
      run_round reference
    done
    end_program reference
    end_program engine
    OPEN_INPUTS=()
  done
  echo
  echo "$bits-bit pair, $(zwine "$bits" wine --version 2>/dev/null), $((SECONDS - started)) s"
  print_figures
}

# Starts zarn_NAME_bench.exe, which measures a round each time it reads a line, with
# its standard input and output through FIFOs (IN_NAME, OUT_NAME are their descriptors),
# and waits until it has set up and warmed up: start_program NAME BITS DISPLAY PREFIX.
start_program() {
  local name=$1 input output
  rm -f "$name.in" "$name.out"
  mkfifo "$name.in" "$name.out"
  # The other program's input stays open only in this shell: it ends when that closes.
  (
    for input in "${OPEN_INPUTS[@]}"; do exec {input}>&-; done
    DISPLAY=$3 WINEPREFIX=$4 exec "$root/scripts/wine.sh" "$2" wine "./zarn_${name}_bench.exe" "$frames" \
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
end_program() {
  local input="IN_$1" output="OUT_$1" pid="PID_$1" fd line
  fd=${!input}
  exec {fd}>&-
  while IFS= read -r -t "$round_limit" -u "${!output}" line; do
    echo "${line%$'\r'}" >>"$1.txt"
  done
  fd=${!output}
  exec {fd}<&-
  wait "${!pid}" || fail "zarn_$1_bench.exe failed (its lines: $PWD/$1.txt)"
}

# The values of KEY in FILE, one a line.
values() { awk -v key="$2" '$1 == key { print $2 }' "$1"; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) printf "%.*f", p, (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2 }' p="$1"; }
highest() { sort -n | tail -1; }
mean() { values "$1" "$2" | awk '{ sum += $1 } END { if (NR) printf "%.1f", sum / NR }'; }

print_figures() {
  echo "frames per round: $frames, rounds: $rounds in each of $sessions starts (median round of each)"
  printf '%-34s %12s %12s\n' "" engine reference
  row() {
    printf '%-34s %12s %12s\n' "$1" "$(values engine.txt "engine_$2" | "$3" "${4:-}")" \
      "$(values reference.txt "reference_$2" | "$3" "${4:-}")"
  }
  row "frames per second" fps median 1
  row "CPU ms per frame" cpu_ms_per_frame median 2
  row "heap allocations per frame (most)" allocations_per_frame highest
  printf '%-34s %12s %12s\n' "ms from process start to 1st flip" "$(mean engine.txt engine_start_to_first_flip_ms)" \
    "$(mean reference.txt reference_start_to_first_flip_ms)"
  printf '%-34s %12s %12s\n' "heap allocations during set-up" "$(mean engine.txt engine_setup_allocations)" \
    "$(mean reference.txt reference_setup_allocations)"
  printf 'mean pause for a frame delay of 10 ms: %s ms, of 120 ms: %s ms\n' \
    "$(mean engine.txt engine_pause_10ms_mean_ms)" "$(mean engine.txt engine_pause_120ms_mean_ms)"
  share "frame rate" fps
  share "CPU time per frame" cpu_ms_per_frame
}

# The engine's figure KEY as a share of the reference's in each round's pair: the
# median, lowest and highest.
share() {
  paste <(values engine.txt "engine_$2") <(values reference.txt "reference_$2") |
    awk '{ printf "%.1f\n", 100 * $1 / $2 }' | sort -n >"shares_$2.txt"
  printf 'engine / reference %s, median of %s rounds: %s%% (lowest %s%%, highest %s%%)\n' "$1" \
    "$(wc -l <"shares_$2.txt")" "$(median 1 <"shares_$2.txt")" "$(head -1 "shares_$2.txt")" "$(tail -1 "shares_$2.txt")"
}

for bits in $builds; do
  bench_build "$bits"
done
for exe in "$root/build/win32/Zarn_Scr.scr" "$root/build/win64/Zarn_Scr.scr"; do
  printf 'size of %s: %s bytes\n' "${exe#$root/}" "$(stat -c %s "$exe")"
done
[ -z "$untested_32" ] || echo "zarn: $NO_32BIT_LINE"
