#!/usr/bin/env bash
# The platform-free code built natively under the sanitizers: its unit tests, then every
# fuzzer for FUZZ_SECONDS (20), whatever an earlier one found. A failing fuzzer shows its
# whole report; its crash files go to build/native/crashes, its corpus to build/native/corpus.
set -uo pipefail
source "$(dirname "$0")/lib/commands.sh"
build="$ZARN_ROOT/build/native"
seconds=${FUZZ_SECONDS:-20}

[ -f "$build/CMakeCache.txt" ] ||
  CC=clang CXX=clang++ cmake -S "$ZARN_ROOT/tests/native" -B "$build" -DCMAKE_BUILD_TYPE=Debug >/dev/null || exit 1
cmake --build "$build" -j "$(nproc)" || exit 1
failed=()
"$build/zarn_native_tests" --gtest_brief=1 || failed+=(zarn_native_tests)

mkdir -p "$build/crashes"
for fuzzer in "$build"/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  mkdir -p "$build/corpus/$name"
  seeds=()
  [ "$name" = fuzz_png ] && seeds+=("$ZARN_ROOT/build/third_party/libpng/contrib/pngsuite")
  echo "fuzzing $name for ${seconds}s"
  if "$fuzzer" -max_total_time="$seconds" -print_final_stats=0 -artifact_prefix="$build/crashes/$name-" \
    "$build/corpus/$name" "${seeds[@]}" >"$build/$name.log" 2>&1; then
    tail -n 2 "$build/$name.log"
  else
    cat "$build/$name.log"
    failed+=("$name")
  fi
done
[ ${#failed[@]} -eq 0 ] || { echo "failed: ${failed[*]} (crash files: $build/crashes)"; exit 1; }
