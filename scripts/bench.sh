#!/usr/bin/env bash
# bench.sh [FRAMES PER ROUND (25)]: SESSIONS (6) starts of ROUNDS (24) rounds of each pair
# BUILDS ("64 32") names (docs/developers.md); bench.sh --figures FOLDER: a run's figures
# again. The programs take turns: one's round right after its own previous one runs faster.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
frames=${1:-25}
# Single pairs differ by up to a fifth either way, and starts by a few points: fewer
# pairs than these let two runs' medians differ by more than 3 points.
rounds=${ROUNDS:-24}
sessions=${SESSIONS:-6}
# A round that does not end in this many seconds means a program hangs.
round_limit=600
# Each program's display, process and FIFO descriptors, by name.
declare -A SCREEN PID IN OUT

bench_build() {
  local bits=$1 build="$ZARN_ROOT/build/win$1" started=$SECONDS session round name
  local -A prefix=([engine]="$(run_prefix "$bits")" [reference]="$build/wineprefix-bench")
  for name in engine reference; do
    DISPLAY=${SCREEN[$name]} prepare_wine_prefix "$bits" "${prefix[$name]}"
  done
  fresh_folder "$build/bench-run" "$build/bench/zarn_engine_bench.exe" "$build/bench/zarn_reference_bench.exe"
  cd "$build/bench-run"
  for session in $(seq 1 "$sessions"); do
    for name in engine reference; do start_bench "$name" "$bits" "${prefix[$name]}"; done
    for round in $(seq 1 "$rounds"); do
      for name in engine reference; do
        echo go >&"${IN[$name]}"
        read_until "$name" "${name}_allocations_per_frame"
      done
    done
    end_bench reference
    end_bench engine
    SESSION_PIDS=()
  done
  printf '\n%s\nframes per round: %s, rounds: %s in each of %s starts (median round of each)\n' \
    "$bits-bit pair, $(zwine "$bits" wine --version 2>/dev/null), $((SECONDS - started)) s" "$frames" "$rounds" "$sessions"
  print_figures
}

# start_bench NAME BITS PREFIX: zarn_NAME_bench.exe, which measures a round for each line
# it reads, talking through FIFOs, set up and warmed up.
start_bench() {
  local name=$1 fd input output
  rm -f "$name.in" "$name.out"
  mkfifo "$name.in" "$name.out"
  # The other program's input stays open only in this shell: it ends when that closes.
  (
    for fd in "${IN[@]}"; do exec {fd}>&-; done
    DISPLAY=${SCREEN[$name]} WINEPREFIX=$3 exec "$ZARN_ROOT/scripts/wine.sh" "$2" wine "./zarn_${name}_bench.exe" "$frames" \
      rounds-on-request <"$name.in" >"$name.out" 2>/dev/null
  ) &
  PID[$name]=$!
  SESSION_PIDS+=("$!")
  exec {input}>"$name.in" {output}<"$name.out"
  IN[$name]=$input OUT[$name]=$output
  read_until "$name" "${name}_ready"
}

# Copies NAME's lines to NAME.txt up to the line LAST; fails when the program ends first.
read_until() {
  local name=$1 last=$2 line
  while true; do
    IFS= read -r -t "$round_limit" -u "${OUT[$name]}" line ||
      fail "zarn_${name}_bench.exe ended or hung before '$last' (its lines so far: $name.txt)"
    line=${line%$'\r'}
    [ "$line" = "$last" ] && return 0
    echo "$line" >>"$name.txt"
    [ "${line%% *}" = "$last" ] && return 0
  done
}

# Closes NAME's input, so that it ends (the engine measures its pauses first).
end_bench() {
  local fd=${IN[$1]}
  exec {fd}>&-
  unset "IN[$1]"
  timeout "$round_limit" tr -d '\r' <&"${OUT[$1]}" >>"$1.txt" || true
  fd=${OUT[$1]}
  exec {fd}<&-
  wait "${PID[$1]}" || fail "zarn_$1_bench.exe failed (its lines: $PWD/$1.txt)"
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
# median, lowest and highest. Every round must have both figures.
share() {
  paste <(values engine "$2") <(values reference "$2") |
    awk 'NF != 2 || $2 + 0 <= 0 { bad = 1; exit } { printf "%.1f\n", 100 * $1 / $2 } END { exit bad || !NR }' | sort -n >"shares_$2.txt" ||
    fail "the engine's and the reference's $1 figures do not pair up, round by round"
  printf 'engine / reference %s, median of %s rounds: %s%% (lowest %s%%, highest %s%%)\n' "$1" \
    "$(wc -l <"shares_$2.txt")" "$(median 1 <"shares_$2.txt")" "$(head -1 "shares_$2.txt")" "$(tail -1 "shares_$2.txt")"
}

[ "${1:-}" != --figures ] || { cd "$2" && print_figures && exit; }
install_and_build "${BUILDS:-64 32}"
end_session_on_exit
for name in engine reference; do
  start_private_display && SCREEN[$name]=$DISPLAY || exit 1
done
for bits in "${BUILDS_CHOSEN[@]}"; do
  bench_build "$bits"
done
(cd "$ZARN_ROOT" && stat -c 'size of %n: %s bytes' build/win32/Zarn_Scr.scr build/win64/Zarn_Scr.scr)
[ -z "$UNTESTED_32" ] || echo "$UNTESTED_32"
