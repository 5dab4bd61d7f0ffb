; Setup of the Quillbay Client, made by the build (cmake/Setup.cmake) with makensis from
; what "cmake --install" put in STAGE. The build defines VERSION (2.127), FILE_VERSION
; (2.127.0.0), COMPANY, STAGE and OUTFILE.
;   Varnholt_Setup.exe [/S] [/D=folder]    Uninstall.exe [/S]
Unicode true
SetCompressor /SOLID lzma
; No file times inside: two builds of one commit give the same setup.
SetDateSave off
RequestExecutionLevel admin
ManifestDPIAware true

!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include WinVer.nsh

!define PRODUCT "Quillbay"
!define TITLE "Quillbay Client"
!define PROGRAM "Varnholt.exe"
!define APP_PATHS "SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\${PROGRAM}"
!define RESTRICTIONS "SOFTWARE\Microsoft\HTMLHelp\1.x\HHRestrictions"
!define UNINSTALL_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Varnholt"

Name "${TITLE} ${VERSION}"
OutFile "${OUTFILE}"
; An installed copy, of this version or an older one, is replaced where it is.
InstallDir "$PROGRAMFILES32\${COMPANY}\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${TITLE} ${VERSION}"

VIProductVersion ${FILE_VERSION}
VIFileVersion ${FILE_VERSION}
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${TITLE} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COMPANY}"

Page directory
Page instfiles

; The program needs Windows Vista or later (it calls GetTickCount64, LCMapStringEx,
; CompareStringOrdinal and QueryFullProcessImageNameA, which Windows XP lacks): an older
; Windows is told so and gets nothing; a silent install ends with exit code 1.
Function .onInit
  ${IfNot} ${AtLeastWinVista}
    MessageBox MB_OK|MB_ICONSTOP "${TITLE} needs Windows Vista or later." /SD IDOK
    SetErrorLevel 1
    Quit
  ${EndIf}
FunctionEnd
UninstPage uninstConfirm
UninstPage instfiles

; The program writes its App Paths entry and the viewer's restriction value in the 64-bit
; view when it runs under WOW64; the setup writes and removes them in the same place.
!macro ProgramRegistryView
  ${If} ${IsWow64}
    SetRegView 64
  ${EndIf}
!macroend

Section
  SetOutPath "$INSTDIR"
  File "${STAGE}\${PROGRAM}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; What the program writes at every start, written as it writes it: a standard user's
  ; first run, which may not write there, finds nothing left to change.
  !insertmacro ProgramRegistryView
  WriteRegStr HKLM "${APP_PATHS}" "" "$INSTDIR\${PROGRAM}"
  WriteRegStr HKLM "${APP_PATHS}" "Path" "$INSTDIR"
  WriteRegDWORD HKLM "${RESTRICTIONS}" "EnableFrameNavigationInSafeMode" 1
  SetRegView 32

  ; One entry in the list of installed programs, whatever was installed before.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The reader's things stay: the per-help-file values under the product's key, every
; ext_BM.js, and the viewer's restriction value, which other help files may need.
Section Uninstall
  Delete "$INSTDIR\${PROGRAM}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES32\${COMPANY}"

  !insertmacro ProgramRegistryView
  DeleteRegKey HKLM "${APP_PATHS}"
  SetRegView 32
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
