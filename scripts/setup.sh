#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and is not
# there yet; with everything present it only asks dpkg. With --wow64 it also makes the
# 32-bit program's Wine when missing, where the processor runs 32-bit code.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"

PACKAGES=(
  cmake make git
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-i686-dev mingw-w64-x86-64-dev
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  googletest dpkg-dev python3 gcc libc6-dev clang libclang-rt-14-dev zlib1g-dev qemu-user
  wine wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick debootstrap gnuplot-nox
  xserver-xephyr
  # The release: its installer, its zip and the check of the zip.
  nsis zip unzip
  # What Wine only recommends, but its DirectDraw, Direct3D and screen size need: OpenGL
  # through Mesa, and the X extensions it asks for the screen's modes and windows.
  libgl1 libglx-mesa0 libgl1-mesa-dri libegl1 libxcursor1 libxfixes3 libxi6 libxinerama1
  libxrandr2 libxrender1 libxxf86vm1 libxcomposite1
)
. /etc/os-release
SUITE=${VERSION_CODENAME:-bookworm}

missing=()
installed=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${PACKAGES[@]}" 2>/dev/null || true)
for package in "${PACKAGES[@]}"; do
  grep -q "^${package} ii" <<<"$installed" || missing+=("$package")
done
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

# libpng's source comes from Debian's source package: its deb-src entry is the twin of
# the machine's own for the main suite (not the security suite, whose sources are not
# served), so that the same mirror serves them.
if [ ${#missing[@]} -gt 0 ] || ! { apt_entry deb-src "$SUITE" &&
  apt-cache showsrc libpng1.6 2>/dev/null | grep -q '^Package: libpng1.6'; }; then
  if ! apt_entry deb-src "$SUITE"; then
    apt_entry deb "$SUITE" || fail "no package source for $SUITE is configured on this machine"
    echo "setup: adding a deb-src entry for $SUITE beside the machine's own"
    parts=$(apt_value Dir::Etc::sourceparts/d)
    { printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\n' "$APT_MIRROR" "$SUITE"
      [ -z "$APT_KEYRING" ] || echo "Signed-By: $APT_KEYRING"; } |
      "${as_root[@]}" tee "${parts%/}/zarn-$SUITE-src.sources" >/dev/null
  fi
  "${as_root[@]}" apt-get update -q
  if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
fi
if [ "${1:-}" = --wow64 ] && ! set_up_32bit_wine; then
  echo "setup: no 32-bit Wine made: $NO_32BIT_LINE" >&2
fi
