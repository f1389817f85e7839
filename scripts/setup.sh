#!/usr/bin/env bash
# Installs what the build and the tests need from Debian 12's packages; with everything
# there it asks dpkg and apt's local files only. --wow64: the 32-bit Wine too.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"

PACKAGES=(cmake make git g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-i686-dev mingw-w64-x86-64-dev
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libz-mingw-w64-dev googletest dpkg-dev python3 gcc
  libc6-dev clang libclang-rt-14-dev zlib1g-dev qemu-user wine wine64 fonts-wine xvfb xauth xdotool x11-utils
  imagemagick debootstrap gnuplot-nox xserver-xephyr xrestop nsis zip unzip
  # Only recommended by Wine, but needed by its DirectDraw, Direct3D and screen modes:
  libgl1 libglx-mesa0 libgl1-mesa-dri libegl1 libxcursor1 libxfixes3 libxi6 libxinerama1 libxrandr2
  libxrender1 libxxf86vm1 libxcomposite1)
read -r id suite release < <(. /etc/os-release && echo "${ID:-?} ${VERSION_CODENAME:-?} ${PRETTY_NAME:-?}")
[ "$id $suite" = "debian $DEBIAN_SUITE" ] ||
  fail "only Debian 12 ($DEBIAN_SUITE) is supported, whose package names and libpng source the scripts take; this machine runs $release"

missing=()
installed=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${PACKAGES[@]}" 2>/dev/null || true)
for package in "${PACKAGES[@]}"; do
  grep -q "^${package} ii" <<<"$installed" || missing+=("$package")
done

# libpng's source comes from Debian's source package: its deb-src entry is the twin of
# the machine's own for the main suite (the security suite's sources are not served).
source_entry=1
apt_entry deb-src "$DEBIAN_SUITE" || source_entry=
if [ -z "$source_entry" ]; then
  apt_entry deb "$DEBIAN_SUITE" || fail "no package source for $DEBIAN_SUITE is configured on this machine"
  echo "setup: adding a deb-src entry for $DEBIAN_SUITE beside the machine's own"
  parts=$(apt_value Dir::Etc::sourceparts/d)
  { printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\n' "$APT_MIRROR" "$DEBIAN_SUITE"
    [ -z "$APT_KEYRING" ] || echo "Signed-By: $APT_KEYRING"; } |
    as_root tee "${parts%/}/zarn-$DEBIAN_SUITE-src.sources" >/dev/null
fi
if [ ${#missing[@]} -gt 0 ] || [ -z "$source_entry" ] ||
  ! apt-cache showsrc libpng1.6 2>/dev/null | grep -q '^Package: libpng1.6'; then
  as_root apt-get update -q
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  # sudo keeps no environment: the setting reaches apt through env.
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
[ "${1:-}" != --wow64 ] || choose_builds 32
