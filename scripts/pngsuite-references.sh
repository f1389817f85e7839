#!/usr/bin/env bash
# Copies the PNG test suite that ships with libpng's source into OUT and writes beside
# each file the 8-bit RGB rows that ImageMagick decodes from it (alpha dropped, not
# blended), as an independent reference for the PNG decoder's tests. The samples are
# taken as stored: ImageMagick would otherwise turn a picture whose gAMA chunk says
# linear into sRGB, and the decoder applies no gamma.
# index.txt lists "name width height" per file.
set -euo pipefail
suite=$1
out=$2
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
