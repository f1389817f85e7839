#!/usr/bin/env bash
# pngsuite-references.sh SUITE OUT: libpng's test suite with, beside each file, the 8-bit
# RGB rows ImageMagick decodes (alpha dropped), and index.txt ("name width height"). The
# samples are taken as stored: the decoder applies no gamma, as ImageMagick would.
set -euo pipefail
suite=$1 out=$2
mkdir -p "$out"
index="$out/index.txt.new"
: >"$index"
for file in $(cd "$suite" && find . -name '*.png' | sort); do
  name=$(basename "$file")
  cp "$suite/$file" "$out/$name"
  convert "$suite/$file" -alpha off -set colorspace sRGB -depth 8 "rgb:$out/${name%.png}.rgb"
  echo "$name $(identify -format '%w %h' "$suite/$file")" >>"$index"
done
mv "$index" "$out/index.txt"
