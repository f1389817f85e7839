#!/usr/bin/env bash
# Runs a command in the 32-bit Wine's root as its caller (called by wine.sh, as root or
# through sudo):
#   wow64-enter.sh ROOT FOLDER COOKIE [NAME=VALUE ...] -- COMMAND [ARGUMENTS]
# In a private mount namespace it mounts /proc and /dev in the root, this repository at
# its own path, and the X cookie file (when COOKIE names one) on a small tmpfs; then it
# runs COMMAND in FOLDER with only the NAME=VALUE environment. The mounts end with the
# namespace, however the command ends. It runs as root, so it trusts no argument with
# root's rights: the command runs as the user who called sudo (root only when root
# called), the cookie is read with that user's rights, and ROOT must be a root the
# set-up made (owned by root, writable by root alone, with its mark).
set -euo pipefail
fail() {
  echo "zarn: wow64-enter: $*" >&2
  exit 1
}
# Started in the caller's mount namespace (however it was called): into a private one.
if [ "$(readlink /proc/self/ns/mnt)" = "$(readlink "/proc/$PPID/ns/mnt")" ]; then
  exec unshare -m --propagation private "$0" "$@"
fi
[ $# -ge 4 ] || fail "usage: wow64-enter.sh ROOT FOLDER COOKIE [NAME=VALUE ...] -- COMMAND [ARGUMENTS]"
root=$(realpath -e -- "$1") || fail "no root at $1"
folder=$2 cookie=$3
shift 3
environment=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  environment+=("$1")
  shift
done
[ $# -gt 1 ] || fail "no command after --"
shift

[ -d "$root" ] && [ "$(stat -c %u "$root")" = 0 ] && [ $((0$(stat -c %a "$root") & 022)) = 0 ] &&
  [ -f "$root/.zarn-ready" ] && [ ! -L "$root/.zarn-ready" ] && [ "$(stat -c %u "$root/.zarn-ready")" = 0 ] ||
  fail "$root is not a root the set-up made (owned by root, writable by root alone, with its .zarn-ready mark)"
user=0:0
if [ -n "${SUDO_UID:-}" ]; then
  [[ $SUDO_UID =~ ^[0-9]+$ && ${SUDO_GID:-} =~ ^[0-9]+$ ]] || fail "SUDO_UID and SUDO_GID are not numbers"
  user=$SUDO_UID:$SUDO_GID
fi
repository=$(cd "$(dirname "$(realpath -e -- "$0")")/.." && pwd -P)

mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
# The repository's folder in the root is made one step at a time: a link on the way
# would lead out of the root.
path=$root
IFS=/ read -ra steps <<<"${repository#/}"
for step in "${steps[@]}"; do
  path+=/$step
  [ ! -L "$path" ] || fail "$path is a link: the repository cannot be mounted at its own path in the root"
  [ -d "$path" ] || mkdir "$path"
done
mount --bind "$repository" "$root$repository"
if [ -n "$cookie" ]; then
  mkdir -p "$root/run/zarn-x11"
  mount -t tmpfs -o size=1m,mode=0755 tmpfs "$root/run/zarn-x11"
  install -m 600 -o "${user%:*}" -g "${user#*:}" /dev/null "$root/run/zarn-x11/Xauthority"
  setpriv --reuid="${user%:*}" --regid="${user#*:}" --clear-groups cat -- "$cookie" >"$root/run/zarn-x11/Xauthority" ||
    fail "the X cookie $cookie cannot be read by its caller"
  environment+=(XAUTHORITY=/run/zarn-x11/Xauthority)
fi
exec chroot --userspec="$user" "$root" /usr/bin/env -i -C "$folder" "${environment[@]}" "$@"
