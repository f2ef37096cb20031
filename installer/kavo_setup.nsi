; KavoSetup.exe: the per-user setup of the VELMAR Kavo software.
;
; makensis -DVERSION=<x.y> -DPROGRAM_FOLDER=<the assembled program folder> -DICON=<setup icon>
;          -DOUTFILE=<KavoSetup.exe> kavo_setup.nsi
;
; Switches of the setup (before NSIS's own /D=, which must come last):
;   /S            silent
;   /SIMULATED    also install the simulated mouse
;   /START        start the service at the end of a silent install (the interactive one offers it)
; Switches of the uninstaller:
;   /S                 silent
;   /REMOVESETTINGS    also remove "config.ini", the profiles and the macros

Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!ifndef VERSION | PROGRAM_FOLDER | ICON | OUTFILE
  !error "VERSION, PROGRAM_FOLDER, ICON and OUTFILE must be defined"
!endif

!define PRODUCT "VELMAR Kavo"
!define PUBLISHER "VELMAR"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SHORTCUT "$SMPROGRAMS\Kavo Option.lnk"
!define UNINSTALLER "Uninstall.exe"

; The programs meet under these names; they are how a running copy is found and seen to end.
!define SERVICE_WINDOW "VELMAR Kavo Mouse Monitor"
!define SERVICE_MUTEX "VELMAR_Kavo_Mouse_Normal_Monitor"
!define OPTION_WINDOW "VELMAR Kavo Mouse Option"
!define OPTION_MUTEX "Velmar_Kavo_configure"
!define DISPLAY_WINDOW "VELMAR Kavo Mouse OSD"
!define DISPLAY_MUTEX "VELMAR_Kavo_Mouse_OSD"
; How long a program may take to end after it was asked to: the service first lets go of the mouse.
!define END_WAIT_STEPS 300
!define END_WAIT_STEP_MS 100

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; Per user: the programs keep their settings beside themselves, so the folder is the user's alone.
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

Var StartAtEnd  ; 1: start the service at the end of a silent install

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\KavoMonitor.exe"
; The log stays until Next: it shows which programs were closed first.
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_UNFINISHPAGE_NOAUTOCLOSE

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH

; The languages of the help libraries; the first is used where the system's is none of them.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Danish"
!insertmacro MUI_LANGUAGE "Finnish"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "Polish"
!insertmacro MUI_LANGUAGE "Russian"
!insertmacro MUI_LANGUAGE "Spanish"
!insertmacro MUI_LANGUAGE "Swedish"
!insertmacro MUI_LANGUAGE "Turkish"

; ---------------------------------------------------------------------------------------------------------
; Closing the running programs: asked with WM_CLOSE, never killed, and waited for until their single-instance
; mutex is gone (a program that still writes its files still holds it). The service goes first: it closes
; the configuration program and the notice programs itself and tells the mouse the host software is gone.

!macro CLOSING_FUNCTIONS un
  ; $R0 window title, $R1 mutex name; $R5 becomes 1 when the program is gone, 0 when it did not end in time.
  Function ${un}CloseAndWait
    StrCpy $R5 1
    FindWindow $R2 "" "$R0"
    ${If} $R2 <> 0
      DetailPrint "Closing $R0"
      System::Call 'user32::PostMessageW(p R2, i ${WM_CLOSE}, p 0, p 0)'
    ${EndIf}
    StrCpy $R3 0
    ${Do}
      System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w R1) p .R4'
      ${If} $R4 = 0
        Return
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p R4)'
      ${If} $R3 >= ${END_WAIT_STEPS}
        StrCpy $R5 0
        Return
      ${EndIf}
      Sleep ${END_WAIT_STEP_MS}
      IntOp $R3 $R3 + 1
    ${Loop}
  FunctionEnd

  ; Aborts (exit code 2) when a program does not end and the user does not retry; silent runs do not retry.
  Function ${un}CloseRunningPrograms
    Push $R0
    Push $R1
    Push $R2
    Push $R3
    Push $R4
    Push $R5
    ${Do}
      StrCpy $R0 "${SERVICE_WINDOW}"
      StrCpy $R1 "${SERVICE_MUTEX}"
      Call ${un}CloseAndWait
      ${If} $R5 = 1
        ; Started on its own, or still saving after the service asked it to close.
        StrCpy $R0 "${OPTION_WINDOW}"
        StrCpy $R1 "${OPTION_MUTEX}"
        Call ${un}CloseAndWait
      ${EndIf}
      ${If} $R5 = 1
        StrCpy $R0 "${DISPLAY_WINDOW}"
        StrCpy $R1 "${DISPLAY_MUTEX}"
        Call ${un}CloseAndWait
      ${EndIf}
      ${If} $R5 = 1
        ${Break}
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${PRODUCT} is still running ($R0) and did not end when asked to.$\r$\nEnd it from its tray icon's $\"Exit$\", then press Retry." \
        /SD IDCANCEL IDRETRY retry
      DetailPrint "$R0 did not end; nothing was changed."
      SetErrorLevel 2
      Abort
      retry:
    ${Loop}
    Pop $R5
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
    Pop $R0
  FunctionEnd
