# What the scripts that make or use the 32-bit Wine's root share: where it lives, where
# its Wine keeps its server, and whether this machine can run 32-bit code at all.
WOW64_ROOT=${ZARN_WOW64_ROOT:-/var/lib/zarn/wow64-root}
WOW64_WINESERVER=/usr/lib/x86_64-linux-gnu/wine/wineserver
NO_32BIT_LINE="this machine's processor runs no 32-bit code, so the 32-bit program, the file users install, goes untested here; a machine that runs 32-bit code tests it"

fail() {
  echo "zarn: $*" >&2
  exit 1
}

# The probe that tells whether this processor runs 32-bit code inside a 64-bit process,
# as the 32-bit Wine needs (tools/cpu32-probe.c): built when missing or older than its
# source, and its path printed. The probe's test checks this very binary.
cpu32_probe() {
  local repo source probe
  repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  source="$repo/tools/cpu32-probe.c"
  probe="$repo/build/tools/cpu32-probe"
  if [ ! -x "$probe" ] || [ "$source" -nt "$probe" ]; then
    mkdir -p "$(dirname "$probe")"
    cc -O2 -no-pie -o "$probe.$$" "$source" || fail "the 32-bit code probe does not build (is a C compiler installed? scripts/setup.sh installs one)"
    mv "$probe.$$" "$probe"
  fi
  echo "$probe"
}

# Whether this processor runs 32-bit code. Returns 1 only for a clear "no", and then
# fails instead when ZARN_REQUIRE_32=1; an answer that is neither yes nor no fails,
# since taking it for a "no" would leave the 32-bit program untested without anyone
# noticing. The first answer is the command's decision, passed on to what it starts in
# ZARN_32BIT_CODE; a later answer that differs fails, so that a "no" after a "yes" (a
# probe that fails now and then) cannot turn 32-bit tests into skips.
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
