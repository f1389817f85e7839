#!/usr/bin/env bash
# Installs what is missing, builds both executables and runs every test: the Windows
# tests run in the 64-bit build under Wine, with a Wine prefix inside the build tree
# and a private Xvfb display (640x480, 16 bits) that lives only as long as this run.
# Arguments go to ctest (for example -R unit).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

build="$root/build/win64"
source "$root/scripts/wine-env.sh"
start_private_display
trap stop_private_display EXIT
prepare_wine_prefix "$build/wineprefix"

cd "$build"
ctest --output-on-failure "$@"
