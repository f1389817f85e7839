#!/usr/bin/env bash
# Makes the files a Windows user gets: installs what is missing, builds, and writes
# dist/Zarn-Screensaver-VERSION-setup.exe, dist/Zarn-Screensaver-VERSION.zip and
# dist/SHA256SUMS (scripts/package.sh). The version is the CMake project's.
set -euo pipefail
source "$(dirname "$0")/lib/commands.sh"
install_and_build 64 --no-tests
"$ZARN_ROOT/scripts/package.sh" "$ZARN_ROOT/dist"
