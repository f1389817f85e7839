#!/usr/bin/env bash
# Makes the release's files from the 32-bit build, the program users install:
# package.sh OUT writes OUT/Zarn-Screensaver-VERSION-setup.exe, the zip of the files
# for a manual install and SHA256SUMS, the same bytes from the same commit.
# package.sh --test-vehicle-amd64 FILE writes the same installer built as a 64-bit
# program: the tests run it where the processor runs no 32-bit code; it never ships.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
build=$ZARN_ROOT/build/win32
cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
[ -f "$build/Zarn_Scr.scr" ] || fail "no 32-bit program in $build: run scripts/build.sh first"
version=$(cache_value CMAKE_PROJECT_VERSION)
name=Zarn-Screensaver-$version
# Every time stored in a release file is the last commit's.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$ZARN_ROOT" log -1 --format=%ct)}
export TZ=UTC
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The README's sections for users, as plain text with Windows line ends.
write_readme() {
  awk -v version="$version" '
    function plain(text) {
      gsub(/\*\*/, "", text); gsub(/`/, "", text); gsub(/VERSION/, version, text)
      while (match(text, /\[[^]]*\]\([^)]*\)/)) {
        link = substr(text, RSTART + 1, RLENGTH - 2); sub(/\]\(.*/, "", link)
        text = substr(text, 1, RSTART - 1) link substr(text, RSTART + RLENGTH)
      }
      return text
    }
    function underline(text, mark) { gsub(/./, mark, text); return text }
    NR == 1 { $0 = "Zarn Screensaver " version; print; print underline($0, "="); next }
    /^## / {
      heading = substr($0, 4)
      shown = heading ~ /^(Installing on Windows|Uninstalling|The settings dialog|Where the settings live|Your own picture|Command line|Several monitors)$/
      if (shown) { print ""; print heading; print underline(heading, "-") }
      next
    }
    NR > 1 && !started { if ($0 ~ /^!\[/) { started = 1; next } ; print plain($0); next }
    !shown || /^!\[/ || /^```/ || /^\|---/ { next }
    /^\|/ { n = split($0, cell, /[[:space:]]*\|[[:space:]]*/); printf "  %-24s %s\n", plain(cell[2]), plain(cell[3]); next }
    { print plain($0) }
  ' "$ZARN_ROOT/README.md" | cat -s | sed 's/$/\r/'
}

# The licences of what the program carries: libpng from its fetched source, and zlib,
# the mingw-w64 runtime and GCC's runtime library from the copyright files of the
# Debian packages the build linked them from.
write_notices() {
  local cxx file package
  cxx=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$build"/CMakeFiles/*/CMakeCXXCompiler.cmake)
  printf 'Zarn_Scr.scr carries the following third-party code, linked in statically.\n'
  printf '\n\n==== libpng %s ====\n\n' "$(sed -n 's/^#define PNG_LIBPNG_VER_STRING "\(.*\)"/\1/p' "$(cache_value ZARN_LIBPNG_SOURCE)/png.h")"
  cat "$(cache_value ZARN_LIBPNG_SOURCE)/LICENSE"
  for file in "$(cache_value ZARN_ZLIB)" "$("$cxx" -print-file-name=crt2.o)" "$("$cxx" -print-libgcc-file-name)"; do
    package=$(dpkg -S "$(readlink -f "$file")" | cut -d: -f1)
    case $package in
    libz-*) printf '\n\n==== zlib (Debian package %s) ====\n\n' "$package" ;;
    mingw-w64-*) printf '\n\n==== the mingw-w64 runtime (Debian package %s) ====\n\n' "$package" ;;
    *) printf "\n\n==== GCC's runtime library libgcc (Debian package %s) ====\n\n" "$package" ;;
    esac
    cat "/usr/share/doc/$package/copyright"
  done
}

# makensis OUTFILE [DEFINES]: the installer of the 32-bit program.
make_installer() {
  makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSCR="$build/Zarn_Scr.scr" \
    -DLICENSE="$work/LICENSE.txt" -DNOTICES="$work/THIRD-PARTY-NOTICES.txt" \
    -DICON="$ZARN_ROOT/app/picture/zarn.ico" -DOUTFILE="$1" "${@:2}" "$ZARN_ROOT/installer/zarn.nsi" >/dev/null
}

cp "$build/Zarn_Scr.scr" "$work/Zarn_Scr.scr"
sed 's/$/\r/' "$ZARN_ROOT/LICENSE" >"$work/LICENSE.txt"
write_readme >"$work/README.txt"
write_notices | sed 's/$/\r/' >"$work/THIRD-PARTY-NOTICES.txt"
if [ "${1:-}" = --test-vehicle-amd64 ]; then
  make_installer "$(realpath "$2")" -DTEST_VEHICLE_AMD64
  exit 0
fi
out=$(mkdir -p "$1" && cd "$1" && pwd)
rm -f "$out/$name-setup.exe" "$out/$name.zip" "$out/SHA256SUMS"
make_installer "$out/$name-setup.exe"
# The zip: fixed times, modes and order, no extra fields, no folder entries.
files=(Zarn_Scr.scr README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt)
(cd "$work" && chmod 644 "${files[@]}" && touch -d "@$SOURCE_DATE_EPOCH" "${files[@]}" &&
  zip -q -X -D -9 "$out/$name.zip" "${files[@]}")
(cd "$out" && sha256sum "$name-setup.exe" "$name.zip" >SHA256SUMS)
echo "release $version in $out:"
(cd "$out" && stat -c '  %n  %s bytes' "$name-setup.exe" "$name.zip" SHA256SUMS)
