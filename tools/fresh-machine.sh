#!/usr/bin/env bash
# Tries a command as a new machine would meet it: in a fresh Debian 12 root made with
# debootstrap (its one-line /etc/apt/sources.list, no locale, nothing installed by
# hand), as root, in a clean clone of this repository's main branch.
#   tools/fresh-machine.sh [ROOT] [COMMAND ...]     (default: bash .ci/run, with CI=true)
# ROOT (default /var/tmp/zarn-fresh-bookworm) is made once and kept; remove it to start
# afresh. Its / is a mount point, as on a real machine, and /proc, /dev and /sys are
# mounted in it, all inside a private mount namespace that ends with the command.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
root=${1:-/var/tmp/zarn-fresh-bookworm}
shift || true
[ $# -gt 0 ] || set -- bash .ci/run
[ "$(id -u)" -eq 0 ] || { echo "fresh-machine: needs root" >&2; exit 1; }

if [ ! -f "$root/.zarn-fresh" ]; then
  mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(TARGET_OF)' |
    awk '$2 == "bookworm" && $3 == "deb" { print $1; exit }')
  rm -rf "$root.partial"
  unshare -m --propagation private debootstrap bookworm "$root.partial" "$mirror"
  touch "$root.partial/.zarn-fresh"
  mv -T "$root.partial" "$root"
fi
rm -rf "$root/work/zarn"
mkdir -p "$root/work"
git clone -q --branch main "$repo" "$root/work/zarn"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"

exec unshare -m --propagation private /bin/bash -c '
  set -e
  root=$1
  shift
  mount --bind "$root" "$root"
  mount -t proc proc "$root/proc"
  mount --rbind /dev "$root/dev"
  mount --rbind /sys "$root/sys"
  exec chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root CI=true \
    /bin/bash -c "cd /work/zarn && exec \"\$@\"" fresh-machine "$@"' fresh-machine "$root" "$@"
