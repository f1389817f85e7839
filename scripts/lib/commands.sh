# What every command of scripts/ starts with: the repository, how a command fails, and
# what is installed and built before it runs. It brings in the other shared files.
ZARN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

fail() {
  echo "zarn: $*" >&2
  exit 1
}

# Installs what is missing (for the 32-bit build, its Wine too) and builds both builds
# with build.sh's arguments: install_and_build BITS [ARGUMENTS]. The 32-bit build stops
# here, with the reason, on a machine that cannot run it.
install_and_build() {
  "$ZARN_ROOT/scripts/setup.sh"
  [ "$1" = 64 ] || set_up_32bit_wine || fail "$NO_32BIT_LINE"
  "$ZARN_ROOT/scripts/build.sh" "${@:2}" >/dev/null
}

# An emptied folder DIR holding copies of FILES, so that no earlier run's settings file
# plays a part: fresh_folder DIR FILES.
fresh_folder() {
  rm -rf "$1"
  mkdir -p "$1"
  cp "${@:2}" "$1/"
}

source "$ZARN_ROOT/scripts/lib/wow64.sh"
source "$ZARN_ROOT/scripts/lib/displays.sh"
source "$ZARN_ROOT/scripts/lib/prefixes.sh"
source "$ZARN_ROOT/scripts/lib/session.sh"
source "$ZARN_ROOT/scripts/lib/apt.sh"
