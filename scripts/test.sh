#!/usr/bin/env bash
# test.sh [ctest arguments]: set-up, build, and every test of both builds in one CTest
# run, each build under its own Wine on a private display. ZARN_TESTS_64_ONLY=1: 64 only.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
wanted="64 32"
[ "${ZARN_TESTS_64_ONLY:-}" != 1 ] || { wanted=64 &&
  printf '\n*** ZARN_TESTS_64_ONLY=1: the 32-bit program, the file users install, is NOT tested ***\n\n' >&2; }
install_and_build "$wanted"
# Where the 32-bit program cannot run, its entries stay in the run and end as skipped.
subdirs=(${UNTESTED_32:+'"win32"'})
for bits in "${BUILDS_CHOSEN[@]}"; do
  export "ZARN_PREFIX_$bits=$ZARN_ROOT/build/win$bits/wineprefix"
  begin_wine_session "$bits"
  echo "$bits-bit build: $(zwine "$bits" wine --version 2>/dev/null) on display $DISPLAY"
  subdirs+=("\"win$bits\"")
done
unset WINEPREFIX
# One CTest run over both build trees, for one summary.
echo "subdirs(${subdirs[*]})" >"$ZARN_ROOT/build/CTestTestfile.cmake"
cd "$ZARN_ROOT/build"
status=0
ctest --output-on-failure -j 3 "$@" || status=$?
[[ " ${BUILDS_CHOSEN[*]} " != *" 32 "* ]] || echo "32-bit build: $(grep . "$WOW64_ROOT/.zarn-ready" || echo "its root does not say which Wine it holds")"
[ -z "$UNTESTED_32" ] || printf '\n%s\n' "$UNTESTED_32"
exit $status
