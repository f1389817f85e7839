#!/usr/bin/env bash
# build.sh [--no-tests]: the screensaver, in build/win32 (PE32, the file users install) and
# build/win64 (PE32+), each with its tests and benchmark unless --no-tests.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
tests=ON
[ "${1:-}" = "--no-tests" ] && tests=OFF
for build in 32:mingw-i686 64:mingw-x86_64; do
  dir="$ZARN_ROOT/build/win${build%%:*}"
  first=()
  [ -f "$dir/CMakeCache.txt" ] ||
    first=(-DCMAKE_TOOLCHAIN_FILE="$ZARN_ROOT/cmake/${build#*:}.cmake" -DCMAKE_BUILD_TYPE=Release)
  cmake -S "$ZARN_ROOT" -B "$dir" "${first[@]}" -DZARN_TESTS="$tests" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
done
