#!/usr/bin/env bash
# The release as a Windows user meets it, in a fresh 64-bit prefix: release.sh BITS,
# from a folder the test may write in. BITS 32 runs the installer that ships, under the
# WoW64 Wine, and the installed saver's show and dialog. BITS 64 runs the same installer
# script built as a 64-bit program (never shipped) under Wine 8, for machines whose
# processor runs no 32-bit code: every check but the saver's own runs, and it checks the
# zip and the installer's manifest too.
set -uo pipefail
bits=$1
source "$(dirname "$0")/../scripts/lib/commands.sh"
source "$ZARN_ROOT/tests/expect.sh"
work=$PWD/release$bits
rm -rf "$work"
mkdir -p "$work/dist"
export ZARN_PREFIX_$bits="$work/wineprefix"
begin_wine_session "$bits" || exit 1

"$ZARN_ROOT/scripts/package.sh" "$work/dist" >/dev/null || exit 1
setup=$(ls "$work"/dist/*-setup.exe)
[ "$bits" = 32 ] || { "$ZARN_ROOT/scripts/package.sh" --test-vehicle-amd64 "$work/vehicle.exe" && setup=$work/vehicle.exe; } || exit 1
built=$ZARN_ROOT/build/win32/Zarn_Scr.scr
syswow64=$WINEPREFIX/drive_c/windows/syswow64
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zarn Screensaver'
desktop='HKCU\Control Panel\Desktop'

# snapshot: reads the Add/Remove entry (in the 32-bit view) and the desktop's settings,
# once per state, for value NAME to give a value's data (empty when it is missing).
snapshot() {
  state=$({ zwine "$bits" wine reg query "$uninstall_key" /reg:32; zwine "$bits" wine reg query "$desktop"; } 2>/dev/null | tr -d '\r')
}
value() {
  awk -v name="$1" '$1 == name { sub(/^ *[^ ]+ +REG_[A-Z_]+ +/, ""); print }' <<<"$state"
}
set_value() { zwine "$bits" wine reg add "$1" /v "$2" /d "$3" /f "${@:4}" >/dev/null 2>&1; }
# run PROGRAM ARGUMENTS: its exit code, once every process of the prefix has ended (the
# uninstaller returns at once and goes on from a copy of itself in the temporary folder).
run() {
  local status=0
  zwine "$bits" wine "$@" >/dev/null 2>&1 || status=$?
  zwine "$bits" wineserver -w
  return $status
}
unix_path() { zwine "$bits" wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }
# manifest PROGRAM: the text of the program's RT_MANIFEST resource.
manifest() {
  python3 - "$1" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
pe = struct.unpack_from("<I", data, 0x3C)[0]
sections, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
optional = pe + 24
directories = optional + (96 if struct.unpack_from("<H", data, optional)[0] == 0x10B else 112)
rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
table = [struct.unpack_from("<8sIIII", data, optional + optional_size + 40 * i) for i in range(sections)]
offset = lambda address: next(a - va + raw for _, size, va, _, raw in table if va <= address < va + size for a in [address])
root = offset(rva)
def entries(at):
    named, ids = struct.unpack_from("<HH", data, root + at + 12)
    return [struct.unpack_from("<II", data, root + at + 16 + 8 * i) for i in range(named + ids)]
for kind, below in entries(0):
    if kind == 24:
        while below & 0x80000000:
            below = entries(below & 0x7FFFFFFF)[0][1]
        address, size = struct.unpack_from("<II", data, root + below)
        sys.stdout.write(data[offset(address):offset(address) + size].decode("utf-8", "replace"))
EOF
}
entries() { zwine "$bits" wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /reg:32 2>/dev/null | grep -c 'Zarn Screensaver'; }

set_value "$desktop" SCRNSAVE.EXE 'C:\windows\other.scr'
set_value "$desktop" ScreenSaveActive 0
run "$setup" /S /NOACTIVATE
snapshot
expect "/NOACTIVATE: installed, the current screensaver left as it was" \
  '[ -f "$syswow64/Zarn_Scr.scr" ] && [ "$(value SCRNSAVE.EXE)" = "C:\\windows\\other.scr" ] && [ "$(value ScreenSaveActive)" = 0 ]'
run "$setup" /S
status=$?
snapshot
folder=$(value InstallLocation)
scrnsave=$(value SCRNSAVE.EXE)
expect "a silent install ends with 0 ($status)" '[ "$status" = 0 ]'
expect "the .scr in syswow64 is the build's" 'cmp -s "$built" "$syswow64/Zarn_Scr.scr"'
expect "nothing in the 64-bit system32" '! ls "$WINEPREFIX/drive_c/windows/system32" | grep -qi zarn'
expect "the licences and the uninstaller in $folder" \
  '[ "$(ls "$(unix_path "$folder")" | xargs)" = "LICENSE.txt THIRD-PARTY-NOTICES.txt uninstall.exe" ]'
while read -r name data; do
  expect "Add/Remove $name: $data" '[ "$(value "$name")" = "$data" ]'
done <<EOF
DisplayName Zarn Screensaver
DisplayVersion $(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$ZARN_ROOT/build/win32/CMakeCache.txt")
Publisher The Zarn Screensaver developers
DisplayIcon C:\\windows\\syswow64\\Zarn_Scr.scr,0
UninstallString "$folder\\uninstall.exe"
QuietUninstallString "$folder\\uninstall.exe" /S
NoModify 0x1
NoRepair 0x1
EOF
expect "Add/Remove size in KB" '[ $(($(value EstimatedSize))) -ge $(($(stat -c %s "$built") / 1024)) ]'
# A 64-bit process of the prefix (cmd) copies the file that SCRNSAVE.EXE names.
zwine "$bits" wine cmd /c copy /b "$scrnsave" 'Z:'"${work//\//\\}"'\seen.scr' >/dev/null 2>&1
expect "SCRNSAVE.EXE ($scrnsave) names the installed file for a 64-bit process" 'cmp -s "$built" "$work/seen.scr"'
expect "the screensaver is switched on" '[ "$(value ScreenSaveActive)" = 1 ]'

if [ "$bits" = 32 ]; then
  cd "$work"
  start_program "$bits" "$scrnsave" /s
  # The copies start at size 0: a few seconds may pass before a pixel is lit.
  for tries in $(seq 1 40); do
    sleep 0.5
    import -display "$DISPLAY" -window root show.png 2>/dev/null
    [ "$(convert show.png -colorspace Gray -format "%[fx:maxima>0]" info:)" = 1 ] && break
  done
  status="still running 20 s after Escape"
  ! wait_for_end "$PROGRAM_PID" 20 Escape || { wait "$PROGRAM_PID"; status=$?; }
  expect "the installed saver started by that path shows its picture" '[ "$(convert show.png -colorspace Gray -format "%[fx:maxima>0]" info:)" = 1 ]'
  expect "and ends on Escape with 0 ($status)" '[ "$status" = 0 ]'
  x86_64-w64-mingw32-gcc -o ok.exe -x c - <<'EOF'
#include <windows.h>
// Clicks the dialog's OK (4) once its delay field (8) shows the settings read.
int main(void) {
    for (int tries = 0; tries < 100; tries++, Sleep(100)) {
        HWND dialog = FindWindowA(NULL, "Zarn Screensaver Configuration");
        char delay[16] = "";
        if (dialog && SendMessageA(GetDlgItem(dialog, 8), WM_GETTEXT, sizeof delay, (LPARAM)delay) > 0)
            return !PostMessageA(GetDlgItem(dialog, 4), BM_CLICK, 0, 0);
    }
    return 1;
}
EOF
  start_program "$bits" "$scrnsave" /c
  zwine "$bits" wine ok.exe >/dev/null 2>&1
  status=$?
  wait_for_end "$PROGRAM_PID" 10
  expect "the dialog's OK ($status) writes the settings beside the installed saver" 'grep -q "^ZCOUNT = 10" "$syswow64/Zarn_Scr.ini"'
fi

printf 'ZCOUNT = 7\r\n' >"$syswow64/Zarn_Scr.ini"
convert -size 16x16 xc:red BMP3:"$syswow64/zarn.bmp"
cp "$syswow64/zarn.bmp" "$work/zarn.bmp"
printf 'stale' >"$syswow64/Zarn_Scr.scr"
run "$setup" /S
expect "a second install replaces the .scr" 'cmp -s "$built" "$syswow64/Zarn_Scr.scr"'
expect "and keeps the settings and the user's zarn.bmp" \
  '[ "$(cat "$syswow64/Zarn_Scr.ini")" = "$(printf "ZCOUNT = 7\r")" ] && cmp -s "$work/zarn.bmp" "$syswow64/zarn.bmp"'
expect "one Add/Remove entry ($(entries))" '[ "$(entries)" = 1 ]'

set_value "$uninstall_key" DisplayVersion 99.0.0 /reg:32
printf 'newer' >"$syswow64/Zarn_Scr.scr"
run "$setup" /S
status=$?
snapshot
expect "over a newer version a silent install fails ($status) and changes nothing" \
  '[ "$status" != 0 ] && [ "$(cat "$syswow64/Zarn_Scr.scr")" = newer ] && [ "$(value DisplayVersion)" = 99.0.0 ]'
set_value "$uninstall_key" DisplayVersion 0.1 /reg:32

# Each spelling of SCRNSAVE.EXE, and whether the silent uninstall must clear it. Every
# part of the path is a valid short name: its short form differs only in case.
while read -r cleared spelling; do
  run "$setup" /S
  printf 'ZCOUNT = 7\r\n' >"$syswow64/Zarn_Scr.ini"
  printf 'new' >"$syswow64/Zarn_Scr.ini.new"
  set_value "$desktop" SCRNSAVE.EXE "$spelling"
  run "$(unix_path "$folder")/uninstall.exe" /S
  snapshot
  expect "uninstalled with SCRNSAVE.EXE $spelling: files, folder and entry gone" \
    '! ls "$syswow64" | grep -qi "^zarn_scr" && [ ! -e "$(unix_path "$folder")" ] && [ "$(entries)" = 0 ]'
  expect "the user's zarn.bmp stays" 'cmp -s "$work/zarn.bmp" "$syswow64/zarn.bmp"'
  if [ "$cleared" = yes ]; then
    expect "SCRNSAVE.EXE $spelling cleared" '[ -z "$(value SCRNSAVE.EXE)" ]'
  else
    expect "another saver's SCRNSAVE.EXE left alone" '[ "$(value SCRNSAVE.EXE)" = "$spelling" ]'
  fi
done <<EOF
yes C:\\windows\\syswow64\\Zarn_Scr.scr
yes C:\\WINDOWS\\SYSWOW64\\ZARN_SCR.SCR
no C:\\windows\\syswow64\\other.scr
EOF

if [ "$bits" = 64 ]; then
  cd "$work/dist"
  unzip -q -d "$work/zip" *.zip
  expect "the zip holds exactly the release's files" \
    '[ "$(unzip -Z1 *.zip | xargs)" = "Zarn_Scr.scr README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt" ]'
  expect "its README.txt has CRLF line ends" '[ -s "$work/zip/README.txt" ] && ! grep -qv $'"'"'\r$'"'"' "$work/zip/README.txt"'
  expect "its Zarn_Scr.scr is the build's" 'cmp -s "$work/zip/Zarn_Scr.scr" "$built"'
  expect "SHA256SUMS verifies" 'sha256sum --quiet -c SHA256SUMS'
  expect "the notices carry libpng's and zlib's licences" \
    'grep -q "PNG Reference Library License version 2" "$work/zip/THIRD-PARTY-NOTICES.txt" &&
     grep -q "This software is provided .as-is., without any express or implied" "$work/zip/THIRD-PARTY-NOTICES.txt"'
  expect "the installer's manifest asks for administrator rights" \
    'manifest *-setup.exe | grep -q "level=\"requireAdministrator\""'
fi
exit $((failures > 0))
