#!/usr/bin/env bash
# Installs what is missing, builds both executables and runs every test, each build's
# under its own Wine with a prefix in its build tree and a private display, in one
# CTest run (arguments go to ctest). ZARN_TESTS_64_ONLY=1 leaves out the 32-bit build.
# Where the processor runs no 32-bit code the 32-bit entries end as skipped, and the
# run says so first and last.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
builds=(64 32)
subdirs=()
untested_32=
"$ZARN_ROOT/scripts/setup.sh"
if [ "${ZARN_TESTS_64_ONLY:-}" = 1 ]; then
  builds=(64)
  printf '\n*** ZARN_TESTS_64_ONLY=1: the 32-bit program, the file users install, is NOT tested ***\n\n' >&2
else
  # The probe's answer here is the run's decision, which every 32-bit launch checks.
  unset ZARN_32BIT_CODE
  if set_up_32bit_wine; then
    # Wine's 32-bit side runs through chroot: ask for sudo once, before the build.
    [ "$(id -u)" -eq 0 ] || sudo -v
  else
    # A "no" leaves the file users install untested: it stands only where the probe's
    # own check passes, in which a second way into 32-bit code says no as well.
    "$ZARN_ROOT/tests/cpu32_probe_check.sh" "$ZARN_ROOT" >&2 ||
      fail "the 32-bit code probe said no, but its check (above) failed: no 32-bit entry is skipped on that answer"
    builds=(64)
    subdirs=('"win32"')
    untested_32="*** zarn: $NO_32BIT_LINE ***"
    printf '\n%s\n\n' "$untested_32" >&2
  fi
fi
"$ZARN_ROOT/scripts/build.sh" >/dev/null

for bits in "${builds[@]}"; do
  export "ZARN_PREFIX_$bits=$ZARN_ROOT/build/win$bits/wineprefix"
  begin_wine_session "$bits"
  echo "$bits-bit build: $(zwine "$bits" wine --version 2>/dev/null) on display $DISPLAY"
  subdirs+=("\"win$bits\"")
done
unset WINEPREFIX
# One CTest run over both build trees, for one summary; where the 32-bit program cannot
# run, its entries stay in the run and end as skipped.
echo "subdirs(${subdirs[*]})" >"$ZARN_ROOT/build/CTestTestfile.cmake"
cd "$ZARN_ROOT/build"
status=0
ctest --output-on-failure -j 3 "$@" || status=$?
[ -z "$untested_32" ] || printf '\n%s\n' "$untested_32"
exit $status
