WOW64_ROOT=${ZARN_WOW64_ROOT:-/var/lib/zarn/wow64-root}
WOW64_WINESERVER=/usr/lib/x86_64-linux-gnu/wine/wineserver
NO_32BIT_LINE="this machine's processor runs no 32-bit code, so the 32-bit program, the file users install, goes untested here; a machine that runs 32-bit code tests it"

# The probe's path, built when missing or stale: its test checks this very binary.
cpu32_probe() {
  local source="$ZARN_ROOT/tools/cpu32-probe.c" probe="$ZARN_ROOT/build/tools/cpu32-probe"
  [ -x "$probe" ] && [ "$probe" -nt "$source" ] || { mkdir -p "${probe%/*}" &&
    cc -O2 -no-pie -o "$probe.$$" "$source" && mv "$probe.$$" "$probe"; } ||
    fail "the 32-bit code probe does not build (is a C compiler installed? scripts/setup.sh installs one)"
  echo "$probe"
}

# Whether this processor runs 32-bit code: 1 only for a clear "no" (a failure with
# ZARN_REQUIRE_32=1). The first answer, in ZARN_32BIT_CODE, binds the command's later
# ones: a probe that fails now and then must not turn 32-bit tests into skips.
runs_32bit_code() {
  local probe answer status=0 now
  probe=$(cpu32_probe) || exit 1
  answer=$("$probe" 2>/dev/null) || status=$?
  [ "$status" -le 1 ] || fail "the 32-bit code probe gave no answer: ${answer:-nothing} (exit code $status)"
  now=$([ "$status" = 0 ] && echo yes || echo no)
  [ -z "${ZARN_32BIT_CODE:-}" ] || [ "$ZARN_32BIT_CODE" = "$now" ] ||
    fail "the 32-bit code probe answered '$ZARN_32BIT_CODE' earlier in this command and '$now' now: it cannot be trusted"
  export ZARN_32BIT_CODE=$now
  [ "$now" = yes ] && return 0
  [ "${ZARN_REQUIRE_32:-}" = 1 ] &&
    fail "ZARN_REQUIRE_32=1, but this machine's processor runs no 32-bit code (a far return into 32-bit code faulted)"
  return 1
}

# A launch of the 32-bit program fails with this line where it cannot run: that line
# alone makes CTest count the 32-bit entries as skipped.
skip_without_32bit_code() {
  runs_32bit_code || fail "$NO_32BIT_LINE"
}

# choose_builds WANTED ("64", "32" or "64 32"): BUILDS_CHOSEN, with the 32-bit build where
# the processor runs it (its Wine made, sudo asked for once, now). Elsewhere a command that
# wants only it stops with the reason; one that wants both says it in UNTESTED_32, first
# and last. A "no" stands only where the probe's own check passes.
choose_builds() {
  BUILDS_CHOSEN=() UNTESTED_32=
  [[ " $* " != *" 64 "* ]] || BUILDS_CHOSEN=(64)
  [[ " $* " == *" 32 "* ]] || return 0
  unset ZARN_32BIT_CODE
  if runs_32bit_code; then
    [ -f "$WOW64_ROOT/.zarn-ready" ] || as_root env ZARN_WOW64_ROOT="$WOW64_ROOT" "$ZARN_ROOT/scripts/wow64-root.sh" || exit 1
    as_root true
    BUILDS_CHOSEN+=(32)
    return 0
  fi
  "$ZARN_ROOT/tests/cpu32_probe_check.sh" "$ZARN_ROOT" >&2 ||
    fail "the 32-bit code probe said no, but its check (above) failed: no 32-bit entry is skipped on that answer"
  [ ${#BUILDS_CHOSEN[@]} -gt 0 ] || fail "$NO_32BIT_LINE"
  UNTESTED_32="*** zarn: $NO_32BIT_LINE ***"
  printf '\n%s\n\n' "$UNTESTED_32" >&2
}

# check_wow64 PREFIX: a small i686 program has to answer under the 32-bit Wine there.
check_wow64() {
  local probe="$1/wow64-probe.exe" answer status=0
  [ -f "$probe" ] || i686-w64-mingw32-gcc -Os -s -o "$probe" "$ZARN_ROOT/tools/wow64-probe.c"
  answer=$(zwine 32 wine "$probe" 2>&1 | tr -d '\r') || status=$?
  case $answer in *"a 32-bit program under WoW64") return 0 ;; esac
  [ "$status" -gt 128 ] && status="signal $((status - 128))" || status="exit code $status"
  fail "the Wine in $WOW64_ROOT did not run a 32-bit program (it ended with $status and printed: ${answer:-nothing})"
}
