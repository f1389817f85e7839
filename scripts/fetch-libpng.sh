#!/usr/bin/env bash
# libpng's source from Debian's source package, checked and unpacked with its patches into
# build/third_party/libpng unless its version mark names the pin. Once the mirror no
# longer serves the pin, the newest revision of its series is taken, and said: checked by
# apt against the signed index, and by the upstream tarball's checksum the series shares.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
PIN=1.6.39-2+deb12u5
SERIES=1.6.39-2+deb12u
UPSTREAM_SHA256="a00e9d2f2f664186e4202db9299397f851aea71b36a35e74910b8820e380d441  libpng1.6_1.6.39.orig.tar.gz"
PIN_SHA256="7b86211030a34deb6b0a2cd7e1d9db0fe92443fd30cab537fb89b1e7f7c9f188  libpng1.6_1.6.39-2+deb12u5.dsc
ab14906eda9fddf14cbb1e589b9ba7439c22e233dc3c5e3cf9356c9625565a82  libpng1.6_1.6.39-2+deb12u5.debian.tar.xz"
target="$ZARN_ROOT/build/third_party/libpng"
[ "$(cat "$target/.zarn-version" 2>/dev/null)" = "$PIN" ] && exit 0

# Downloads the source of libpng1.6 REVISION here, apt's messages in apt.log.
download() {
  echo "fetch-libpng: fetching libpng1.6 $1"
  apt-get source --download-only -q "libpng1.6=$1" >apt.log 2>&1
}

mkdir -p "$(dirname "$target")"
work=$(mktemp -d "$(dirname "$target")/fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
# apt's own user may not write here; apt then downloads as the caller and says so.
chmod 755 "$work"
revision=$PIN sums="$UPSTREAM_SHA256"$'\n'"$PIN_SHA256"
if ! download "$PIN"; then
  revision=$(apt-cache showsrc libpng1.6 2>/dev/null | sed -n "s/^Version: \($SERIES[0-9][0-9]*\)$/\1/p" | sort -V | tail -n 1)
  if [ -z "$revision" ] || ! download "$revision"; then
    grep -v 'unsandboxed as root' apt.log >&2
    fail "fetch-libpng: neither libpng1.6 $PIN nor any other $SERIES* revision is served (run scripts/setup.sh)"
  fi
  echo "fetch-libpng: libpng1.6 $PIN, the pinned revision, is not served: took $revision, the newest one served"
  sums=$UPSTREAM_SHA256
fi
sha256sum --quiet -c <<<"$sums" || fail "fetch-libpng: checksum mismatch for libpng1.6 $revision"
# Unpacking applies Debian's patches (the security fixes) to the upstream source.
dpkg-source -x "libpng1.6_$revision.dsc" src >unpack.log 2>&1 || { cat unpack.log >&2; exit 1; }
echo "$PIN" >src/.zarn-version
echo "$revision" >src/.zarn-revision
rm -rf "$target"
mv src "$target"
