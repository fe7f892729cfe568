; The installer and uninstaller of the VANTREL T-30 configuration utility (makensis, NSIS 3).
; The build passes:
;   VERSION      the product's version, e.g. 1.0.0
;   DIST         the product folder to install (build/win/dist)
;   ICON         the program's icon
;   SIDE         the picture beside the first and last pages
;   FILELIST     the files of DIST, one "Delete" line each, for the uninstaller
;   OUTFILE      where the installer goes
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include nsDialogs.nsh
!include FileFunc.nsh
!include x64.nsh
!include Sections.nsh

!define PRODUCT "VANTREL T-30"
!define PUBLISHER "VANTREL"
!define EXE "T30Config.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define TASK_NAME "${PRODUCT}"
; The definition of the logon task as it was registered, kept beside the program so that an
; administrator can read what was asked for (and register it again by hand).
!define TASK_FILE "logon-task.xml"
; What a second start of the program looks for to find the first one.
!define APP_MUTEX "VANTREL_T-30_Gaming_Mouse_Driver_Option_Mutex"
!define APP_TITLE "VANTREL T-30"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${SIDE}"
!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION}, the configuration utility \
    of your ${PRODUCT} mouse.$\r$\n$\r$\nIf ${PRODUCT} is running, Setup ends it first and starts \
    it again afterwards. Your profiles and macros are kept.$\r$\n$\r$\nClick Next to continue."
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFinishAfterRestart
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.SettingsPage un.SettingsPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var wasRunning
Var removeSettings
Var removeSettingsBox

; ---- Ending a running program, as an upgrade or removal needs its files free

; The program is asked to end the way its own exit does (WM_CLOSE to the main window, and to any
; dialog it has open, such as the no-mouse warning); the mutex it holds until it has cleaned up
; tells when it is gone. Only one that does not end within ten seconds is stopped by force.
!macro END_RUNNING_PROGRAM un
Function ${un}EndRunningProgram
    Push $0
    Push $1
    Push $2
    Push $3
    Push $4
    StrCpy $wasRunning 0
    Call ${un}ProgramRunning
    Pop $0
    ${If} $0 == 1
        StrCpy $wasRunning 1
        DetailPrint "Asking the running ${PRODUCT} to end"
        StrCpy $1 0  ; the program's process id, once known
        StrCpy $2 0  ; tries, a quarter of a second each
        ${Do}
            System::Call 'user32::FindWindowW(p 0, w "${APP_TITLE}") p .r3'
            ${If} $3 P<> 0
                System::Call 'user32::GetWindowThreadProcessId(p r3, *i .r1)'
                System::Call 'user32::PostMessageW(p r3, i ${WM_CLOSE}, p 0, p 0)'
            ${EndIf}
            ${If} $1 <> 0
                ; Its other visible top-level windows (a modal dialog holds the main one).
                StrCpy $3 0
                ${Do}
                    System::Call 'user32::FindWindowExW(p 0, p r3, p 0, p 0) p .r3'
                    ${If} $3 P= 0
                        ${Break}
                    ${EndIf}
                    System::Call 'user32::GetWindowThreadProcessId(p r3, *i .r4)'
                    System::Call 'user32::IsWindowVisible(p r3) i .r0'
                    ${If} $4 = $1
                    ${AndIf} $0 <> 0
                        System::Call 'user32::PostMessageW(p r3, i ${WM_CLOSE}, p 0, p 0)'
                    ${EndIf}
                ${Loop}
            ${EndIf}
            Sleep 250
            Call ${un}ProgramRunning
            Pop $0
            ${If} $0 == 0
                ${Break}
            ${EndIf}
            IntOp $2 $2 + 1
            ${If} $2 >= 40
                ; Its warnings and confirmations wait for an answer and ignore the close message.
                MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is still running, \
                    probably with one of its messages open.$\r$\n$\r$\nAnswer the message (or \
                    choose Exit in the menu of its notification-area icon), then click OK.$\r$\n\
                    Click Cancel to stop it now." /SD IDCANCEL IDCANCEL stop
                StrCpy $2 0
                ${Continue}
            stop:
                ${If} $1 <> 0
                    DetailPrint "${PRODUCT} did not end: stopping it"
                    System::Call 'kernel32::OpenProcess(i 0x100001, i 0, i r1) p .r3'
                    ${If} $3 P<> 0
                        System::Call 'kernel32::TerminateProcess(p r3, i 1)'
                        System::Call 'kernel32::WaitForSingleObject(p r3, i 5000)'
                        System::Call 'kernel32::CloseHandle(p r3)'
                    ${EndIf}
                ${EndIf}
                ${Break}
            ${EndIf}
        ${Loop}
    ${EndIf}
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
FunctionEnd