!macroend
!insertmacro CLOSING_FUNCTIONS ""
!insertmacro CLOSING_FUNCTIONS "un."

; ---------------------------------------------------------------------------------------------------------
; Install

Section "${PRODUCT}" SecPrograms
  SectionIn RO
  Call CloseRunningPrograms
  SetOutPath "$INSTDIR"
  File "${PROGRAM_FOLDER}/KavoMonitor.exe"
  File "${PROGRAM_FOLDER}/KavoOption.exe"
  File "${PROGRAM_FOLDER}/KavoOSD.exe"
  ; Whole folders of ours: an upgrade replaces them, so no file of an older version stays behind.
  RMDir /r "$INSTDIR\help"
  RMDir /r "$INSTDIR\wave"
  File /r "${PROGRAM_FOLDER}/help"
  File /r "${PROGRAM_FOLDER}/wave"
  ; The settings live here; the programs make the files, the setup never writes or replaces one.
  CreateDirectory "$INSTDIR\config"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\KavoMonitor.exe"'
  ; The service started with "1" opens the configuration program, or hands that to the running service.
  CreateShortcut "${SHORTCUT}" "$INSTDIR\KavoMonitor.exe" "1" "$INSTDIR\KavoOption.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\KavoMonitor.exe",0'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Simulated mouse (try the software without the mouse)" SecSimulated
  SetOutPath "$INSTDIR"
  File "${PROGRAM_FOLDER}/Kelsor.dll"
  File "${PROGRAM_FOLDER}/kavo-sim.exe"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "SimulatedMouse" 1
SectionEnd

Section "-Finish"
  ; Left out of this install after an earlier one brought it: the simulated mouse goes with its memory.
  ${IfNot} ${SectionIsSelected} ${SecSimulated}
    ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "SimulatedMouse"
    ${If} $0 = 1
      Delete "$INSTDIR\Kelsor.dll"
      Delete "$INSTDIR\kavo-sim.exe"
      Delete "$INSTDIR\Kelsor.mouse"
    ${EndIf}
    DeleteRegValue HKCU "${UNINSTALL_KEY}" "SimulatedMouse"
  ${EndIf}
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
  ${If} ${Silent}
  ${AndIf} $StartAtEnd = 1
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\KavoMonitor.exe"'
  ${EndIf}
SectionEnd

Function .onInit
  StrCpy $StartAtEnd 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/START" $1
  ${IfNot} ${Errors}
    StrCpy $StartAtEnd 1
  ${EndIf}
  ; An upgrade keeps the earlier choice of the simulated mouse.
  ReadRegDWORD $2 HKCU "${UNINSTALL_KEY}" "SimulatedMouse"
  ClearErrors
  ${GetOptions} $0 "/SIMULATED" $1
  ${IfNot} ${Errors}
    StrCpy $2 1
  ${EndIf}
  ${If} $2 = 1
    !insertmacro SelectSection ${SecSimulated}
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------------------------------------------------
; Uninstall

Section "un.${PRODUCT}" UnSecPrograms
  SectionIn RO
  Call un.CloseRunningPrograms
  Delete "$INSTDIR\KavoMonitor.exe"
  Delete "$INSTDIR\KavoOption.exe"
  Delete "$INSTDIR\KavoOSD.exe"
  Delete "$INSTDIR\Kelsor.dll"
  Delete "$INSTDIR\kavo-sim.exe"
  Delete "$INSTDIR\Kelsor.mouse"
  RMDir /r "$INSTDIR\help"
  RMDir /r "$INSTDIR\wave"
  Delete "$INSTDIR\${UNINSTALLER}"
  Delete "${SHORTCUT}"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Also remove my profiles and macros" UnSecSettings
  Delete "$INSTDIR\config.ini"
  RMDir /r "$INSTDIR\config"
SectionEnd

Section "-un.Folder"
  ; Only when empty: kept settings, or files the user put there, keep the folder.
  RMDir "$INSTDIR\config"
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd
