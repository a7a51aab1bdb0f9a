;  The Veltrax installer for one user, built with NSIS by scripts/package-windows.sh:
;   makensis -DVERSION=1.0.0 -DRUNNING_MARK=<the running mark's name> -DDIST=<folder of the program> -DICON=<icon>
;            -DLICENSE=<licence page> -DFILELIST=<uninstall list> -DLONGEST=<longest path inside the folder>
;            -DOUTFILE=<setup.exe> veltrax.nsi
; Installs Veltrax for the user who runs it, without administrator rights,
; into %LOCALAPPDATA%\Programs\Veltrax or the folder chosen, with the user's
; own Start menu entries and Apps entry. A whole computer gets the MSI.
;
; Switches: /S silent; /D=FOLDER the folder (last on the line, no quotes);
; /Downgrade lets a silent install replace a newer version.
; Exit codes of setup.exe:
;   0 installed
;   1 refused or cancelled: the folder cannot be used, a question answered no
;   2 Veltrax is running from the folder concerned: nothing changed
;   3 a newer version is installed (silent, without /Downgrade)
;   4 a file could not be written or the earlier copy not removed: what this
;     run wrote is removed again, and no Apps entry or shortcut is made
;   5 another Veltrax installer is running for this user
; Exit codes of uninstall.exe: 0 removed, 2 Veltrax is running (nothing
; removed). The Apps entry's quiet uninstall runs it in place, so that its
; code is the one a deployment tool sees.
;
; The installer owns a folder only when it is empty or missing, or when its
; marker names this user's install, or when this user's earlier Veltrax is
; registered there; any other folder (another program's, another user's
; Veltrax, a machine's) gets a Veltrax subfolder, never a takeover. An earlier
; Veltrax of this user goes first, by its own uninstaller; a NameMass.dat
; beside it is kept before (as %ProgramData%\veltrax\NameMass.dat where there
; is none, else as NameMass.dat.saved beside). No install, upgrade or
; uninstall touches the users' tables or the administrator's. A 64-bit
; installer, like the program.
Target amd64-unicode
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "TextFunc.nsh"
!include "WordFunc.nsh"
!include "StrFunc.nsh"
${StrLoc}

Name "Veltrax"
OutFile "${OUTFILE}"
SetCompressor /SOLID lzma
BrandingText "Veltrax ${VERSION}"
InstallDir "$LOCALAPPDATA\Programs\Veltrax"
; An upgrade goes where this user's earlier Veltrax is.
InstallDirRegKey HKCU "Software\Veltrax" "InstallDir"
ShowInstDetails show

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrax"
!define DISPLAY_NAME "Veltrax (только для меня)"
!define SHORTCUT "$SMPROGRAMS\Veltrax (только для меня).lnk"
!define WEB_SHORTCUT "$SMPROGRAMS\Veltrax в браузере (только для меня).lnk"
!define MUI_FINISHPAGE_RUN "$INSTDIR\veltrax.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Запустить Veltrax"

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductName" "Veltrax"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileDescription" "Установка Veltrax для одного пользователя"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "CompanyName" "Veltrax developers"
VIAddVersionKey /LANG=${LANG_RUSSIAN} "LegalCopyright" "Veltrax developers"

Var UserName
Var Marker         ; what the marker of this user's install says
Var EarlierFolder  ; where this user's earlier Veltrax is registered
Var Folder         ; a folder to check, as given
Var Problem        ; why it cannot be used, or nothing
Var CreatedFolder  ; 1 when this run made the folder
Var HadMarker      ; 1 when the folder had this user's marker, and no registered copy

!macro STOP CODE TEXT
  MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
  SetErrorLevel ${CODE}
  Quit
!macroend

Function .onInit
  SetRegView 64
  System::Call 'advapi32::GetUserNameW(w .r0, *i ${NSIS_MAX_STRLEN}) i .r1'
  StrCpy $UserName $0
  StrCpy $Marker "installed for the user $UserName"
  ; NSIS puts its default in place of a /D= folder it cannot use, and
  ; cleans what is written to $INSTDIR, without a word: the folder is read
  ; from the command line itself and checked as given. /D= swallows
  ; whatever follows it on the line, /S included.
  StrCpy $Folder $INSTDIR
  System::Call 'kernel32::GetCommandLineW() w .r0'
  ${StrLoc} $1 $0 " /D=" ">"
  ${If} $1 != ""
    IntOp $1 $1 + 4
    StrCpy $Folder $0 "" $1
    ${StrLoc} $1 $Folder " /S" ">"
    ${If} $1 != ""
      SetSilent silent
    ${EndIf}
  ${EndIf}
  ; One installer at a time for a user: a second one leaves at once.
  System::Call 'kernel32::CreateMutexW(p 0, i 0, w "Global\Veltrax.Setup.$UserName") p .r0 ?e'
  Pop $1
  ${If} $1 == 183
    !insertmacro STOP 5 "Установка Veltrax уже идёт. Дождитесь её конца."
  ${EndIf}
  Call CheckFolder
  ${If} $Problem != ""
    !insertmacro STOP 1 "Папка «$Folder» для Veltrax не подходит: $Problem."
  ${EndIf}
  StrCpy $INSTDIR $Folder
FunctionEnd

Function .onVerifyInstDir
  StrCpy $Folder $INSTDIR
  Call CheckFolder
  ${If} $Problem != ""
    Abort
  ${EndIf}
FunctionEnd

!include "folder.nsh"  ; beside this script
!include "running.nsh"

; A newer version is replaced only when asked: after a question, or with
; /Downgrade in silent mode.
Function RefuseDowngrade
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "DisplayVersion"
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

; A table beside the earlier program is kept before its uninstaller runs,
; which would remove it: as the administrator's table where there is none,
; else beside, under a name no uninstaller removes.
Function KeepEarlierTable
  ${IfNot} ${FileExists} "$EarlierFolder\NameMass.dat"
    Return
  ${EndIf}
  ReadEnvStr $0 ProgramData
  ${If} $0 != ""
  ${AndIfNot} ${FileExists} "$0\veltrax\NameMass.dat"
    ClearErrors
    CreateDirectory "$0\veltrax"
    CopyFiles /SILENT "$EarlierFolder\NameMass.dat" "$0\veltrax\NameMass.dat"
    ${IfNot} ${Errors}
    ${AndIf} ${FileExists} "$0\veltrax\NameMass.dat"
      DetailPrint "Таблица элементов «$EarlierFolder\NameMass.dat» сохранена как «$0\veltrax\NameMass.dat»"
      Return
    ${EndIf}
  ${EndIf}
  StrCpy $1 "NameMass.dat.saved"
  StrCpy $2 1
  ${While} ${FileExists} "$EarlierFolder\$1"
    IntOp $2 $2 + 1
    StrCpy $1 "NameMass.dat.saved$2"
  ${EndWhile}
  ClearErrors
  Rename "$EarlierFolder\NameMass.dat" "$EarlierFolder\$1"
  ${If} ${Errors}
    !insertmacro STOP 4 "Таблицу элементов «$EarlierFolder\NameMass.dat» не удалось сохранить, и прежняя Veltrax не удалена. Скопируйте таблицу сами и запустите установку снова."
  ${EndIf}
  DetailPrint "Таблица элементов прежней Veltrax сохранена как «$EarlierFolder\$1»"
FunctionEnd

; This user's earlier Veltrax goes first, by its own uninstaller, in its own
; folder: exactly what it installed, nothing else.
Function RemoveEarlierVeltrax
  ${If} $EarlierFolder == ""
    Return
  ${EndIf}
  Call KeepEarlierTable
  DetailPrint "Удаляется прежняя Veltrax из «$EarlierFolder»"
  ; /CurrentUser: an uninstaller of an earlier version served both kinds.
  ExecWait '"$EarlierFolder\uninstall.exe" /S /CurrentUser _?=$EarlierFolder' $0
  ${If} $0 != 0
  ${AndIf} $EarlierFolder != $INSTDIR
    Call RollBack
  ${EndIf}
  ${If} $0 == 2
    SetErrorLevel 2
    Quit
  ${ElseIf} $0 != 0
    !insertmacro STOP 4 "Прежнюю Veltrax из папки «$EarlierFolder» не удалось удалить (код $0)."
  ${EndIf}
  Delete "$EarlierFolder\uninstall.exe"
  RMDir "$EarlierFolder"
FunctionEnd

; What this run wrote goes again; the folder too, if this run made it.
Function RollBack
  Delete "${SHORTCUT}"
  Delete "${WEB_SHORTCUT}"
  !include "${FILELIST}"
  ${If} $HadMarker != 1
    Delete "$INSTDIR\veltrax.installed"
  ${EndIf}
  Delete "$INSTDIR\uninstall.exe"
  ${If} $CreatedFolder == 1
    RMDir "$INSTDIR"
  ${EndIf}
FunctionEnd

!macro CHECKED TEXT
  ${If} ${Errors}
    Call RollBack
    !insertmacro STOP 4 "${TEXT}"
  ${EndIf}
!macroend

Section "Veltrax"
  SetRegView 64
  Call RefuseDowngrade
  ReadRegStr $EarlierFolder HKCU "Software\Veltrax" "InstallDir"
  ${IfNot} ${FileExists} "$EarlierFolder\uninstall.exe"
    StrCpy $EarlierFolder ""
  ${EndIf}
  Call ChooseFolder
  StrCpy $R1 $INSTDIR
  Call CloseRunningVeltrax
  ${If} $EarlierFolder != ""
    StrCpy $R1 $EarlierFolder
    Call CloseRunningVeltrax
  ${EndIf}
  ; Whether the folder takes files at all, before anything is removed.
  StrCpy $CreatedFolder 0
  StrCpy $HadMarker 0
  ${If} ${FileExists} "$INSTDIR\veltrax.installed"
  ${AndIf} $EarlierFolder != $INSTDIR
    StrCpy $HadMarker 1
  ${EndIf}
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    StrCpy $CreatedFolder 1
  ${EndIf}
  ClearErrors
  CreateDirectory "$INSTDIR"
  FileOpen $0 "$INSTDIR\veltrax-setup.tmp" w
  ${If} ${Errors}
    ${If} $CreatedFolder == 1
      RMDir "$INSTDIR"
    ${EndIf}
    !insertmacro STOP 4 "В папку «$INSTDIR» нельзя записывать файлы. Выберите другую папку."
  ${EndIf}
  FileClose $0
  Delete "$INSTDIR\veltrax-setup.tmp"
  ; An earlier copy in this very folder goes before the new files come; one
  ; elsewhere only once they are all written, so that a failure leaves it.
  ${If} $EarlierFolder == $INSTDIR
    Call RemoveEarlierVeltrax
  ${EndIf}

  ClearErrors
  SetOutPath "$INSTDIR"
  File /r "${DIST}\*.*"
  !insertmacro CHECKED "Не удалось записать файлы Veltrax в папку «$INSTDIR»."
  ; Tells the program that it is installed (each user keeps an own table),
  ; and the next installer whose copy this is.
  FileOpen $0 "$INSTDIR\veltrax.installed" w
  FileWrite $0 "Veltrax ${VERSION}$\r$\n$Marker$\r$\n"
  FileClose $0
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
  ${OrIfNot} ${FileExists} "$INSTDIR\veltrax.installed"
    SetErrors
  ${EndIf}
  !insertmacro CHECKED "Не удалось записать файлы Veltrax в папку «$INSTDIR»."
  ${If} $EarlierFolder != $INSTDIR
    Call RemoveEarlierVeltrax
  ${EndIf}
  ClearErrors
  CreateShortcut "${SHORTCUT}" "$INSTDIR\veltrax.exe" "" "$INSTDIR\veltrax.exe" 0
  CreateShortcut "${WEB_SHORTCUT}" "$INSTDIR\veltrax.html" "" "$INSTDIR\veltrax.exe" 0
  !insertmacro CHECKED "Не удалось создать ярлыки Veltrax в меню «Пуск»."
  WriteRegStr HKCU "Software\Veltrax" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${DISPLAY_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Veltrax developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\veltrax.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
  ${If} ${Errors}
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "Software\Veltrax"
    Call RollBack
    !insertmacro STOP 4 "Не удалось записать сведения о Veltrax в реестр."
  ${EndIf}
SectionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  SetRegView 64
  ; Nothing goes while the program runs.
  StrCpy $R1 $INSTDIR
  Call un.CloseRunningVeltrax
  ; The entries are this copy's only where it is the one registered.
  ReadRegStr $0 HKCU "Software\Veltrax" "InstallDir"
  ${If} $0 == $INSTDIR
    Delete "${SHORTCUT}"
    Delete "${WEB_SHORTCUT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "Software\Veltrax"
  ${EndIf}
  ; Only what the installer put there: a table beside the program stays.
  !include "${FILELIST}"
  Delete "$INSTDIR\veltrax.installed"
  ${If} $EXEDIR == $INSTDIR
    ; Run in place (the quiet uninstall, whose exit code is this one's): the
    ; running uninstaller cannot delete itself; a hidden command started as
    ; it ends does, within a second or two, and then the folder.
    ReadEnvStr $0 COMSPEC
    SetOutPath $TEMP  ; its working folder, which cannot be removed while used
    ExecShell "" "$0" '/d /c for /l %i in (1,1,30) do (del "$INSTDIR\uninstall.exe" 2>nul & if not exist "$INSTDIR\uninstall.exe" (rmdir "$INSTDIR" 2>nul & exit) & ping -n 2 127.0.0.1 >nul)' SW_HIDE
  ${Else}
    Delete "$INSTDIR\uninstall.exe"
  ${EndIf}
  RMDir "$INSTDIR"
SectionEnd
