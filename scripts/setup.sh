#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and is not
# there yet. Safe to run again: with everything present it only asks dpkg and returns.
set -euo pipefail

PACKAGES=(
  cmake make git
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-i686-dev mingw-w64-x86-64-dev
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  googletest dpkg-dev clang libclang-rt-14-dev
  wine wine64 xvfb xauth xdotool x11-utils imagemagick
)

missing=()
installed=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${PACKAGES[@]}" 2>/dev/null || true)
for package in "${PACKAGES[@]}"; do
  grep -q "^${package} ii" <<<"$installed" || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
echo "setup: installing ${missing[*]}"
"${as_root[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
