; The Veltrax installer for Windows, built with NSIS by scripts/package-windows.sh:
;   makensis -DVERSION=1.0.0 -DDIST=<folder of the program> -DOUTFILE=<setup.exe> veltrax.nsi
; Installs into Program Files with a Start menu shortcut and an uninstaller.
; The element table NameMass.dat is each user's own: the program creates it in
; the user's application data folder on first need, and it stays there when
; the program is removed.
; A 64-bit installer, like the program.
Target amd64-unicode
!include "MUI2.nsh"

Name "Veltrax"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Veltrax"
InstallDirRegKey HKLM "Software\Veltrax" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "Veltrax ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrax"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "Veltrax"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка Veltrax"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "CompanyName" "Veltrax developers"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "Veltrax developers"

Section "Veltrax"
  SetRegView 64
  SetOutPath "$INSTDIR"
  File /r "${DIST}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\Veltrax.lnk" "$INSTDIR\veltrax.exe" "" "$INSTDIR\veltrax.exe" 0
  WriteRegStr HKLM "Software\Veltrax" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Veltrax"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Veltrax developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\veltrax.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetRegView 64
  SetShellVarContext all
  Delete "$SMPROGRAMS\Veltrax.lnk"
  ; Only what the installer put there, and a table written beside the
  ; program by an administrator's copy.
  !include "${FILELIST}"
  Delete "$INSTDIR\NameMass.dat"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Veltrax"
SectionEnd