; Pushes 1 while an instance holds the single-instance mutex, else 0.
Function ${un}ProgramRunning
    Push $0
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "${APP_MUTEX}") p .r0'
    ${If} $0 P<> 0
        System::Call 'kernel32::CloseHandle(p r0)'
        StrCpy $0 1
    ${Else}
        StrCpy $0 0
    ${EndIf}
    Exch $0
FunctionEnd
!macroend
!insertmacro END_RUNNING_PROGRAM ""
!insertmacro END_RUNNING_PROGRAM "un."

; ---- Install

Section "${PRODUCT}" SecProgram
    SectionIn RO
    Call EndRunningProgram
    SetOutPath "$INSTDIR"
    ; The config folder of the product folder is empty: the user's settings and macros there
    ; are never touched by an upgrade.
    File /r "${DIST}\*.*"
    CreateDirectory "$INSTDIR\config"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; The program asks for administrator rights at start, so a plain Run value would meet a consent
; prompt at every logon; a task with the highest run level starts it without one.
Section "Start with Windows" SecLogon
    ReadEnvStr $0 USERDOMAIN
    ReadEnvStr $1 USERNAME
    ${If} $0 != ""
        StrCpy $1 "$0\$1"
    ${EndIf}
    FileOpen $2 "$INSTDIR\${TASK_FILE}" w
    FileWriteUTF16LE /BOM $2 '<?xml version="1.0" encoding="UTF-16"?>$\r$\n'
    FileWriteUTF16LE $2 '<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task">$\r$\n'
    FileWriteUTF16LE $2 '  <RegistrationInfo>$\r$\n'
    FileWriteUTF16LE $2 '    <Author>${PUBLISHER}</Author>$\r$\n'
    FileWriteUTF16LE $2 '    <Description>Starts ${PRODUCT} when you log on.</Description>$\r$\n'
    FileWriteUTF16LE $2 '  </RegistrationInfo>$\r$\n'
    FileWriteUTF16LE $2 '  <Triggers>$\r$\n'
    FileWriteUTF16LE $2 '    <LogonTrigger>$\r$\n'
    FileWriteUTF16LE $2 '      <Enabled>true</Enabled>$\r$\n'
    FileWriteUTF16LE $2 '      <UserId>$1</UserId>$\r$\n'
    FileWriteUTF16LE $2 '    </LogonTrigger>$\r$\n'
    FileWriteUTF16LE $2 '  </Triggers>$\r$\n'
    FileWriteUTF16LE $2 '  <Principals>$\r$\n'
    FileWriteUTF16LE $2 '    <Principal id="Author">$\r$\n'
    FileWriteUTF16LE $2 '      <UserId>$1</UserId>$\r$\n'
    FileWriteUTF16LE $2 '      <LogonType>InteractiveToken</LogonType>$\r$\n'
    FileWriteUTF16LE $2 '      <RunLevel>HighestAvailable</RunLevel>$\r$\n'
    FileWriteUTF16LE $2 '    </Principal>$\r$\n'
    FileWriteUTF16LE $2 '  </Principals>$\r$\n'
    FileWriteUTF16LE $2 '  <Settings>$\r$\n'
    FileWriteUTF16LE $2 '    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>$\r$\n'
    FileWriteUTF16LE $2 '    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>$\r$\n'
    FileWriteUTF16LE $2 '    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>$\r$\n'
    FileWriteUTF16LE $2 '    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>$\r$\n'
    FileWriteUTF16LE $2 '    <Priority>4</Priority>$\r$\n'
    FileWriteUTF16LE $2 '  </Settings>$\r$\n'
    FileWriteUTF16LE $2 '  <Actions Context="Author">$\r$\n'
    FileWriteUTF16LE $2 '    <Exec>$\r$\n'
    FileWriteUTF16LE $2 '      <Command>"$INSTDIR\${EXE}"</Command>$\r$\n'
    FileWriteUTF16LE $2 '    </Exec>$\r$\n'
    FileWriteUTF16LE $2 '  </Actions>$\r$\n'
    FileWriteUTF16LE $2 '</Task>$\r$\n'
    FileClose $2
    nsExec::ExecToLog '"$SYSDIR\schtasks.exe" /Create /TN "${TASK_NAME}" /XML "$INSTDIR\${TASK_FILE}" /F'
    Pop $0
    ${If} $0 != 0
        DetailPrint "The logon task could not be registered ($0)"
    ${EndIf}
