#!/usr/bin/env bash
# Makes, when it is missing, the private Debian sid root whose Wine runs the 32-bit
# program inside 64-bit processes ("new WoW64"): this machine's kernel runs no 32-bit
# Linux programs, so Debian 12's own 32-bit Wine cannot start. The mirror, the keyring
# and any apt proxy are the machine's own. Every command that mounts anything runs in
# a private mount namespace, so nothing stays mounted when it ends, however it ends.
# Needs root; ZARN_WOW64_ROOT says where the root lives.
set -euo pipefail
source "$(dirname "$0")/wow64-common.sh"

PACKAGES="wine wine64 libwine fonts-wine libgl1 libglx-mesa0 libgl1-mesa-dri libegl1 libxcursor1
  libxfixes3 libxi6 libxinerama1 libxrandr2 libxrender1 libxxf86vm1 libxcomposite1 procps xdotool"

[ -f "$WOW64_ROOT/.zarn-ready" ] && exit 0
[ "$(id -u)" -eq 0 ] || fail "making the root needs root (run the scripts as root, or with sudo)"
unshare -m true 2>/dev/null ||
  fail "this machine refuses private mount namespaces (an unprivileged container?): the 32-bit Wine cannot be set up here"

# The machine's own entry for its release's main suite: its mirror and keyring.
. /etc/os-release
mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(TARGET_OF)' 2>/dev/null |
  awk -v suite="${VERSION_CODENAME:-bookworm}" '$2 == suite && $3 == "deb" { print $1; exit }')
[ -n "$mirror" ] || fail "no package source for ${VERSION_CODENAME:-this release} is configured on this machine"
keyring=$(grep -rhsA6 "^URIs:.*${mirror%/}" /etc/apt/sources.list.d/*.sources | awk '/^Signed-By:/ { print $2; exit }')
keyring=${keyring:-/usr/share/keyrings/debian-archive-keyring.gpg}
proxy=$(apt-config shell p Acquire::http::Proxy | sed -E "s/^p='(.*)'$/\1/")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "wow64-root: making the 32-bit Wine's root from sid at $WOW64_ROOT (about a minute, 1.8 GB)"
if ! /usr/lib/apt/apt-helper download-file "${mirror%/}/dists/sid/InRelease" "$work/InRelease" >/dev/null 2>&1; then
  fail "the mirror ${mirror} serves no sid (nor its release file through apt's proxy settings)"
fi
if ! gpgv --keyring "$keyring" "$work/InRelease" >/dev/null 2>&1; then
  fail "the keyring $keyring lacks the key that signs sid on ${mirror}"
fi

partial="$WOW64_ROOT.partial"
rm -rf "$partial"
mkdir -p "$(dirname "$WOW64_ROOT")"
# debootstrap mounts /proc and /sys in its target and takes them away only in an exit
# trap: inside its own namespace they go with it whatever happens.
if ! http_proxy=${proxy:-${http_proxy:-}} unshare -m --propagation private \
  debootstrap --variant=minbase --keyring="$keyring" sid "$partial" "$mirror" >"$work/debootstrap.log" 2>&1; then
  tail -n 20 "$work/debootstrap.log" >&2
  fail "debootstrap of sid failed (its log's end is above)"
fi
if [ -n "$proxy" ]; then
  printf 'Acquire::http::Proxy "%s";\n' "$proxy" >"$partial/etc/apt/apt.conf.d/01zarn-proxy"
fi
# The machine's mirror may be a frozen copy whose sid release is past its Valid-Until
# date: its signature is still checked, only the date is not.
install_in_root() {
  chroot "$partial" apt-get update -q -o Acquire::Check-Valid-Until=false &&
    DEBIAN_FRONTEND=noninteractive chroot "$partial" apt-get install -y -q --no-install-recommends $PACKAGES &&
    chroot "$partial" apt-get clean
}
export -f install_in_root
export partial PACKAGES
if ! unshare -m --propagation private bash -c \
  'mount -t proc proc "$partial/proc" && mount --rbind /dev "$partial/dev" && install_in_root' \
  >"$work/apt.log" 2>&1; then
  tail -n 20 "$work/apt.log" >&2
  fail "installing Wine in the root failed: the root's apt does not reach the mirror (proxy settings?) or sid lacks a package (log's end above)"
fi
[ -x "$partial$WOW64_WINESERVER" ] && [ -d "$partial/usr/lib/x86_64-linux-gnu/wine/i386-windows" ] ||
  fail "sid's Wine has no 32-bit Windows side (no WoW64 build): the 32-bit program cannot run under it"
rm -rf "$WOW64_ROOT"
mv "$partial" "$WOW64_ROOT"
touch "$WOW64_ROOT/.zarn-ready"
echo "wow64-root: ready ($(du -sh "$WOW64_ROOT" | cut -f1)), Wine $(chroot "$WOW64_ROOT" dpkg-query -W -f='${Version}' libwine)"
