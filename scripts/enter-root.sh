#!/usr/bin/env bash
# Runs a command in a private mount namespace, so that nothing mounted for it outlives
# it, however it ends; with --root, chrooted into a root this project made, with /proc
# and /dev mounted in it (--machine: its / a mount point and /sys too, as on a real
# machine; --repository: this repository at its own path; --cookie: the X cookie FILE):
#   enter-root.sh [--root ROOT MARK] [--machine] [--repository] [--cookie FILE]
#                 [--folder DIR] [NAME=VALUE ...] -- COMMAND [ARGUMENTS]
# The command runs in DIR with only the NAME=VALUE environment. Run as root, it trusts
# no argument with root's rights: the command and the cookie's reading run as the user
# who called sudo, and ROOT must be owned and writable by root alone and carry its
# maker's mark file MARK (.zarn-...).
set -euo pipefail
fail() {
  echo "zarn: enter-root: $*" >&2
  exit 1
}
# Started in the caller's mount namespace (however it was called): into a private one.
if [ "$(readlink /proc/self/ns/mnt)" = "$(readlink "/proc/$PPID/ns/mnt")" ]; then
  exec unshare -m --propagation private "$0" "$@"
fi
root= mark= machine= repository= cookie= folder=/ environment=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  case $1 in
  --root) [ $# -ge 3 ] || fail "--root needs a root and its mark"; root=$(realpath -e -- "$2") || fail "no root at $2"; mark=$3; shift 3 ;;
  --machine) machine=1; shift ;;
  --repository) repository=$(cd "$(dirname "$(realpath -e -- "$0")")/.." && pwd -P); shift ;;
  --cookie) [ $# -ge 2 ] || fail "--cookie needs a file"; cookie=$2; shift 2 ;;
  --folder) [ $# -ge 2 ] || fail "--folder needs a folder"; folder=$2; shift 2 ;;
  -*) fail "unknown option $1" ;;
  *) environment+=("$1"); shift ;;
  esac
done
[ $# -gt 1 ] || fail "no command after --"
shift
user=0:0
if [ -n "${SUDO_UID:-}" ]; then
  [[ $SUDO_UID =~ ^[0-9]+$ && ${SUDO_GID:-} =~ ^[0-9]+$ ]] || fail "SUDO_UID and SUDO_GID are not numbers"
  user=$SUDO_UID:$SUDO_GID
fi
if [ -z "$root" ]; then
  exec setpriv --reuid="${user%:*}" --regid="${user#*:}" --clear-groups env -i -C "$folder" "${environment[@]}" "$@"
fi

[[ $mark =~ ^\.zarn-[a-z-]+$ ]] && [ -d "$root" ] && [ "$(stat -c %u "$root")" = 0 ] &&
  [ $((0$(stat -c %a "$root") & 022)) = 0 ] && [ -f "$root/$mark" ] && [ ! -L "$root/$mark" ] &&
  [ "$(stat -c %u "$root/$mark")" = 0 ] ||
  fail "$root is not a root this project made (owned by root, writable by root alone, with its $mark mark)"
[ -z "$machine" ] || mount --bind "$root" "$root"
mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
[ -z "$machine" ] || mount --rbind /sys "$root/sys"
if [ -n "$repository" ]; then
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
fi
if [ -n "$cookie" ]; then
  mkdir -p "$root/run/zarn-x11"
  mount -t tmpfs -o size=1m,mode=0755 tmpfs "$root/run/zarn-x11"
  install -m 600 -o "${user%:*}" -g "${user#*:}" /dev/null "$root/run/zarn-x11/Xauthority"
  setpriv --reuid="${user%:*}" --regid="${user#*:}" --clear-groups cat -- "$cookie" >"$root/run/zarn-x11/Xauthority" ||
    fail "the X cookie $cookie cannot be read by its caller"
  environment+=(XAUTHORITY=/run/zarn-x11/Xauthority)
fi
exec chroot --userspec="$user" "$root" /usr/bin/env -i -C "$folder" "${environment[@]}" "$@"
