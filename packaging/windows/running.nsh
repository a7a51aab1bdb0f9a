; Whether a Veltrax runs from a folder, as its running mark and its program
; file tell. Part of veltrax.nsi.

; The name of the mark that a Veltrax started from folder $R1 holds, in $R2,
; written as the program writes it.
!macro MARK_NAME UN
Function ${UN}MarkName
  System::Call 'kernel32::GetLongPathNameW(w R1, w .R2, i ${NSIS_MAX_STRLEN}) i .r0'
  ${If} $0 == 0
    StrCpy $R2 $R1
  ${EndIf}
  System::Call 'user32::CharLowerW(w R2) w .R2'
  ${${UN}WordReplace} $R2 "\" "/" "+" $R2
  ${Do}
    StrCpy $0 $R2 1 -1
    ${If} $0 != "/"
      ${Break}
    ${EndIf}
    StrCpy $R2 $R2 -1
  ${Loop}
  StrLen $0 $R2
  ${If} $0 > 200
    StrCpy $R2 $R2 "" -200
  ${EndIf}
  StrCpy $R2 "${RUNNING_MARK}:$R2"
FunctionEnd
!macroend
!insertmacro MARK_NAME ""
!insertmacro MARK_NAME "un."

; A Veltrax running from folder $R1 holds its mark, and its program file,
; which then cannot be opened for writing. Silent: exit code 2, nothing
; changed.
!macro CLOSE_RUNNING UN
Function ${UN}CloseRunningVeltrax
  Call ${UN}MarkName
  ${Do}
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w R2) p .r0'
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
      "Veltrax из папки «$R1» сейчас запущена. Закройте программу и нажмите «Повтор»." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING ""
!insertmacro CLOSE_RUNNING "un."

