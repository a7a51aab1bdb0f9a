;  The Veltrax installer for Windows, built with NSIS by scripts/package-windows.sh:
;   makensis -DVERSION=1.0.0 -DRUNNING_MARK=<the running mark's name> -DDIST=<folder of the program> -DICON=<icon> -DLICENSE=<licence page>
;            -DFILELIST=<uninstall list> -DOUTFILE=<setup.exe> veltrax.nsi
; Installs for all users (administrator rights, Program Files) or only for the
; current user (no rights, %LOCALAPPDATA%\Programs\Veltrax), each with its own
; Start menu shortcuts and uninstall entry, told apart by name.
;
; Switches: /S silent; /AllUsers or /CurrentUser; /D=FOLDER (last) the folder;
; /Downgrade lets a silent install replace a newer version.
; Exit codes: 0 done; 1 refused or cancelled (no administrator rights for
; /AllUsers, a question answered no); 2 Veltrax is running; 3 a newer
; version is installed (silent, without /Downgrade).
;
; An install over an earlier one of the same kind runs that one's own
; uninstaller, in its own mode, in the folder its registry entry names: it
; removes exactly what it installed and nothing of the other kind's copy. A
; folder that holds anything but an earlier Veltrax gets a Veltrax subfolder,
; so that no other program's files are ever replaced. A marker file beside the
; program tells it that it is installed, wherever it stands, so that each user
; keeps an own element table. No install, upgrade or uninstall touches the
; users' tables or the administrator's. A 64-bit installer, like the program.
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
!define MULTIUSER_INSTALLMODE_FUNCTION KeepCommandLineFolder
!define MULTIUSER_INIT_FUNCTIONQUIT RefusedQuit
!define MULTIUSER_INIT_un.FUNCTIONQUIT un.RefusedQuit
!define MULTIUSER_INSTALLMODEPAGE_TEXT_TOP "Для кого установить Veltrax?"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_ALLUSERS "для всех пользователей (нужны права администратора)"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_CURRENTUSER "только для меня"
!define MULTIUSER_INIT_TEXT_ADMINREQUIRED "Для этого нужны права администратора."
!define MULTIUSER_INIT_TEXT_POWERREQUIRED "Для этого нужны права администратора."
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE "Чтобы установить Veltrax для всех пользователей, нужны права администратора. Запустите установку от имени администратора или выберите «только для меня»."
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

Var CommandLineFolder
Var EarlierFolder  ; the folder an earlier Veltrax of this kind was removed from

; MultiUser would say it in a box that waits for a click even in silent
; mode: /AllUsers without the rights for it is answered here.
!macro REFUSE_ALL_USERS_WITHOUT_RIGHTS UN
Function ${UN}RefuseAllUsersWithoutRights
  ${${UN}GetParameters} $R0
  ClearErrors
  ${${UN}GetOptions} $R0 "/AllUsers" $R1
  ${If} ${Errors}
    Return
  ${EndIf}
  UserInfo::GetAccountType
  Pop $R2
  ${If} $R2 != "Admin"
  ${AndIf} $R2 != "Power"
    MessageBox MB_OK|MB_ICONSTOP "${MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE}" /SD IDOK
    Call ${UN}RefusedQuit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro REFUSE_ALL_USERS_WITHOUT_RIGHTS ""
!insertmacro REFUSE_ALL_USERS_WITHOUT_RIGHTS "un."

Function .onInit
  SetRegView 64
  StrCpy $CommandLineFolder $INSTDIR  ; what /D= said, if anything
  Call RefuseAllUsersWithoutRights
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  Call un.RefuseAllUsersWithoutRights
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Function RefusedQuit
  SetErrorLevel 1
  Quit
FunctionEnd

Function un.RefusedQuit
  SetErrorLevel 1
  Quit
FunctionEnd

; MultiUser sets the folder of the mode chosen: /D= wins over it.
Function KeepCommandLineFolder
  ${If} $CommandLineFolder != ""
    StrCpy $INSTDIR $CommandLineFolder
  ${EndIf}
FunctionEnd

; The names that tell the two kinds of install apart.
!macro NAMES UN
Function ${UN}Names
  ${If} $MultiUser.InstallMode == "AllUsers"
    StrCpy $R5 "Veltrax (для всех пользователей)"
    StrCpy $R6 "Veltrax"
    StrCpy $R7 "Veltrax в браузере"
  ${Else}
    StrCpy $R5 "Veltrax (только для меня)"
    StrCpy $R6 "Veltrax (только для меня)"
    StrCpy $R7 "Veltrax в браузере (только для меня)"
  ${EndIf}
FunctionEnd
!macroend
!insertmacro NAMES ""
!insertmacro NAMES "un."

