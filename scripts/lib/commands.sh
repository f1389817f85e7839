# What every command of scripts/ starts with: the repository, how a command fails, the
# build it runs (from --32), and what is installed and built before it runs. It brings
# in the other shared files, so a command sources this one alone.
ZARN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

fail() {
  echo "zarn: $*" >&2
  exit 1
}

# The build a command runs: 32 with --32 as its first argument, else 64.
choose_build() {
  [ "${1:-}" = --32 ] && echo 32 || echo 64
}

# Installs what is missing (for the 32-bit build, its Wine too) and builds both builds
# with build.sh's arguments: install_and_build BITS [ARGUMENTS]. The 32-bit build
# stops here, with the reason, on a machine that cannot run it.
install_and_build() {
  local bits=$1
  shift
  "$ZARN_ROOT/scripts/setup.sh"
  if [ "$bits" = 32 ]; then
    set_up_32bit_wine || fail "$NO_32BIT_LINE"
  fi
  "$ZARN_ROOT/scripts/build.sh" "$@" >/dev/null
}

source "$ZARN_ROOT/scripts/lib/wow64.sh"
source "$ZARN_ROOT/scripts/lib/displays.sh"
source "$ZARN_ROOT/scripts/lib/prefixes.sh"
source "$ZARN_ROOT/scripts/lib/session.sh"
source "$ZARN_ROOT/scripts/lib/apt.sh"
