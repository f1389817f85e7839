#!/usr/bin/env bash
# Takes docs/dialog.png: the settings dialog on a private Xvfb display, cropped to
# the window.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
install_and_build 64 --no-tests
begin_wine_session wineprefix-run
root=$ZARN_ROOT
build="$root/build/win64"

# A folder of its own, so no settings file of a test run changes the picture.
work=$(mktemp -d)
cp "$build/Zarn_Scr.scr" "$work/"
(cd "$work" && zwine 64 wine Zarn_Scr.scr) &
dialog=$!
xdotool search --sync --name "Zarn Screensaver Configuration" >/dev/null
sleep 1
mkdir -p "$root/docs"
import -display "$DISPLAY" -window root "$work/screen.png"
# The screen around the window is black: trimming leaves the window.
convert "$work/screen.png" -trim +repage "$root/docs/dialog.png"
# Nothing here answers the dialog: end the private prefix's processes.
zwine 64 wineserver -k >/dev/null 2>&1 || true
wait "$dialog" 2>/dev/null || true
rm -rf "$work"
echo "docs/dialog.png written"
