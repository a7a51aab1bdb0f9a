; The Veltrax installer for Windows, built with NSIS by scripts/package-windows.sh:
;   makensis -DVERSION=1.0.0 -DDIST=<folder of the program> -DICON=<icon> -DLICENSE=<copyright.txt>
;            -DFILELIST=<uninstall list> -DOUTFILE=<setup.exe> veltrax.nsi
; Installs for all users (administrator rights, Program Files) or only for the
; current user (no rights, %LOCALAPPDATA%\Programs\Veltrax), each with its own
; Start menu shortcut and uninstall entry; /S /AllUsers and /S /CurrentUser
; choose silently. An install over an earlier one removes the old program
; files first. The element table NameMass.dat is each user's own, in the
; user's application data folder: no install, upgrade or uninstall touches it.
; A 64-bit installer, like the program.
Target amd64-unicode

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Veltrax"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "Software\Veltrax"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "Software\Veltrax"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallDir"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_TOP "Для кого установить Veltrax?"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_ALLUSERS "для всех пользователей (нужны права администратора)"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_CURRENTUSER "только для меня"
!include "MultiUser.nsh"
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WordFunc.nsh"

Name "Veltrax"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
BrandingText "Veltrax ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrax"
!define MUI_FINISHPAGE_RUN "$INSTDIR\veltrax.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Запустить Veltrax"

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
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

Function .onInit
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; A running Veltrax holds its program file: it cannot be opened for writing.
Function CloseRunningVeltrax
  ${Do}
    ${IfNot} ${FileExists} "$INSTDIR\veltrax.exe"
      Return
    ${EndIf}
    ClearErrors
    FileOpen $0 "$INSTDIR\veltrax.exe" a
    ${IfNot} ${Errors}
      FileClose $0
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Veltrax сейчас запущена. Закройте программу и нажмите «Повтор»." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
    retry:
  ${Loop}
FunctionEnd

; An earlier Veltrax in the same place goes first: its own uninstaller
; removes what it installed, then whatever program files an older layout
; left (the users' tables live elsewhere and stay).
Function RemoveEarlierVeltrax
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $0 != ""
    ${VersionCompare} $0 "${VERSION}" $1
    ${If} $1 == 1
      MessageBox MB_YESNO|MB_ICONQUESTION \
        "Установлена более новая версия Veltrax ($0). Заменить её версией ${VERSION}?" /SD IDYES IDYES replace
      Quit
      replace:
    ${EndIf}
    DetailPrint "Удаляется Veltrax $0"
  ${EndIf}
  ; The folder holds a Veltrax: seen before its uninstaller empties it.
  StrCpy $R9 0
  ${If} ${FileExists} "$INSTDIR\veltrax.exe"
  ${OrIf} ${FileExists} "$INSTDIR\Qt6Core.dll"
    StrCpy $R9 1
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\uninstall.exe"
    ExecWait '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
    Delete "$INSTDIR\uninstall.exe"
  ${EndIf}
  ${If} $R9 == 1
    Delete "$INSTDIR\*.exe"
    Delete "$INSTDIR\*.dll"
    Delete "$INSTDIR\copyright.txt"
    RMDir /r "$INSTDIR\platforms"
    RMDir /r "$INSTDIR\styles"
    RMDir /r "$INSTDIR\translations"
    RMDir /r "$INSTDIR\tables"
    RMDir /r "$INSTDIR\licenses"
  ${EndIf}
FunctionEnd

Section "Veltrax"
  SetRegView 64
  Call CloseRunningVeltrax
  Call RemoveEarlierVeltrax
  SetOutPath "$INSTDIR"
  File /r "${DIST}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Veltrax.lnk" "$INSTDIR\veltrax.exe" "" "$INSTDIR\veltrax.exe" 0
  WriteRegStr SHCTX "Software\Veltrax" "InstallDir" "$INSTDIR"
  WriteRegStr SHCTX "Software\Veltrax" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Veltrax"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Veltrax developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\veltrax.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "Uninstall"
  SetRegView 64
  Delete "$SMPROGRAMS\Veltrax.lnk"
  ; Only what the installer put there, and a table an earlier version may
  ; have written beside the program.
  !include "${FILELIST}"
  Delete "$INSTDIR\NameMass.dat"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "Software\Veltrax"
SectionEnd
