#!/usr/bin/env bash
# build.sh [--no-tests]: the screensaver, in build/win32 (PE32, the file users install) and
# build/win64 (PE32+), each with its tests and benchmark unless --no-tests.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
# From the physical path, or CMake writes every path through the caller's link.
cd "$ZARN_ROOT"
tests=$([ "${1:-}" = --no-tests ] && echo OFF || echo ON)
for build in 32:mingw-i686 64:mingw-x86_64; do
  dir="$ZARN_ROOT/build/win${build%%:*}"
  first=()
  # A tree first configured elsewhere, or through a link, is configured afresh here.
  grep -qsx "CMAKE_HOME_DIRECTORY:INTERNAL=$ZARN_ROOT" "$dir/CMakeCache.txt" ||
    first=(--fresh -DCMAKE_TOOLCHAIN_FILE="$ZARN_ROOT/cmake/${build#*:}.cmake" -DCMAKE_BUILD_TYPE=Release)
  cmake -S "$ZARN_ROOT" -B "$dir" "${first[@]}" -DZARN_TESTS="$tests" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
done
