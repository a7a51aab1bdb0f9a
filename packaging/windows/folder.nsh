; The installer's folder: whether one can be used at all, whether it is
; this user's to install into, and the subfolder another's gets. Part of
; veltrax.nsi.

; Whether $Folder can hold Veltrax; $Problem says why not.
Function CheckFolder
  StrCpy $Problem ""
  ${StrLoc} $0 $Folder '"' ">"
  ${If} $0 != ""
    StrCpy $Problem "путь в кавычках (после /D= путь пишут без кавычек)"
    Return
  ${EndIf}
  ${StrLoc} $0 $Folder " /" ">"
  ${If} $0 != ""
    StrCpy $Problem "после него на строке есть ещё ключи (/D= пишут последним)"
    Return
  ${EndIf}
  StrCpy $0 $Folder 2
  StrCpy $1 $Folder 2 1
  ${If} $0 != "\\"
  ${AndIf} $1 != ":\"
    StrCpy $Problem "путь неполный (нужен путь от диска, например C:\SchoolApps\Veltrax)"
    Return
  ${EndIf}
  StrLen $0 $Folder
  IntOp $0 $0 + ${LONGEST}
  ${If} $0 >= 259
    StrCpy $Problem "путь слишком длинный (файлы Veltrax в ней были бы длиннее 259 знаков)"
    Return
  ${EndIf}
  ${If} $1 == ":\"
    StrCpy $0 $Folder 3
    System::Call 'kernel32::GetDriveTypeW(w r0) i .r1'
    ${If} $1 <= 1
      StrCpy $Problem "диска $0 нет"
      Return
    ${EndIf}
  ${EndIf}
  ; The nearest part of the path that exists must be a folder.
  StrCpy $0 $Folder
  ${Do}
    System::Call 'kernel32::GetFileAttributesW(w r0) i .r1'
    ${If} $1 != -1
      IntOp $1 $1 & 0x10
      ${If} $1 == 0
        StrCpy $Problem "«$0» — это файл, а не папка"
      ${EndIf}
      Return
    ${EndIf}
    ${GetParent} $0 $1
    ${If} $1 == ""
    ${OrIf} $1 == $0
      StrCpy $Problem "такого пути нет"
      Return
    ${EndIf}
    StrCpy $0 $1
  ${Loop}
FunctionEnd

; $0 = 1 when $INSTDIR is this user's to install into.
Function OwnsFolder
  StrCpy $0 1
  ${If} $INSTDIR == $EarlierFolder
  ${OrIfNot} ${FileExists} "$INSTDIR\*.*"
    Return
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\veltrax.installed"
    ClearErrors
    FileOpen $1 "$INSTDIR\veltrax.installed" r
    FileRead $1 $2
    FileRead $1 $2
    FileClose $1
    ${TrimNewLines} $2 $2
    ${If} $2 != $Marker
      StrCpy $0 0
    ${EndIf}
    Return
  ${EndIf}
  FindFirst $1 $2 "$INSTDIR\*.*"
  ${DoWhile} $2 != ""
    ${If} $2 != "."
    ${AndIf} $2 != ".."
      StrCpy $0 0
      ${Break}
    ${EndIf}
    FindNext $1 $2
  ${Loop}
  FindClose $1
FunctionEnd

; Another program's folder, another user's Veltrax or a machine's gets a
; Veltrax subfolder, which must be this user's to take.
Function ChooseFolder
  Call OwnsFolder
  ${If} $0 == 1
    Return
  ${EndIf}
  StrCpy $1 $INSTDIR
  StrCpy $INSTDIR "$INSTDIR\Veltrax"
  Call OwnsFolder
  ${If} $0 != 1
    !insertmacro STOP 1 "В папке «$1» и в её подпапке Veltrax уже есть чужие файлы или другая копия Veltrax. Выберите другую папку."
  ${EndIf}
  StrCpy $Folder $INSTDIR
  Call CheckFolder
  ${If} $Problem != ""
    !insertmacro STOP 1 "Папка «$INSTDIR» для Veltrax не подходит: $Problem."
  ${EndIf}
  DetailPrint "В папке «$1» есть другие файлы: Veltrax ставится в «$INSTDIR»"
FunctionEnd

