#!/usr/bin/env bash
# Builds the platform-free code natively with clang and the address and undefined
# behaviour sanitizers, runs its unit tests, and each fuzzer for FUZZ_SECONDS (20),
# its corpus kept in build/native/corpus.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/native"
seconds=${FUZZ_SECONDS:-20}

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root/tests/native" -B "$build" -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
cmake --build "$build" -j "$(nproc)"

"$build/zarn_native_tests" --gtest_brief=1

for fuzzer in "$build"/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ "$name" = fuzz_png ] && seeds+=("$root/build/third_party/libpng/contrib/pngsuite")
  echo "fuzzing $name for ${seconds}s"
  "$fuzzer" -max_total_time="$seconds" -print_final_stats=0 "$corpus" "${seeds[@]}" 2>&1 | tail -n 2
done
