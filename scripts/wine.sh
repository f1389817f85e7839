#!/usr/bin/env bash
# wine.sh BITS wine|wineboot|wineserver ...: the one way to Wine, Debian 12's (64) or
# sid's WoW64 one in its root (32), ZARN_DISPLAY_<BITS> and ZARN_PREFIX_<BITS> first.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
bits=$1 command=$2
shift 2
display_of_build=ZARN_DISPLAY_$bits prefix_of_build=ZARN_PREFIX_$bits
export DISPLAY=${!display_of_build:-${DISPLAY:-}}
[ -n "${!prefix_of_build:-}" ] && export WINEPREFIX=${!prefix_of_build}
export LC_ALL=C.UTF-8 # Wine spells Windows file names in the locale's character set

[[ $bits =~ ^(32|64)$ ]] || fail "wine.sh: the build is 32 or 64, not '$bits'"
[ "$bits" = 32 ] || exec "$command" "$@"

skip_without_32bit_code
[ -f "$WOW64_ROOT/.zarn-ready" ] || fail "the 32-bit Wine's root $WOW64_ROOT is missing: run scripts/setup.sh --wow64"
[ "$command" = wineserver ] && command=$WOW64_WINESERVER
as_root -n true 2>/dev/null ||
  fail "sudo -n failed (no fresh ticket, or this user may not use sudo): the 32-bit Wine is entered through chroot, which needs root; run as root, or run sudo -v first"

# What Wine sees of the caller's environment, and nothing more.
passed=(PATH=/usr/local/bin:/usr/bin:/bin HOME=/tmp LC_ALL=C.UTF-8)
for name in DISPLAY WINEPREFIX WINEDEBUG WINEDLLOVERRIDES WINEARCH ZARN_BUILD $(compgen -e | grep '^GTEST_' || true); do
  [ -n "${!name+set}" ] && passed+=("$name=${!name}")
done
cookie=${XAUTHORITY:-${HOME:-/nonexistent}/.Xauthority} # for an X server that asks for one
[ -r "$cookie" ] || cookie=
# The caller's folder, where the root has it too: in the repository.
folder=/tmp
case $(pwd -P)/ in "$ZARN_ROOT"/*) folder=$(pwd -P) ;; esac

# Entered as root, the root runs Wine as the caller.
as_root -n "$ZARN_ROOT/scripts/enter-root.sh" --root "$WOW64_ROOT" .zarn-ready --repository \
  --cookie "$cookie" --folder "$folder" "${passed[@]}" -- "$command" "$@"
