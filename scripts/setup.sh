#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and is not
# there yet. Safe to run again: with everything present it only asks dpkg and returns.
set -euo pipefail

PACKAGES=(
  cmake make git
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-i686-dev mingw-w64-x86-64-dev
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  googletest dpkg-dev python3 clang libclang-rt-14-dev zlib1g-dev
  wine wine64 xvfb xauth xdotool x11-utils imagemagick
)

# libpng's source comes from Debian's source package, which needs a deb-src entry.
SOURCE_LIST=/etc/apt/sources.list.d/zarn-bookworm-src.sources
needs_source_list() {
  ! grep -rqsE '^(Types:.*deb-src|deb-src .*bookworm)' /etc/apt/sources.list /etc/apt/sources.list.d/ ||
    ! apt-cache showsrc libpng1.6 2>/dev/null | grep -q '^Package: libpng1.6'
}

missing=()
installed=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${PACKAGES[@]}" 2>/dev/null || true)
for package in "${PACKAGES[@]}"; do
  grep -q "^${package} ii" <<<"$installed" || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ] && ! needs_source_list; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
if needs_source_list; then
  if ! grep -rqsE '^(Types:.*deb-src|deb-src .*bookworm)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "setup: adding a deb-src entry for bookworm"
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' \
      'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
      "${as_root[@]}" tee "$SOURCE_LIST" >/dev/null
  fi
fi
"${as_root[@]}" apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
