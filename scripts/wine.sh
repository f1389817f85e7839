#!/usr/bin/env bash
# The one way the scripts and CTest call Wine: wine.sh BITS COMMAND [ARGUMENTS], where
# BITS is 64 (Debian 12's own Wine) or 32 (sid's WoW64 Wine in its private root, see
# wow64-root.sh) and COMMAND is wine, wineboot or wineserver. The environment says the
# display and the prefix; ZARN_DISPLAY_<BITS> and ZARN_PREFIX_<BITS>, when set, are
# that build's own (a test run gives each build its own display and prefix).
# Wine always gets a UTF-8 locale: it spells Windows file names in the Unix locale's
# character set, and without one it cannot make a file whose name is not ASCII.
set -euo pipefail
bits=$1
command=$2
shift 2
display_of_build=ZARN_DISPLAY_$bits
prefix_of_build=ZARN_PREFIX_$bits
export DISPLAY=${!display_of_build:-${DISPLAY:-}}
[ -n "${!prefix_of_build:-}" ] && export WINEPREFIX=${!prefix_of_build}
export LC_ALL=C.UTF-8

if [ "$bits" = 64 ]; then
  exec "$command" "$@"
fi

scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$scripts/wow64-common.sh"
[ "$bits" = 32 ] || fail "wine.sh: the build is 32 or 64, not '$bits'"
[ -f "$WOW64_ROOT/.zarn-ready" ] || fail "the 32-bit Wine's root $WOW64_ROOT is missing: run scripts/setup.sh"
[ "$command" = wineserver ] && command=$WOW64_WINESERVER
repo=$(cd "$scripts/.." && pwd)

# Wine runs as the caller, inside the root, with the repository at the same path; the
# mounts that make that live in a namespace of their own and end with the command.
user="$(id -u):$(id -g)"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo -n)
# The caller's folder, where the root has it too: inside the repository.
folder=/tmp
case $PWD/ in "$repo"/*) folder=$PWD ;; esac
passed=(PATH=/usr/local/bin:/usr/bin:/bin HOME=/tmp LC_ALL=C.UTF-8)
for name in DISPLAY WINEPREFIX WINEDEBUG WINEDLLOVERRIDES WINEARCH GTEST_FILTER; do
  [ -n "${!name+set}" ] && passed+=("$name=${!name}")
done
exec "${as_root[@]}" unshare -m --propagation private /bin/sh -c '
  root=$1 repo=$2 user=$3 folder=$4
  shift 4
  mount -t proc proc "$root/proc" && mount --rbind /dev "$root/dev" &&
    mkdir -p "$root$repo" && mount --bind "$repo" "$root$repo" &&
    exec chroot --userspec="$user" "$root" /usr/bin/env -i -C "$folder" "$@"' \
  wine32 "$WOW64_ROOT" "$repo" "$user" "$folder" "${passed[@]}" "$command" "$@"
