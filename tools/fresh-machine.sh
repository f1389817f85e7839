#!/usr/bin/env bash
# Tries a command as a new machine would meet it: in a fresh Debian 12 root made with
# debootstrap (its one-line /etc/apt/sources.list, no locale, nothing installed by
# hand), as root, in a clean clone of this repository's main branch.
#   tools/fresh-machine.sh [--root /ABSOLUTE/FOLDER] [COMMAND ...]
# The command defaults to bash .ci/run, with CI=true. The root (by default
# /var/tmp/zarn-fresh-bookworm) is made once and kept; remove it to start afresh. Only
# a folder this script made and marked is ever used or removed: any other one there,
# even an empty one, is refused and left as it is. Its / is a mount point, as on a real
# machine, and /proc, /dev and /sys are mounted in it, all inside a private mount
# namespace that ends with the command (scripts/enter-root.sh). The mirror and its
# keyring are this machine's own (scripts/lib/apt.sh).
set -euo pipefail
source "$(dirname "$0")/../scripts/lib/apt.sh"
fail() {
  echo "fresh-machine: $*" >&2
  exit 1
}
repo=$(cd "$(dirname "$0")/.." && pwd)
# Whoever called sudo, the commands run as root.
enter=(env -u SUDO_UID -u SUDO_GID "$repo/scripts/enter-root.sh" PATH=/usr/sbin:/usr/bin:/sbin:/bin)
root=/var/tmp/zarn-fresh-bookworm
while [ $# -gt 0 ]; do
  case $1 in
  --root) [ $# -ge 2 ] || fail "--root needs a folder"; root=$2; shift 2 ;;
  --root=*) root=${1#--root=}; shift ;;
  --) shift; break ;;
  -*) fail "unknown option $1 (usage: tools/fresh-machine.sh [--root /ABSOLUTE/FOLDER] [COMMAND ...])" ;;
  *) break ;;
  esac
done
[ $# -gt 0 ] || set -- bash .ci/run
case $root in
/?*) root=${root%/} ;;
*) fail "the root must be an absolute path other than /, not '$root'" ;;
esac
partial=$root.partial

# Stops unless FOLDER is missing, or a folder this script made and marked with MARK:
# owned FOLDER MARK.
owned() {
  [ ! -e "$1" ] && [ ! -L "$1" ] || { [ -d "$1" ] && [ ! -L "$1" ] && [ -f "$1/$2" ]; } ||
    fail "$1 exists and is not a folder this script made (it has no $2 mark): it is left as it is"
}

owned "$root" .zarn-fresh
[ "$(id -u)" -eq 0 ] || fail "needs root"
if [ ! -f "$root/.zarn-fresh" ]; then
  apt_entry deb bookworm || fail "no package source for bookworm is configured on this machine"
  owned "$partial" .zarn-fresh-partial
  rm -rf "$partial"
  mkdir -p "$partial"
  touch "$partial/.zarn-fresh-partial"
  "${enter[@]}" "http_proxy=${http_proxy:-}" -- debootstrap ${APT_KEYRING:+--keyring="$APT_KEYRING"} bookworm "$partial" "$APT_MIRROR"
  rm "$partial/.zarn-fresh-partial"
  touch "$partial/.zarn-fresh"
  mv -T "$partial" "$root"
fi
rm -rf "$root/work/zarn"
mkdir -p "$root/work"
git clone -q --branch main "$repo" "$root/work/zarn"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"

exec "${enter[@]}" HOME=/root CI=true --root "$root" .zarn-fresh --machine --folder /work/zarn -- "$@"
