#!/usr/bin/env bash
# Makes, when it is missing, the private Debian sid root whose Wine runs the 32-bit
# program inside 64-bit processes ("new WoW64"): this machine's kernel runs no 32-bit
# Linux programs, so Debian 12's own 32-bit Wine cannot start. The mirror, the keyring
# and any apt proxy are the machine's own; everything that mounts runs through
# enter-root.sh. Needs root; ZARN_WOW64_ROOT says where the root lives. Every way it
# stops names the step that failed.
set -eEuo pipefail
source "$(dirname "$0")/lib/commands.sh"

PACKAGES="wine wine64 libwine fonts-wine libgl1 libglx-mesa0 libgl1-mesa-dri libegl1 libxcursor1
  libxfixes3 libxi6 libxinerama1 libxrandr2 libxrender1 libxxf86vm1 libxcomposite1 procps xdotool"

step="checking what is there"
trap 'echo "zarn: wow64-root: stopped while $step (line $LINENO)" >&2' ERR
[ -f "$WOW64_ROOT/.zarn-ready" ] && exit 0
[ "$(id -u)" -eq 0 ] || fail "making the root needs root (run the scripts as root, or with sudo)"
# Every step runs as root, whoever called sudo.
unset SUDO_UID SUDO_GID
unshare -m true 2>/dev/null ||
  fail "this machine refuses private mount namespaces (an unprivileged container?): the 32-bit Wine cannot be set up here"
# Only an empty folder, or none, becomes the root: never a folder of someone else's.
if [ -e "$WOW64_ROOT" ]; then
  rmdir "$WOW64_ROOT" 2>/dev/null ||
    fail "$WOW64_ROOT exists, is not empty and is not a root this set-up made: set ZARN_WOW64_ROOT to another place, or empty it"
fi

step="finding the machine's mirror"
. /etc/os-release
apt_entry deb "${VERSION_CODENAME:-bookworm}" || fail "no package source for ${VERSION_CODENAME:-bookworm} is configured on this machine"
mirror=$APT_MIRROR
keyring=${APT_KEYRING:-/usr/share/keyrings/debian-archive-keyring.gpg}
proxy=$(apt_value Acquire::http::Proxy)

work=$(mktemp -d)
partial="$WOW64_ROOT.partial"
step_pid=
# A partial root carries a mark, so that only the set-up's own is ever removed: on every
# way out of this run, and by the next run after one that was killed outright.
trap 'rm -rf "$work"; [ ! -f "$partial/.zarn-partial" ] || rm -rf "$partial"' EXIT
# Ctrl+C or a TERM ends the step running in its own session too, every process of it
# gone before the clean-up.
stop() {
  if [ -n "$step_pid" ]; then
    kill -TERM -- "-$step_pid" 2>/dev/null || true
    wait "$step_pid" 2>/dev/null || true
    while kill -0 -- "-$step_pid" 2>/dev/null; do sleep 0.1; done
  fi
  exit "$1"
}
trap 'stop 130' INT
trap 'stop 143' TERM
# Runs a long step through enter-root.sh in a session of its own, its output in a log:
# run_step WHAT ARGUMENTS; fails with WHAT and the log's end.
run_step() {
  local status=0
  setsid "$ZARN_ROOT/scripts/enter-root.sh" "${@:2}" >"$work/step.log" 2>&1 &
  step_pid=$!
  wait "$step_pid" || status=$?
  step_pid=
  [ "$status" -eq 0 ] && return 0
  tail -n 20 "$work/step.log" >&2
  fail "$1 (its log's end is above)"
}
echo "wow64-root: making the 32-bit Wine's root from sid at $WOW64_ROOT (about a minute, 1.8 GB)"
step="fetching sid's release file from $mirror"
/usr/lib/apt/apt-helper download-file "${mirror%/}/dists/sid/InRelease" "$work/InRelease" >/dev/null 2>&1 ||
  fail "the mirror ${mirror} serves no sid (nor its release file through apt's proxy settings)"
step="checking sid's signature with $keyring"
gpgv --keyring "$keyring" "$work/InRelease" >/dev/null 2>&1 ||
  fail "the keyring $keyring lacks the key that signs sid on ${mirror}"

step="running debootstrap"
if [ -e "$partial" ] && [ ! -f "$partial/.zarn-partial" ]; then
  rmdir "$partial" 2>/dev/null || fail "$partial exists and is not a partial root of this set-up's: remove it or set ZARN_WOW64_ROOT"
fi
rm -rf "$partial"
mkdir -p "$partial"
touch "$partial/.zarn-partial"
path=PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
# debootstrap mounts /proc and /sys in its target and takes them away only in an exit
# trap: inside its own namespace they go with it whatever happens.
run_step "debootstrap of sid failed" "$path" "http_proxy=${proxy:-${http_proxy:-}}" -- \
  debootstrap --variant=minbase --keyring="$keyring" sid "$partial" "$mirror"
[ -z "$proxy" ] || printf 'Acquire::http::Proxy "%s";\n' "$proxy" >"$partial/etc/apt/apt.conf.d/01zarn-proxy"
step="installing Wine in the root"
# The machine's mirror may be a frozen copy whose sid release is past its Valid-Until
# date: its signature is still checked, only the date is not.
run_step "installing Wine in the root failed: the root's apt does not reach the mirror (proxy settings?) or sid lacks a package" \
  --root "$partial" .zarn-partial "$path" DEBIAN_FRONTEND=noninteractive -- /bin/sh -c '
  apt-get update -q -o Acquire::Check-Valid-Until=false &&
    apt-get install -y -q --no-install-recommends "$@" && apt-get clean' sh $PACKAGES
step="checking the root's Wine"
[ -x "$partial$WOW64_WINESERVER" ] && [ -d "$partial/usr/lib/x86_64-linux-gnu/wine/i386-windows" ] ||
  fail "sid's Wine has no 32-bit Windows side (no WoW64 build): the 32-bit program cannot run under it"
step="putting the root in place"
rm "$partial/.zarn-partial"
touch "$partial/.zarn-ready"
mv -T "$partial" "$WOW64_ROOT"
echo "wow64-root: ready ($(du -sh "$WOW64_ROOT" | cut -f1)), Wine $(chroot "$WOW64_ROOT" dpkg-query -W -f='${Version}' libwine)"
