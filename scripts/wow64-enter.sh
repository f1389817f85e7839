#!/usr/bin/env bash
# Runs a command in the 32-bit Wine's root as a given user (called by wine.sh, as root):
#   wow64-enter.sh ROOT REPOSITORY UID:GID FOLDER COOKIE [NAME=VALUE ...] -- COMMAND [ARGUMENTS]
# In a private mount namespace it mounts /proc and /dev in the root, the repository at
# its own path, and the X cookie file (when COOKIE names one) on a small tmpfs; then it
# runs COMMAND in FOLDER with only the NAME=VALUE environment. The mounts end with the
# namespace, however the command ends.
set -euo pipefail
if [ "${1:-}" != --in-namespace ]; then
  exec unshare -m --propagation private "$0" --in-namespace "$@"
fi
shift
root=$1 repository=$2 user=$3 folder=$4 cookie=$5
shift 5
environment=()
while [ "$1" != -- ]; do
  environment+=("$1")
  shift
done
shift

mount -t proc proc "$root/proc"
mount --rbind /dev "$root/dev"
mkdir -p "$root$repository"
mount --bind "$repository" "$root$repository"
if [ -n "$cookie" ]; then
  mkdir -p "$root/run/zarn-x11"
  mount -t tmpfs -o size=1m,mode=0755 tmpfs "$root/run/zarn-x11"
  install -m 600 -o "${user%:*}" -g "${user#*:}" "$cookie" "$root/run/zarn-x11/Xauthority"
  environment+=(XAUTHORITY=/run/zarn-x11/Xauthority)
fi
exec chroot --userspec="$user" "$root" /usr/bin/env -i -C "$folder" "${environment[@]}" "$@"
