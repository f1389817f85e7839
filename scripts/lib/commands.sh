# What every command starts with, and the other shared files. The repository's path is
# the physical one, which enter-root.sh mounts in a root: a path through a link is not there.
ZARN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd -P)

fail() {
  echo "zarn: $*" >&2
  exit 1
}

# as_root [-n] COMMAND: as root (for root itself, whoever called sudo), or by sudo (-n: never asking).
as_root() {
  local sudo=(sudo)
  [ "$1" != -n ] || { sudo=(sudo -n) && shift; }
  [ "$(id -u)" -ne 0 ] || sudo=(env -u SUDO_UID -u SUDO_GID)
  "${sudo[@]}" "$@"
}

# install_and_build WANTED [build.sh ARGUMENTS]: set-up, choose_builds WANTED, build.
install_and_build() {
  "$ZARN_ROOT/scripts/setup.sh"
  choose_builds $1
  "$ZARN_ROOT/scripts/build.sh" "${@:2}" >/dev/null
}

# fresh_folder DIR FILES: DIR emptied, with copies of FILES, so no earlier run's settings play a part.
fresh_folder() {
  rm -rf "$1"
  mkdir -p "$1"
  cp "${@:2}" "$1/"
}

for lib in wow64 displays prefixes session apt roots; do
  source "$ZARN_ROOT/scripts/lib/$lib.sh"
done
