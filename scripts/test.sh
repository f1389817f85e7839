#!/usr/bin/env bash
# Installs what is missing, builds both executables and runs every test: the Windows
# tests run in the 64-bit build under Wine, with a Wine prefix inside the build tree
# and a private Xvfb display (640x480, 16 bits) that lives only as long as this run.
# The tests that need no display run beside those that do. Arguments go to ctest (for
# example -R unit).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
install_and_build
begin_wine_session wineprefix
cd "$ZARN_ROOT/build/win64"
ctest --output-on-failure -j 3 "$@"
