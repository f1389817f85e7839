#!/usr/bin/env bash
# Installs what is missing, builds both executables and runs every test: each build's
# Windows tests under its own Wine (64 bits: Debian 12's; 32 bits: sid's WoW64 Wine in
# its private root), each with a Wine prefix inside its build tree and a private Xvfb
# display (640x480, 16 bits) that lives only as long as this run. The tests that need
# no display run beside those that do, and one summary ends the run. Arguments go to
# ctest (for example -R unit). ZARN_TESTS_64_ONLY=1 leaves out the 32-bit build's tests.
# On a machine whose processor runs no 32-bit code, the 32-bit entries are reported as
# skipped, and the run says so first and last; ZARN_REQUIRE_32=1 makes that a failure.
# Where it runs 32-bit code, a 32-bit entry ends only as passed or failed.
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
  # The probe is asked once here (setup installs its compiler); each 32-bit launch asks
  # again, and fails where its answer differs from this decision (runs_32bit_code).
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
