; The installer: the 32-bit Zarn_Scr.scr into the system folder for 32-bit programs,
; where the Screen Saver Settings keep listing it, an uninstaller with the licences in
; a folder of its own under Program Files, and an entry in Add/Remove Programs.
; scripts/release.sh passes VERSION, SCR, LICENSE, NOTICES, ICON and OUTFILE. With
; TEST_VEHICLE_AMD64 the same script becomes a 64-bit program, built only by the tests
; for machines whose processor runs no 32-bit code; it is never shipped.
Unicode true
!ifdef TEST_VEHICLE_AMD64
  Target amd64-unicode
!endif
SetCompressor /SOLID lzma
; The same sources make the same installer: no file times stored.
SetDateSave off
; A system folder needs them; the rights are checked again at run time.
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include nsDialogs.nsh
!include Sections.nsh

!define PRODUCT "Zarn Screensaver"
!define PUBLISHER "The Zarn Screensaver developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES32\${PRODUCT}"
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 ProductName "${PRODUCT}"
VIAddVersionKey /LANG=1033 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=1033 FileDescription "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 LegalCopyright "MIT licence, ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "${PRODUCT} ${VERSION} goes into the Windows system folder, where the Screen Saver Settings list it, and its uninstaller into Program Files. Administrator rights are needed for both."
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
Page custom ShowDonePage LeaveDonePage
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

; The folder that holds the .scr: the system folder for 32-bit programs.
Var ScrFolder
Var OpenSettings

; On 64-bit Windows (x64 and ARM64 alike) Windows names the 32-bit programs' system
; folder; on 32-bit Windows the call fails and it is the system folder itself.
!macro FIND_SCR_FOLDER
  System::Call 'kernel32::GetSystemWow64DirectoryW(w .r0, i ${NSIS_MAX_STRLEN}) i .r1'
  ${If} $1 = 0
  ${OrIf} $1 == "error"
    StrCpy $0 $SYSDIR
  ${EndIf}
  StrCpy $ScrFolder $0
!macroend

; Asking for the rights does not get them (UAC off, a standard user): stop without them.
!macro REQUIRE_ADMIN
  System::Call 'shell32::IsUserAnAdmin() i .r0'
  ${If} $0 = 0
    MessageBox MB_ICONSTOP "${PRODUCT} lives in the Windows system folder, which needs administrator rights. Run this program again as an administrator." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
!macroend


Section "${PRODUCT}" SecProgram
  SectionIn RO
  ; Over an installed copy only the program is replaced: the user's Zarn_Scr.ini and
  ; zarn.bmp beside it stay as they are.
  SetOutPath $ScrFolder
  File "/oname=Zarn_Scr.scr" "${SCR}"
  SetOutPath $INSTDIR
  File "/oname=LICENSE.txt" "${LICENSE}"
  File "/oname=THIRD-PARTY-NOTICES.txt" "${NOTICES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; One entry under a fixed key, however often it is installed; the paths name the
  ; files where the 64-bit system finds them.
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "$ScrFolder\Zarn_Scr.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize $0
SectionEnd

; As the Screen Saver Settings do it: the value, then the switch, saved and announced.
Section "Make it the current screensaver" SecActivate
  WriteRegStr HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE "$ScrFolder\Zarn_Scr.scr"
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})'
SectionEnd

Function .onInit
  SetRegView 32
  !insertmacro REQUIRE_ADMIN
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" DisplayVersion
  ${If} $0 != ""
    ${VersionCompare} $0 "${VERSION}" $1
    ${If} $1 = 1
      MessageBox MB_ICONSTOP "${PRODUCT} $0 is installed, which is newer than this one (${VERSION}). Nothing was changed." /SD IDOK
      SetErrorLevel 3
      Quit
    ${EndIf}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOACTIVATE" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecActivate}
  ${EndIf}
  !insertmacro FIND_SCR_FOLDER
FunctionEnd

Function ShowDonePage
  !insertmacro MUI_HEADER_TEXT "${PRODUCT} is installed" "It is listed in the Screen Saver Settings."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u "There, Settings... opens its dialog and Preview starts the show. To remove it, use Add or Remove Programs."
  Pop $0
  ${NSD_CreateCheckbox} 0 44u 100% 12u "Open the Screen Saver Settings"
  Pop $OpenSettings
  ${NSD_Check} $OpenSettings
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:$(^CloseBtn)"
  GetDlgItem $0 $HWNDPARENT 2
  EnableWindow $0 0
  GetDlgItem $0 $HWNDPARENT 3
  ShowWindow $0 ${SW_HIDE}
  nsDialogs::Show
FunctionEnd

Function LeaveDonePage
  ${NSD_GetState} $OpenSettings $0
  ${If} $0 = ${BST_CHECKED}
    Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
  ${EndIf}
FunctionEnd

Function un.onInit
  SetRegView 32
  !insertmacro REQUIRE_ADMIN
  !insertmacro FIND_SCR_FOLDER
FunctionEnd

Section Uninstall
  ; SCRNSAVE.EXE goes only when it names this file, in whatever spelling: the Screen
  ; Saver Settings may have rewritten it in another case or in its short form.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE
  ${If} $0 != ""
    System::Call 'kernel32::GetLongPathNameW(w r0, w .r1, i ${NSIS_MAX_STRLEN}) i .r2'
    System::Call 'kernel32::GetLongPathNameW(w "$ScrFolder\Zarn_Scr.scr", w .r3, i ${NSIS_MAX_STRLEN}) i .r4'
    ${If} $2 <> 0
    ${AndIf} $4 <> 0
    ${AndIf} $1 == $3
      DeleteRegValue HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE
      System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})'
    ${EndIf}
  ${EndIf}
  ; A zarn.bmp there is the user's own picture: it stays.
  Delete "$ScrFolder\Zarn_Scr.scr"
  Delete "$ScrFolder\Zarn_Scr.ini"
  Delete "$ScrFolder\Zarn_Scr.ini.new"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
