#!/usr/bin/env bash
# The one way the scripts and CTest call Wine: wine.sh BITS COMMAND [ARGUMENTS], where
# BITS is 64 (Debian 12's own Wine) or 32 (sid's WoW64 Wine in its private root) and
# COMMAND is wine, wineboot or wineserver. ZARN_DISPLAY_<BITS> and ZARN_PREFIX_<BITS>,
# when set, are that build's display and prefix over DISPLAY and WINEPREFIX. Wine
# always gets a UTF-8 locale: it spells Windows file names in the Unix locale's
# character set, and without one it cannot make a file whose name is not ASCII.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=$1
command=$2
shift 2
display_of_build=ZARN_DISPLAY_$bits
prefix_of_build=ZARN_PREFIX_$bits
export DISPLAY=${!display_of_build:-${DISPLAY:-}}
[ -n "${!prefix_of_build:-}" ] && export WINEPREFIX=${!prefix_of_build}
export LC_ALL=C.UTF-8

case $bits in
64) exec "$command" "$@" ;;
32) ;;
*) fail "wine.sh: the build is 32 or 64, not '$bits'" ;;
esac

skip_without_32bit_code
[ -f "$WOW64_ROOT/.zarn-ready" ] || fail "the 32-bit Wine's root $WOW64_ROOT is missing: run scripts/setup.sh --wow64"
[ "$command" = wineserver ] && command=$WOW64_WINESERVER

# The root is entered as root (mounts and chroot), and Wine runs there as the caller:
# the user who called sudo, or root, when root called (from a shell sudo opened too).
as_root=(env -u SUDO_UID -u SUDO_GID)
if [ "$(id -u)" -ne 0 ]; then
  sudo -n true 2>/dev/null ||
    fail "sudo -n failed (no fresh ticket, or this user may not use sudo): the 32-bit Wine is entered through chroot, which needs root; run as root, or run sudo -v first"
  as_root=(sudo -n)
fi

# What Wine sees of the caller's environment, and nothing more.
passed=(PATH=/usr/local/bin:/usr/bin:/bin HOME=/tmp LC_ALL=C.UTF-8)
for name in DISPLAY WINEPREFIX WINEDEBUG WINEDLLOVERRIDES WINEARCH ZARN_BUILD $(compgen -e | grep '^GTEST_' || true); do
  [ -n "${!name+set}" ] && passed+=("$name=${!name}")
done
# An X server that asks for a cookie gets the caller's.
cookie=${XAUTHORITY:-${HOME:-/nonexistent}/.Xauthority}
[ -r "$cookie" ] || cookie=
# The caller's folder, where the root has it too: inside the repository.
folder=/tmp
case $PWD/ in "$ZARN_ROOT"/*) folder=$PWD ;; esac

exec "${as_root[@]}" "$ZARN_ROOT/scripts/enter-root.sh" --root "$WOW64_ROOT" .zarn-ready --repository \
  --cookie "$cookie" --folder "$folder" "${passed[@]}" -- "$command" "$@"
