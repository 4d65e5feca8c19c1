; An installer that only asks for the language, as the product's installer
; does first. It pushes a known sentinel and, above it, the preference given
; as /PREF=...; calls the chooser; pops the answer and the entry below it;
; and writes three lines to the file named by /ANSWER=...: the answer, that
; entry (the sentinel when the chooser left the stack below its own entry
; alone) and "empty" or whatever else was left on the stack. Then it quits
; with exit code 0.
;
;   chooser-installer.exe /PREF="preferred-2070" /ANSWER="C:\some folder\answer.txt"
;
; Quote both values: GetOptions ends a bare value at the next "/" and strips
; one pair of quotes. The answer goes where the caller says, never beside the
; installer, whose folder may be read-only. Without /ANSWER the chooser is not
; shown and the exit code is 3; when the file cannot be written it is 4.
;
;   makensis -DPLUGIN_DIR=<folder with ORVELIdioma.dll> -DOUT_FILE=<installer.exe> chooser_installer.nsi
;
; The installer keeps NSIS's default icon, resource 103, which the chooser
; shows in its frame.

Unicode true
Target amd64-unicode
!addplugindir /amd64-unicode "${PLUGIN_DIR}"

!include FileFunc.nsh

!define SENTINEL "sentinel below the preference"

Name "ORVEL chooser test"
OutFile "${OUT_FILE}"
RequestExecutionLevel user

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ANSWER=" $4
  IfErrors 0 +3
    SetErrorLevel 3
    Quit
  ${GetOptions} $0 "/PREF=" $1

  Push "${SENTINEL}"
  Push $1
  ORVELIdioma::Choose
  Pop $2
  Pop $5
  ClearErrors
  Pop $6
  IfErrors 0 +2
    StrCpy $6 "empty"

  ClearErrors
  FileOpen $3 $4 w
  IfErrors 0 +3
    SetErrorLevel 4
    Quit
  ; FileWrite writes ANSI: enough for the answers and the sentinel.
  FileWrite $3 "$2$\r$\n$5$\r$\n$6$\r$\n"
  FileClose $3
  ; Quit alone would exit with 2.
  SetErrorLevel 0
  Quit
FunctionEnd

Section
SectionEnd
