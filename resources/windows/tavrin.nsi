; The Windows installer of Tavrin, built by `scripts/package windows`:
;   makensis -DVERSION=109 -DSTAGE=<folder with tavrin.exe and its DLLs>
;            -DOUTFILE=<setup.exe> -DICON=<tavrin.ico> tavrin.nsi
; It installs for all users into Program Files\Korvelan\Tavrin, adds the Start-menu entry,
; lets .ign (parameter files) and .ignlog (monitor logs) open in the program, and registers
; the uninstaller with Windows. "/S" installs without questions.

; A 64-bit installer for the 64-bit program (it runs only where the program can).
Target amd64-unicode
SetCompressor /SOLID lzma
!include MUI2.nsh

!define APPKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrin"

Name "Tavrin ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Korvelan\Tavrin"
InstallDirRegKey HKLM "${APPKEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "Korvelan Tavrin ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tavrin.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "Czech"

LangString ParametersType ${LANG_ENGLISH} "TAVRIN-X ignition parameters"
LangString ParametersType ${LANG_GERMAN} "TAVRIN-X Zündungsparameter"
LangString ParametersType ${LANG_CZECH} "Parametry zapalování TAVRIN-X"
LangString MonitorLogType ${LANG_ENGLISH} "TAVRIN-X monitor log"
LangString MonitorLogType ${LANG_GERMAN} "TAVRIN-X Monitorprotokoll"
LangString MonitorLogType ${LANG_CZECH} "Záznam monitoru TAVRIN-X"

; A file type: the extension names the type, the type opens in the program.
!macro FileType EXT TYPE TEXT
  WriteRegStr HKLM "Software\Classes\${EXT}" "" "${TYPE}"
  WriteRegStr HKLM "Software\Classes\${TYPE}" "" "${TEXT}"
  WriteRegStr HKLM "Software\Classes\${TYPE}\DefaultIcon" "" "$INSTDIR\tavrin.exe,0"
  WriteRegStr HKLM "Software\Classes\${TYPE}\shell\open\command" "" '"$INSTDIR\tavrin.exe" "%1"'
!macroend
; Removes a file type; the extension only while it still names Tavrin's type.
!macro RemoveFileType EXT TYPE
  ReadRegStr $0 HKLM "Software\Classes\${EXT}" ""
  StrCmp $0 "${TYPE}" 0 +2
    DeleteRegKey HKLM "Software\Classes\${EXT}"
  DeleteRegKey HKLM "Software\Classes\${TYPE}"
!macroend

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Tavrin"
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Tavrin.lnk" "$INSTDIR\tavrin.exe" "" "$INSTDIR\tavrin.exe" 0

  !insertmacro FileType ".ign" "Tavrin.Parameters" "$(ParametersType)"
  !insertmacro FileType ".ignlog" "Tavrin.MonitorLog" "$(MonitorLogType)"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'  ; file types changed

  WriteRegStr HKLM "${APPKEY}" "DisplayName" "Tavrin ${VERSION}"
  WriteRegStr HKLM "${APPKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${APPKEY}" "Publisher" "Korvelan"
  WriteRegStr HKLM "${APPKEY}" "DisplayIcon" "$INSTDIR\tavrin.exe,0"
  WriteRegStr HKLM "${APPKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${APPKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${APPKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${APPKEY}" "NoModify" 1
  WriteRegDWORD HKLM "${APPKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Tavrin.lnk"
  !insertmacro RemoveFileType ".ign" "Tavrin.Parameters"
  !insertmacro RemoveFileType ".ignlog" "Tavrin.MonitorLog"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey HKLM "${APPKEY}"
  ; Only what the installer put there: the settings folder in the common application
  ; data stays, with the user's files.
  RMDir /r "$INSTDIR\plugins"
  RMDir /r "$INSTDIR\translations"
  Delete "$INSTDIR\*.exe"
  Delete "$INSTDIR\*.dll"
  Delete "$INSTDIR\qt.conf"
  Delete "$INSTDIR\copyright.txt"
  RMDir "$INSTDIR"
  RMDir "$INSTDIR\.."
SectionEnd
