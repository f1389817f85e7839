#!/usr/bin/env bash
# The benchmark's figures from the lines its programs print (bench.sh --figures): the
# engine's share of the reference round by round, its median, lowest and highest, and
# each program's median, over odd and even counts, unsorted values and numbers that sort
# otherwise as text; rounds that do not pair up fail rather than give a figure.
set -uo pipefail
bench="$(cd "$(dirname "$0")/.." && pwd -P)/scripts/bench.sh"
source "$(dirname "$0")/expect.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# engine fps | reference fps | the share line's figures, or "fails" | engine's median fps
while IFS='|' read -r engine reference share median; do
  for name in engine reference; do
    values=$engine
    [ "$name" = engine ] || values=$reference
    for value in $values; do printf '%s_fps %s\n%s_cpu_ms_per_frame %s\n' "$name" "$value" "$name" "$value"; done >"$work/$name.txt"
  done
  printed=$("$bench" --figures "$work" 2>&1)
  status=$?
  if [ "$share" = fails ]; then
    expect "engine '$engine' against reference '$reference' fails: $status, $(tail -n 1 <<<"$printed")" \
      '[ "$status" != 0 ] && grep -q "do not pair up" <<<"$printed"'
  else
    expect "engine '$engine' against reference '$reference': $share" \
      'grep -qxF "engine / reference frame rate, median of $share" <<<"$printed"'
    expect "the engine's median frame rate of '$engine' is $median" \
      '[ "$(awk "/^frames per second/ { print \$4 }" <<<"$printed")" = "$median" ]'
  fi
done <<'EOF'
110 90 100|100 100 100|3 rounds: 100.0% (lowest 90.0%, highest 110.0%)|100.0
50 80 60 70|100 100 100 100|4 rounds: 65.0% (lowest 50.0%, highest 80.0%)|65.0
9 100 10|100 100 100|3 rounds: 10.0% (lowest 9.0%, highest 100.0%)|10.0
30 60|20 40|2 rounds: 150.0% (lowest 150.0%, highest 150.0%)|45.0
100|100|1 rounds: 100.0% (lowest 100.0%, highest 100.0%)|100.0
100 100|100|fails|
100 100|100 0|fails|
|100|fails|
EOF
exit $((failures > 0))
