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
; The common controls, which the setup and the uninstaller import, are bound through the
; manifest to the system's side-by-side copy, never looked for beside the program (a setup
; is run from Downloads, where a web page can leave a comctl32.dll unasked).
XPStyle on

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
; The About window's class: the one window of the client that stays open.
!define ABOUT_CLASS "VarnholtAbout"
; How long the About windows' programs are given to end, and then any other copy that
; still holds the program's file (a /find waiting for its dialog), in milliseconds.
!define CLOSE_WAIT_MS 5000
!define HOLD_WAIT_MS 5000
!define WM_CLOSE 0x0010
!define SYNCHRONIZE 0x00100000
!define MOVEFILE_REPLACE_EXISTING_WRITE_THROUGH 0x9

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

; Windows refuses to open a running program's file for writing. Every open About window of
; the client (it only shows information) is asked to close, and the setup waits, up to
; CLOSE_WAIT_MS in all, for their programs to end.
!macro CloseAboutWindowsFunction un
Function ${un}CloseAboutWindows
  StrCpy $1 0 ; processes waited for, their handles on the stack
  FindWindow $0 "${ABOUT_CLASS}"
  ${DoWhile} $0 != 0
    ; The next window is found while this one still stands: a window already gone would
    ; end the search.
    FindWindow $2 "${ABOUT_CLASS}" "" "" $0
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r3)"
    System::Call "kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r3) p .r3"
    System::Call "user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)"
    Push $3
    IntOp $1 $1 + 1
    StrCpy $0 $2
  ${Loop}
  System::Call "kernel32::GetTickCount() i .r4"
  IntOp $4 $4 + ${CLOSE_WAIT_MS}
  ${DoWhile} $1 > 0
    Pop $3
    System::Call "kernel32::GetTickCount() i .r5"
    IntOp $5 $4 - $5
    ${If} $5 < 0
      StrCpy $5 0
    ${EndIf}
    System::Call "kernel32::WaitForSingleObject(p r3, i r5)"
    System::Call "kernel32::CloseHandle(p r3)"
    IntOp $1 $1 - 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro CloseAboutWindowsFunction ""
!insertmacro CloseAboutWindowsFunction "un."

; Waits up to HOLD_WAIT_MS until the program's file ($R0) can be opened for writing, which
; Windows refuses while a copy of the program runs. $R1: 1 when it can (or is gone), else 0.
!macro WaitUntilFreeFunction un
Function ${un}WaitUntilFree
  System::Call "kernel32::GetTickCount() i .r4"
  IntOp $4 $4 + ${HOLD_WAIT_MS}
  ${Do}
    StrCpy $R1 1
    ${IfNot} ${FileExists} $R0
      ${ExitDo}
    ${EndIf}
    ClearErrors
    FileOpen $5 $R0 a
    ${IfNot} ${Errors}
      FileClose $5
      ${ExitDo}
    ${EndIf}
    StrCpy $R1 0
    System::Call "kernel32::GetTickCount() i .r5"
    IntOp $5 $4 - $5
    ${If} $5 <= 0
      ${ExitDo}
    ${EndIf}
    Sleep 250
  ${Loop}
FunctionEnd
!macroend
!insertmacro WaitUntilFreeFunction ""
!insertmacro WaitUntilFreeFunction "un."

; A program file still held is renamed aside in its folder, which Windows allows for a
; running program, to be removed when Windows next starts at the latest. $R0: the file;
; $R3: the name it has now (a new name, or $R0 when even the rename failed).
!macro PutAsideFunction un
Function ${un}PutAside
  System::Call "kernel32::GetTickCount() i .r5"
  StrCpy $R3 "$R0.$5.old"
  ClearErrors
  Rename $R0 $R3
  ${If} ${Errors}
    StrCpy $R3 $R0
  ${EndIf}
FunctionEnd
!macroend
!insertmacro PutAsideFunction ""
!insertmacro PutAsideFunction "un."

; The new program is written beside the old one and takes its place by a rename, so that
; the program's path holds the old program or the new one, whole, at every moment. $R2: 1
; when the new program stands at the path.
Function ReplaceProgram
  StrCpy $R0 "$INSTDIR\${PROGRAM}"
  StrCpy $R2 0
  SetOverwrite try ; a file that cannot be written is an error here, not a question
  ClearErrors
  File "/oname=${PROGRAM}.new" "${STAGE}\${PROGRAM}"
  SetOverwrite on
  ${If} ${Errors}
    Return
  ${EndIf}
  Call WaitUntilFree
  ${If} $R1 == 1
    StrCpy $R4 "$R0.new"
    System::Call "kernel32::MoveFileExW(w R4, w R0, i ${MOVEFILE_REPLACE_EXISTING_WRITE_THROUGH}) i .r5"
    ${If} $5 != 0
      StrCpy $R2 1
      Return
    ${EndIf}
  ${EndIf}
  Call PutAside
  ${If} $R3 == $R0
    Return ; the old program stays where it was
  ${EndIf}
  ClearErrors
  Rename "$R0.new" $R0
  ${If} ${Errors}
    Rename $R3 $R0 ; the old program back in its place
    Return
  ${EndIf}
  Delete /REBOOTOK $R3
  StrCpy $R2 1
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  ; Copies put aside by an earlier update whose programs have ended since.
  Delete "$INSTDIR\${PROGRAM}.*.old"
  retry:
  Call CloseAboutWindows
  Call ReplaceProgram
  ${If} $R2 != 1
    MessageBox MB_RETRYCANCEL|MB_ICONSTOP "$INSTDIR\${PROGRAM} is in use and could not be replaced.$\r$\nClose ${TITLE} wherever it runs, then choose Retry." /SD IDCANCEL IDRETRY retry
    Delete "$INSTDIR\${PROGRAM}.new"
    ; A silent setup tells the failure by its exit code.
    SetErrorLevel 2
    Abort "$INSTDIR\${PROGRAM} is in use and could not be replaced."
  ${EndIf}
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
; ext_BM.js, and the viewer's restriction value, which other help files may need. The
; program is closed as the setup closes it; still held, it is renamed aside and removed
; when Windows next starts. Exit code 0 only when no program is left at its path (the code
; of the uninstaller that does the work: "Uninstall.exe /S" hands it to a copy of itself
; and ends at once; "Uninstall.exe /S _?=folder" works in place).
Section Uninstall
  Delete "$INSTDIR\${PROGRAM}.*.old"
  Call un.CloseAboutWindows
  StrCpy $R0 "$INSTDIR\${PROGRAM}"
  StrCpy $R3 $R0
  Call un.WaitUntilFree
  ${If} $R1 != 1
    Call un.PutAside
  ${EndIf}
  Delete /REBOOTOK $R3
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ${If} ${RebootFlag}
    RMDir /REBOOTOK "$INSTDIR"
  ${EndIf}
  RMDir "$PROGRAMFILES32\${COMPANY}"

  !insertmacro ProgramRegistryView
  DeleteRegKey HKLM "${APP_PATHS}"
  SetRegView 32
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ${If} ${FileExists} $R0
    MessageBox MB_OK|MB_ICONEXCLAMATION "$R0 is in use: it will be removed when Windows starts again." /SD IDOK
    SetErrorLevel 2
  ${EndIf}
SectionEnd
