#!/usr/bin/env bash
# Fetches libpng's source from Debian's source package, checks it against the pinned
# checksums and unpacks it (with Debian's patches) into build/third_party/libpng.
# Does nothing when that version is already there. The source is never committed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

VERSION=1.6.39-2+deb12u5
SHA256SUMS="7b86211030a34deb6b0a2cd7e1d9db0fe92443fd30cab537fb89b1e7f7c9f188  libpng1.6_1.6.39-2+deb12u5.dsc
a00e9d2f2f664186e4202db9299397f851aea71b36a35e74910b8820e380d441  libpng1.6_1.6.39.orig.tar.gz
ab14906eda9fddf14cbb1e589b9ba7439c22e233dc3c5e3cf9356c9625565a82  libpng1.6_1.6.39-2+deb12u5.debian.tar.xz"

third_party="$root/build/third_party"
target="$third_party/libpng"
if [ -f "$target/.zarn-version" ] && [ "$(cat "$target/.zarn-version")" = "$VERSION" ]; then
  exit 0
fi

mkdir -p "$third_party"
work=$(mktemp -d "$third_party/fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
chmod 755 "$work"
echo "fetch-libpng: fetching libpng1.6 $VERSION"
# apt's own user may not write here; apt then downloads as the caller and says so.
if ! apt-get source --download-only -q "libpng1.6=$VERSION" 2>&1 >/dev/null | grep -v 'unsandboxed as root' >&2; [ "${PIPESTATUS[0]}" -ne 0 ]; then
  echo "fetch-libpng: libpng1.6 $VERSION is not served (run scripts/setup.sh; if the" \
    "mirror has moved on to a newer revision, update the pin here)" >&2
  exit 1
fi
if ! sha256sum --quiet -c <<<"$SHA256SUMS"; then
  echo "fetch-libpng: checksum mismatch for libpng1.6 $VERSION" >&2
  exit 1
fi
# Unpacking applies Debian's patches (the security fixes) to the upstream source.
if ! dpkg-source -x "libpng1.6_$VERSION.dsc" src >unpack.log 2>&1; then
  cat unpack.log >&2
  exit 1
fi
echo "$VERSION" >src/.zarn-version
rm -rf "$target"
mv src "$target"
