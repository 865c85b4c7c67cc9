; The Windows installer: puts the programs in %LOCALAPPDATA%\Programs\Quorvel
; for the current user alone (no administrator rights), with a Start-menu
; shortcut, the start at sign-in and an entry in Apps & features. The
; installer's marker beside the programs tells them they are installed: they
; keep the user's settings in %APPDATA%\Quorvel, which neither a reinstall nor
; the uninstaller touches.
;
; scripts/build-windows.sh makes it:
;   makensis -INPUTCHARSET UTF8 -DVERSION=<version> -DSTAGE=<the portable copy's folder>
;            -DICON=res/windows/quorvel.ico -DOUTFILE=<setup.exe> res/windows/quorvel.nsi
; /S installs (and Uninstall.exe /S uninstalls) without a window.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!ifndef VERSION | STAGE | ICON | OUTFILE
  !error "VERSION, STAGE, ICON and OUTFILE are given on makensis's command line"
!endif

!define PRODUCT "Quorvel"
!define PUBLISHER "The Quorvel developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
; The value the program's "Start with the desktop" item manages, with the same command.
!define RUN_VALUE "Quorvel Gaming Mouse"
!define RUN_COMMAND '"$INSTDIR\quorvel.exe" --autostart'
; Beside the programs: the data folder rule reads it (kInstalledMarker).
!define MARKER "installed.txt"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Quorvel"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "MIT License"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\quorvel.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The installer speaks the user's language where the program does.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "TradChinese"

LangString ProgramSection ${LANG_ENGLISH} "Quorvel (required)"
LangString ProgramSection ${LANG_SIMPCHINESE} "Quorvel（必需）"
LangString ProgramSection ${LANG_TRADCHINESE} "Quorvel（必要）"
; As the tray menu's item names it.
LangString AutostartSection ${LANG_ENGLISH} "Start with the desktop"
LangString AutostartSection ${LANG_SIMPCHINESE} "随桌面启动"
LangString AutostartSection ${LANG_TRADCHINESE} "隨桌面啟動"

Section "$(ProgramSection)" ProgramSection
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\quorvel.exe"
  File "${STAGE}\quorvel-demo.exe"
  File "${STAGE}\quorvelctl.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  ; The factory files and skins of this version replace those of the last;
  ; the user's own settings are in %APPDATA%\Quorvel.
  RMDir /r "$INSTDIR\factory"
  RMDir /r "$INSTDIR\Skins"
  SetOutPath "$INSTDIR\factory"
  File "${STAGE}\factory\*.*"
  SetOutPath "$INSTDIR\Skins"
  File /r "${STAGE}\Skins\*.*"
  SetOutPath "$INSTDIR"
  FileOpen $0 "$INSTDIR\${MARKER}" w
  FileWrite $0 "Installed by the Quorvel installer: the programs in this folder keep the$\r$\n"
  FileWrite $0 "settings in %APPDATA%\Quorvel. Without this file they keep them here.$\r$\n"
  FileClose $0

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Quorvel.lnk" "$INSTDIR\quorvel.exe" "" "$INSTDIR\quorvel.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorvel.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "$(AutostartSection)" AutostartSection
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '${RUN_COMMAND}'
  ; Turned on here, a "Disabled" of the Task Manager's no longer holds.
  DeleteRegValue HKCU "${APPROVED_KEY}" "${RUN_VALUE}"
SectionEnd

; Turned off in the installer, the program is not started at sign-in;
; a start at sign-in of another copy is left alone.
Section "-AutostartOff"
  ${IfNot} ${SectionIsSelected} ${AutostartSection}
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == '${RUN_COMMAND}'
      DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
  ${EndIf}
SectionEnd

Function .onInit
  ; Installed over an earlier version whose start at sign-in the user turned
  ; off (the tray item, or this page), the option starts off too.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    ClearErrors
    ReadRegStr $1 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} ${Errors}
      !insertmacro UnselectSection ${AutostartSection}
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\quorvel.exe"
  Delete "$INSTDIR\quorvel-demo.exe"
  Delete "$INSTDIR\quorvelctl.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\${MARKER}"
  RMDir /r "$INSTDIR\factory"
  RMDir /r "$INSTDIR\Skins"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: nothing the user put there goes with it.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Quorvel.lnk"
  ; The start at sign-in of this copy, whoever turned it on.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '${RUN_COMMAND}'
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    DeleteRegValue HKCU "${APPROVED_KEY}" "${RUN_VALUE}"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
