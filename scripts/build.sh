#!/usr/bin/env bash
# Builds the screensaver twice from the same sources: build/win32 (PE32, the file
# Windows users install) and build/win64 (PE32+), each with its test programs and
# benchmark beside it, or without them with --no-tests; the program file is the same.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tests=ON
[ "${1:-}" = "--no-tests" ] && tests=OFF
for build in 32:mingw-i686 64:mingw-x86_64; do
  dir="$root/build/win${build%%:*}"
  first=()
  [ -f "$dir/CMakeCache.txt" ] ||
    first=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/${build#*:}.cmake" -DCMAKE_BUILD_TYPE=Release)
  cmake -S "$root" -B "$dir" "${first[@]}" -DZARN_TESTS="$tests" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
done
