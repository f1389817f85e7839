#!/usr/bin/env bash
# Tries a command (by default .ci/run, with CI=true) as a new machine meets it: as root,
# in a clean clone of main, in a fresh Debian 12 root that is made once and kept.
#   tools/fresh-machine.sh [--root /ABSOLUTE/FOLDER] [COMMAND ...]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib/commands.sh"
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
[ "$(id -u)" -eq 0 ] || fail "needs root"

if [ ! -f "$root/.zarn-fresh" ]; then
  apt_entry deb "$DEBIAN_SUITE" || fail "no package source for $DEBIAN_SUITE is configured on this machine"
  begin_root "$root"
  echo "fresh-machine: making a Debian $DEBIAN_SUITE root at $root"
  bootstrap_root "$DEBIAN_SUITE" "$APT_MIRROR" "${APT_KEYRING:-/usr/share/keyrings/debian-archive-keyring.gpg}"
  place_root .zarn-fresh "Debian $DEBIAN_SUITE, made $(date -u +%F)"
fi
rm -rf "$root/work/zarn"
mkdir -p "$root/work"
git clone -q --branch main "$ZARN_ROOT" "$root/work/zarn"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
as_root "$ZARN_ROOT/scripts/enter-root.sh" PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root CI=true \
  --root "$root" .zarn-fresh --machine --folder /work/zarn -- "$@"
