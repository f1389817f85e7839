# Whether the 32-bit program can run here: the processor (does it run 32-bit code in a
# 64-bit process?), then the 32-bit Wine in its private root (made by wow64-root.sh).
WOW64_ROOT=${ZARN_WOW64_ROOT:-/var/lib/zarn/wow64-root}
WOW64_WINESERVER=/usr/lib/x86_64-linux-gnu/wine/wineserver
NO_32BIT_LINE="this machine's processor runs no 32-bit code, so the 32-bit program, the file users install, goes untested here; a machine that runs 32-bit code tests it"

# The probe's path, built when missing or stale: its test checks this very binary.
cpu32_probe() {
  local source="$ZARN_ROOT/tools/cpu32-probe.c" probe="$ZARN_ROOT/build/tools/cpu32-probe"
  if [ ! -x "$probe" ] || [ "$source" -nt "$probe" ]; then
    mkdir -p "$(dirname "$probe")"
    cc -O2 -no-pie -o "$probe.$$" "$source" || fail "the 32-bit code probe does not build (is a C compiler installed? scripts/setup.sh installs one)"
    mv "$probe.$$" "$probe"
  fi
  echo "$probe"
}

# Whether this processor runs 32-bit code: 1 only for a clear "no" (a failure instead
# with ZARN_REQUIRE_32=1). Any other answer fails: taken for a "no", it would leave the
# 32-bit program untested unnoticed. The first answer is the command's decision, passed
# on in ZARN_32BIT_CODE; a later answer that differs fails, so that a probe that fails
# now and then cannot turn 32-bit tests into skips.
runs_32bit_code() {
  local probe answer status=0 now
  probe=$(cpu32_probe) || exit 1
  answer=$("$probe" 2>/dev/null) || status=$?
  case $status in
  0) now=yes ;;
  1) now=no ;;
  *) fail "the 32-bit code probe gave no answer: ${answer:-nothing} (exit code $status)" ;;
  esac
  [ -z "${ZARN_32BIT_CODE:-}" ] || [ "$ZARN_32BIT_CODE" = "$now" ] ||
    fail "the 32-bit code probe answered '$ZARN_32BIT_CODE' earlier in this command and '$now' now: it cannot be trusted"
  export ZARN_32BIT_CODE=$now
  [ "$now" = yes ] && return 0
  [ "${ZARN_REQUIRE_32:-}" = 1 ] &&
    fail "ZARN_REQUIRE_32=1, but this machine's processor runs no 32-bit code (a far return into 32-bit code faulted)"
  return 1
}

# Where the 32-bit program cannot run, a launch of it fails with the reason; that line,
# and only that line, makes CTest count the 32-bit build's entries as skipped.
skip_without_32bit_code() {
  runs_32bit_code || fail "$NO_32BIT_LINE"
}

# Makes the 32-bit Wine's root when missing (as root); 1 where the processor cannot.
set_up_32bit_wine() {
  runs_32bit_code || return 1
  [ -f "$WOW64_ROOT/.zarn-ready" ] && return 0
  local as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" env ZARN_WOW64_ROOT="$WOW64_ROOT" "$ZARN_ROOT/scripts/wow64-root.sh" || exit 1
}

# A small i686 program started under the 32-bit Wine in PREFIX has to answer: otherwise
# that Wine runs no 32-bit program. Only called where the processor runs 32-bit code,
# so a silent Wine is a real fault.
check_wow64() {
  local probe="$1/wow64-probe.exe" answer status=0
  [ -f "$probe" ] || i686-w64-mingw32-gcc -Os -s -o "$probe" "$ZARN_ROOT/tools/wow64-probe.c"
  answer=$(zwine 32 wine "$probe" 2>&1 | tr -d '\r') || status=$?
  case $answer in *"a 32-bit program under WoW64") return 0 ;; esac
  [ "$status" -gt 128 ] && status="signal $((status - 128))" || status="exit code $status"
  fail "the Wine in $WOW64_ROOT did not run a 32-bit program (it ended with $status and printed: ${answer:-nothing})"
}
