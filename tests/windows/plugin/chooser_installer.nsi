; An installer that only asks for the language, as the product's installer
; does first: it pushes the preference given as /PREF=... on its command
; line, calls the chooser, pops the answer and writes it to answer.txt next to
; itself, then quits with exit code 0.
;
;   makensis -DPLUGIN_DIR=<folder with ORVELIdioma.dll> -DOUT_FILE=<installer.exe> chooser_installer.nsi

Unicode true
Target amd64-unicode
!addplugindir /amd64-unicode "${PLUGIN_DIR}"

!include FileFunc.nsh

Name "ORVEL chooser test"
OutFile "${OUT_FILE}"
RequestExecutionLevel user

Function .onInit
  ${GetParameters} $0
  ${GetOptions} $0 "/PREF=" $1
  Push $1
  ORVELIdioma::Choose
  Pop $2
  ; FileWrite writes ANSI: enough for the four answers.
  FileOpen $3 "$EXEDIR\answer.txt" w
  FileWrite $3 $2
  FileClose $3
  ; Quit alone would exit with 2.
  SetErrorLevel 0
  Quit
FunctionEnd

Section
SectionEnd
