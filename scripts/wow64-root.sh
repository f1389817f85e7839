#!/usr/bin/env bash
# Makes, when missing, the Debian sid root whose Wine runs the 32-bit program inside
# 64-bit processes (docs/developers.md), as root, at ZARN_WOW64_ROOT. Every way it stops
# names the step that failed.
set -eEuo pipefail
source "$(dirname "$0")/lib/commands.sh"

PACKAGES="wine wine64 libwine fonts-wine libgl1 libglx-mesa0 libgl1-mesa-dri libegl1 libxcursor1
  libxfixes3 libxi6 libxinerama1 libxrandr2 libxrender1 libxxf86vm1 libxcomposite1 procps xdotool"

step="checking what is there"
trap 'echo "zarn: wow64-root: stopped while $step (line $LINENO)" >&2' ERR
[ -f "$WOW64_ROOT/.zarn-ready" ] && exit 0
[ "$(id -u)" -eq 0 ] || fail "making the root needs root (run the scripts as root, or with sudo)"
unshare -m true 2>/dev/null ||
  fail "this machine refuses private mount namespaces (an unprivileged container?): the 32-bit Wine cannot be set up here"

step="finding the machine's mirror"
apt_entry deb "$DEBIAN_SUITE" || fail "no package source for $DEBIAN_SUITE is configured on this machine"
begin_root "$WOW64_ROOT"
echo "wow64-root: making the 32-bit Wine's root from sid at $WOW64_ROOT (about a minute, 1.8 GB)"
step="running debootstrap"
bootstrap_root sid "$APT_MIRROR" "${APT_KEYRING:-/usr/share/keyrings/debian-archive-keyring.gpg}" --variant=minbase
step="installing Wine in the root"
# The machine's mirror may be a frozen copy whose sid release is past its Valid-Until
# date: its signature is still checked, only the date is not.
run_step "installing Wine in the root failed: the root's apt does not reach the mirror (proxy settings?) or sid lacks a package" \
  --root "$PARTIAL" .zarn-partial PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive -- /bin/sh -c '
  apt-get update -q -o Acquire::Check-Valid-Until=false &&
    apt-get install -y -q --no-install-recommends "$@" && apt-get clean' sh $PACKAGES
step="checking the root's Wine"
[ -x "$PARTIAL$WOW64_WINESERVER" ] && [ -d "$PARTIAL/usr/lib/x86_64-linux-gnu/wine/i386-windows" ] ||
  fail "sid's Wine has no 32-bit Windows side (no WoW64 build): the 32-bit program cannot run under it"
step="putting the root in place"
# sid's Wine is not pinned: the root says which one it got, and the tests print it.
place_root .zarn-ready "sid's Wine $(chroot "$PARTIAL" dpkg-query -W -f='${Version}' libwine), root made $(date -u +%F)"
echo "wow64-root: ready ($(du -sh "$WOW64_ROOT" | cut -f1)): $(cat "$WOW64_ROOT/.zarn-ready")"
