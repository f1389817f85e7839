#!/usr/bin/env bash
# Builds the screensaver twice from the same sources: build/win32 (PE32, the file
# Windows users install) and build/win64 (PE32+), each with its test programs and
# benchmark beside it; the program file itself is the same with or without them. Pass
# --no-tests to leave the test programs out.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tests=ON
[ "${1:-}" = "--no-tests" ] && tests=OFF
jobs=$(nproc)

configure() {
  local dir=$1 toolchain=$2
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DZARN_TESTS="$tests" >/dev/null
  else
    cmake -S "$root" -B "$dir" -DZARN_TESTS="$tests" >/dev/null
  fi
}

configure "$root/build/win32" mingw-i686.cmake
cmake --build "$root/build/win32" -j "$jobs"
configure "$root/build/win64" mingw-x86_64.cmake
cmake --build "$root/build/win64" -j "$jobs"