; A running Veltrax holds the mutex ${RUNNING_MARK}, and its program file,
; which then cannot be opened for writing. $R1 is the folder. Silent: exit
; code 2, and nothing is changed.
!macro CLOSE_RUNNING UN
Function ${UN}CloseRunningVeltrax
  ${Do}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${RUNNING_MARK}") p .r0'
    ${If} $0 P<> 0
      System::Call 'kernel32::CloseHandle(p r0)'
    ${ElseIfNot} ${FileExists} "$R1\veltrax.exe"
      Return
    ${Else}
      ClearErrors
      FileOpen $0 "$R1\veltrax.exe" a
      ${IfNot} ${Errors}
        FileClose $0
        Return
      ${EndIf}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Veltrax сейчас запущена. Закройте программу и нажмите «Повтор»." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING ""
!insertmacro CLOSE_RUNNING "un."

; A newer version of the same kind is replaced only when asked: after a
; question, or with /Downgrade in silent mode.
Function RefuseDowngrade
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $0 == ""
    Return
  ${EndIf}
  ${VersionCompare} $0 "${VERSION}" $1
  ${If} $1 != 1
    Return
  ${EndIf}
  ${If} ${Silent}
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/Downgrade" $R1
    ${If} ${Errors}
      SetErrorLevel 3
      Quit
    ${EndIf}
    Return
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONQUESTION \
    "Установлена более новая версия Veltrax ($0). Заменить её версией ${VERSION}?" IDYES replace
  SetErrorLevel 1
  Quit
  replace:
FunctionEnd

; The earlier Veltrax of this kind goes first, by its own uninstaller, in its
; own mode and folder: exactly what it installed, nothing else.
Function RemoveEarlierVeltrax
  ReadRegStr $R0 SHCTX "Software\Veltrax" "InstallDir"
  ${If} $R0 == ""
  ${OrIfNot} ${FileExists} "$R0\uninstall.exe"
    Return
  ${EndIf}
  StrCpy $R1 $R0
  Call CloseRunningVeltrax
  StrCpy $EarlierFolder $R0
  DetailPrint "Удаляется прежняя Veltrax из $R0"
  ExecWait '"$R0\uninstall.exe" /S /$MultiUser.InstallMode _?=$R0' $0
  ${If} $0 == 0
    Delete "$R0\uninstall.exe"
    RMDir "$R0"
  ${EndIf}
FunctionEnd

; A folder that holds anything but an earlier Veltrax gets a subfolder.
Function ChooseFolder
  ${If} ${FileExists} "$INSTDIR\veltrax.installed"
  ${OrIf} $INSTDIR == $EarlierFolder
    Return
  ${EndIf}
  ClearErrors
  FindFirst $0 $1 "$INSTDIR\*.*"
  ${DoWhile} $1 != ""
    ${If} $1 != "."
    ${AndIf} $1 != ".."
      FindClose $0
      StrCpy $INSTDIR "$INSTDIR\Veltrax"
      DetailPrint "В выбранной папке есть другие файлы: Veltrax ставится в $INSTDIR"
      Return
    ${EndIf}
    FindNext $0 $1
  ${Loop}
  FindClose $0
FunctionEnd

Section "Veltrax"
  SetRegView 64
  Call RefuseDowngrade
  StrCpy $R1 $INSTDIR
  Call CloseRunningVeltrax
  Call RemoveEarlierVeltrax
  Call ChooseFolder
  StrCpy $R1 $INSTDIR
  Call CloseRunningVeltrax
  Call Names
  SetOutPath "$INSTDIR"
  File /r "${DIST}\*.*"
  ; Tells the program that it is installed: each user keeps an own table.
  FileOpen $0 "$INSTDIR\veltrax.installed" w
  FileWrite $0 "Veltrax ${VERSION}, installed $MultiUser.InstallMode$\r$\n"
  FileClose $0
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\$R6.lnk" "$INSTDIR\veltrax.exe" "" "$INSTDIR\veltrax.exe" 0
  ${If} ${FileExists} "$INSTDIR\veltrax.html"
    CreateShortcut "$SMPROGRAMS\$R7.lnk" "$INSTDIR\veltrax.html" "" "$INSTDIR\veltrax.exe" 0
  ${EndIf}
  WriteRegStr SHCTX "Software\Veltrax" "InstallDir" "$INSTDIR"
  WriteRegStr SHCTX "Software\Veltrax" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "$R5"
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
  ; Nothing goes while the program runs.
  StrCpy $R1 $INSTDIR
  Call un.CloseRunningVeltrax
  Call un.Names
  Delete "$SMPROGRAMS\$R6.lnk"
  Delete "$SMPROGRAMS\$R7.lnk"
  ; Only what the installer put there, and a table an earlier version may
  ; have written beside the program.
  !include "${FILELIST}"
  Delete "$INSTDIR\NameMass.dat"
  Delete "$INSTDIR\veltrax.installed"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "Software\Veltrax"
SectionEnd