SectionEnd

; Chosen off on an upgrade: the task of the earlier installation goes.
Section "-Logon task off"
    ${IfNot} ${SectionIsSelected} ${SecLogon}
        nsExec::ExecToLog '"$SYSDIR\schtasks.exe" /Delete /TN "${TASK_NAME}" /F'
        Pop $0
        Delete "$INSTDIR\${TASK_FILE}"
    ${EndIf}
SectionEnd

; A program that was running before the upgrade runs again after it.
Section "-Start again"
    ${If} $wasRunning == 1
        Call StartProgram
    ${EndIf}
SectionEnd

Function .onInit
    SetShellVarContext all
    SetRegView 64
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "${PRODUCT} needs a 64-bit Windows." /SD IDOK
        Abort
    ${EndIf}
    ; For deployment: /S /NOLOGONTASK installs without "Start with Windows".
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/NOLOGONTASK" $1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SecLogon}
    ${EndIf}
FunctionEnd

Function StartProgram
    Exec '"$INSTDIR\${EXE}"'
FunctionEnd

Function SkipFinishAfterRestart
    ${If} $wasRunning == 1
        Abort  ; already started again: nothing to offer
    ${EndIf}
FunctionEnd

; ---- Uninstall

Function un.onInit
    SetShellVarContext all
    SetRegView 64
    StrCpy $removeSettings 0
FunctionEnd

Function un.SettingsPage
    !insertmacro MUI_HEADER_TEXT "Your profiles and macros" \
        "Choose whether to keep them for a later installation."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 36u "Your five profiles and your macros are kept in the config \
        folder of the installation, so that installing ${PRODUCT} again brings them back."
    Pop $0
    ${NSD_CreateCheckbox} 0 44u 100% 12u "&Remove my profiles and macros as well"
    Pop $removeSettingsBox
    ${If} $removeSettings == 1
        ${NSD_Check} $removeSettingsBox
    ${EndIf}
    ${NSD_SetFocus} $removeSettingsBox
    nsDialogs::Show
FunctionEnd

Function un.SettingsPageLeave
    ${NSD_GetState} $removeSettingsBox $removeSettings
    ${If} $removeSettings == ${BST_CHECKED}
        StrCpy $removeSettings 1
    ${Else}
        StrCpy $removeSettings 0
    ${EndIf}
FunctionEnd

Section "Uninstall"
    Call un.EndRunningProgram
    nsExec::ExecToLog '"$SYSDIR\schtasks.exe" /Delete /TN "${TASK_NAME}" /F'
    Pop $0
    Delete "$INSTDIR\${TASK_FILE}"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"

    !include "${FILELIST}"
    Delete "$INSTDIR\${UNINSTALLER}"
    ${If} $removeSettings == 1
        RMDir /r "$INSTDIR\config"
    ${EndIf}
    RMDir "$INSTDIR"
SectionEnd
