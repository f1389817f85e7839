#!/usr/bin/env bash
# The one script that enters a root and mounts, in a private mount namespace that ends
# with the command (what it trusts: docs/developers.md). As root: enter-root.sh [--root
# ROOT MARK] [--machine] [--repository] [--cookie FILE] [--folder DIR] [NAME=VALUE ...] -- COMMAND ...
set -euo pipefail
fail() {
  echo "zarn: enter-root: $*" >&2
  exit 1
}
arguments=("$@")
root= mark= machine= repository= cookie= folder=/ environment=() private=
[ "${1:-}" != --in-private-namespace ] || { private=1 && shift; }
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  case $1 in
  --root) [ $# -ge 3 ] || fail "--root needs a root and its mark"; root=$2; mark=$3; shift 3 ;;
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
if [ -n "$root" ]; then
  [[ $root == /* ]] || fail "the root must be an absolute path, not $root"
  [ -d "$root" ] && root=$(realpath -e -- "$root") || fail "no root at $root"
  [[ $mark =~ ^\.zarn-[a-z-]+$ ]] || fail "$mark is not one of this project's marks (.zarn-...)"
  [ "$(stat -c %u "$root")" = 0 ] || fail "$root is not owned by root"
  [ $((0$(stat -c %a "$root") & 022)) = 0 ] || fail "$root may be written by others than root"
  [ -f "$root/$mark" ] && [ ! -L "$root/$mark" ] && [ "$(stat -c %u "$root/$mark")" = 0 ] ||
    fail "$root carries no $mark mark of root's: it is not a root this project made"
fi
[ "$(id -u)" -eq 0 ] || fail "needs root"
# Into a namespace of its own, whatever namespace the caller sits in, and only once.
[ -n "$private" ] || exec unshare -m --propagation private "$0" --in-private-namespace "${arguments[@]}"

user=0:0
[ -z "${SUDO_UID:-}" ] || user=$SUDO_UID:${SUDO_GID:-}
[[ $user =~ ^[0-9]+:[0-9]+$ ]] || fail "SUDO_UID and SUDO_GID are not numbers"
[ -n "$root" ] || exec setpriv --reuid="${user%:*}" --regid="${user#*:}" --clear-groups env -i -C "$folder" "${environment[@]}" "$@"
[ -z "$machine" ] || mount --bind "$root" "$root"
mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
[ -z "$machine" ] || mount --rbind /sys "$root/sys"
if [ -n "$repository" ]; then
  # Made one step at a time: a link on the way would lead out of the root.
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
