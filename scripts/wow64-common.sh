# What the scripts that make or use the 32-bit Wine's root share: where it lives, where
# its Wine keeps its server, and whether this machine can run 32-bit code at all.
WOW64_ROOT=${ZARN_WOW64_ROOT:-/var/lib/zarn/wow64-root}
WOW64_WINESERVER=/usr/lib/x86_64-linux-gnu/wine/wineserver
# The exit code CTest counts as a skip in the 32-bit build's entries.
ZARN_SKIP_CODE=77
NO_32BIT_LINE="this machine's processor runs no 32-bit code, so the 32-bit program, the file users install, goes untested here; a machine that runs 32-bit code tests it"

fail() {
  echo "zarn: $*" >&2
  exit 1
}

# Whether this processor runs 32-bit code inside a 64-bit process, as the 32-bit Wine
# needs (tools/cpu32-probe.c). Returns 1 only for a clear "no", and then fails instead
# when ZARN_REQUIRE_32=1; an answer that is neither yes nor no fails, since taking it
# for a "no" would leave the 32-bit program untested without anyone noticing.
runs_32bit_code() {
  local repo source probe answer status=0
  repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  source="$repo/tools/cpu32-probe.c"
  probe="$repo/build/tools/cpu32-probe"
  if [ ! -x "$probe" ] || [ "$source" -nt "$probe" ]; then
    mkdir -p "$(dirname "$probe")"
    cc -O2 -no-pie -o "$probe.$$" "$source" || fail "the 32-bit code probe does not build (is a C compiler installed? scripts/setup.sh installs one)"
    mv "$probe.$$" "$probe"
  fi
  answer=$("$probe" 2>/dev/null) || status=$?
  case $status in
  0) return 0 ;;
  1)
    [ "${ZARN_REQUIRE_32:-}" = 1 ] &&
      fail "ZARN_REQUIRE_32=1, but this machine's processor runs no 32-bit code (a far return into 32-bit code faulted)"
    return 1
    ;;
  *) fail "the 32-bit code probe gave no answer: ${answer:-nothing} (exit code $status)" ;;
  esac
}

# Where the 32-bit program cannot run, a launch of it says why and ends with the code
# CTest counts as a skip.
skip_without_32bit_code() {
  runs_32bit_code && return 0
  echo "zarn: $NO_32BIT_LINE" >&2
  exit "$ZARN_SKIP_CODE"
}
