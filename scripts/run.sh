#!/usr/bin/env bash
# Installs what is missing, builds, and runs the screensaver's show (/s) under Wine:
# the 64-bit program, or with --32 the 32-bit one (the file users install) under the
# 32-bit Wine. With an X display it runs there until Escape; without one it runs on a
# private Xvfb display for a few seconds and leaves pictures of it in
# build/winNN/screenshots.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
bits=$(choose_build "$@")
install_and_build "$bits" --no-tests
build="$ZARN_ROOT/build/win$bits"
scr="$build/Zarn_Scr.scr"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  prepare_wine_prefix "$bits" "$build/wineprefix-run"
  zwine "$bits" wine "$scr" /s
  exit 0
fi

begin_wine_session wineprefix-run "$bits"
shots="$build/screenshots"
rm -rf "$shots"
mkdir -p "$shots/frames"
zwine "$bits" wine "$scr" /s &
show=$!
# The copies start at size 0 and grow frame by frame: give them a few seconds.
sleep 5
for frame in $(seq -w 1 24); do
  import -display "$DISPLAY" -window root "$shots/frames/$frame.png" 2>/dev/null || true
  sleep 0.08
done
cp "$shots/frames/01.png" "$shots/show.png"
convert -delay 10 -loop 0 "$shots"/frames/*.png -layers Optimize "$shots/show.gif" 2>/dev/null || true
rm -rf "$shots/frames"
# Escape held long enough for the show's keyboard poll to see it.
xdotool keydown Escape; sleep 0.3; xdotool keyup Escape
wait "$show" || true
echo "The show ran on a private display for a few seconds. Its pictures:"
echo "  $shots/show.png"
echo "  $shots/show.gif"
