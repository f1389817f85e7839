#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and is not
# there yet. Safe to run again: with everything present it only asks dpkg and returns.
# With --wow64 it also makes the 32-bit program's Wine (wow64-root.sh) when missing, on
# a machine whose processor runs 32-bit code; elsewhere it says why it does not.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

PACKAGES=(
  cmake make git
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-i686-dev mingw-w64-x86-64-dev
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  googletest dpkg-dev python3 gcc libc6-dev clang libclang-rt-14-dev zlib1g-dev qemu-user
  wine wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick debootstrap gnuplot-nox
  xserver-xephyr
  # What Wine only recommends, but its DirectDraw, Direct3D and screen size need: OpenGL
  # through Mesa, and the X extensions it asks for the screen's modes and windows.
  libgl1 libglx-mesa0 libgl1-mesa-dri libegl1 libxcursor1 libxfixes3 libxi6 libxinerama1
  libxrandr2 libxrender1 libxxf86vm1 libxcomposite1
)

# libpng's source comes from Debian's source package, which needs a deb-src entry for
# the release's main suite.
. /etc/os-release
SUITE=${VERSION_CODENAME:-bookworm}
SOURCES_DIR=$(apt-config shell d Dir::Etc::sourceparts/d | sed -E "s/^d='(.*)'$/\1/; s:/$::")
SOURCES_LIST=$(apt-config shell f Dir::Etc::sourcelist/f | sed -E "s/^f='(.*)'$/\1/")
SOURCE_ENTRY="$SOURCES_DIR/zarn-$SUITE-src.sources"

has_source_entry() {
  grep -rqsE "^(Types:.*deb-src|deb-src .*[[:space:]]$SUITE[[:space:]])" "$SOURCES_LIST" "$SOURCES_DIR"/ &&
    apt-cache showsrc libpng1.6 2>/dev/null | grep -q '^Package: libpng1.6'
}

# The deb-src twin of the machine's own entry for the main suite (not the security
# suite, whose sources are not served), so that the same mirror serves the sources:
# a deb822 entry, else a one-line entry. Prints nothing when there is none.
source_entry_from_machine() {
  local entries
  entries=$(find "$SOURCES_DIR" -maxdepth 1 -name '*.sources' 2>/dev/null | sort)
  awk -v suite="$SUITE" '
    function flush() {
      if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ") && uris != "") {
        print "Types: deb-src"; print "URIs: " uris; print "Suites: " suite
        print "Components: main"; if (signed != "") print "Signed-By: " signed
        done = 1; exit
      }
      types = uris = suites = signed = ""
    }
    FNR == 1 { flush() }
    /^[[:space:]]*#/ { next }
    /^[[:space:]]*$/ { flush(); next }
    /^[[:space:]]/ { next }
    { key = $1; sub(/:$/, "", key); value = $0; sub(/^[^:]*:[[:space:]]*/, "", value) }
    key == "Types" { types = value } key == "URIs" { uris = value }
    key == "Suites" { suites = value } key == "Signed-By" { signed = value }
    END { if (!done) flush() }' $entries /dev/null
}
source_line_from_machine() {
  local lists
  lists=$( (ls "$SOURCES_LIST"; find "$SOURCES_DIR" -maxdepth 1 -name '*.list' | sort) 2>/dev/null)
  awk -v suite="$SUITE" '$1 == "deb" {
      i = 2; options = ""
      if ($2 ~ /^\[/) { while ($i !~ /\]$/) options = options $(i++) " "; options = options $(i++) " " }
      if ($(i + 1) == suite) { print "deb-src " options $i " " suite " main"; exit }
    }' $lists /dev/null
}

missing=()
installed=$(dpkg-query -W -f='${Package} ${db:Status-Abbrev}\n' "${PACKAGES[@]}" 2>/dev/null || true)
for package in "${PACKAGES[@]}"; do
  grep -q "^${package} ii" <<<"$installed" || missing+=("$package")
done

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi
# Asks for root only when there is something to make.
make_wow64_root() {
  [ "${1:-}" = --wow64 ] || return 0
  source "$root/scripts/lib/commands.sh"
  set_up_32bit_wine || echo "setup: no 32-bit Wine made: $NO_32BIT_LINE" >&2
}
if [ ${#missing[@]} -eq 0 ] && has_source_entry; then
  make_wow64_root "$@"
  exit 0
fi
if ! grep -rqsE "^(Types:.*deb-src|deb-src .*[[:space:]]$SUITE[[:space:]])" "$SOURCES_LIST" "$SOURCES_DIR"/; then
  entry=$(source_entry_from_machine)
  if [ -n "$entry" ]; then
    echo "setup: adding a deb-src entry for $SUITE beside the machine's own"
    printf '%s\n' "$entry" | "${as_root[@]}" tee "$SOURCE_ENTRY" >/dev/null
  else
    line=$(source_line_from_machine)
    if [ -z "$line" ]; then
      echo "setup: no package source for $SUITE is configured on this machine" >&2
      exit 1
    fi
    echo "setup: adding a deb-src line for $SUITE beside the machine's own"
    printf '%s\n' "$line" | "${as_root[@]}" tee "${SOURCE_ENTRY%.sources}.list" >/dev/null
  fi
fi
"${as_root[@]}" apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
make_wow64_root "$@"
