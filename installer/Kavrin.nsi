; KavrinSetup.exe: installs Kavrin and ResetKavrinStart for all users.
; installer/CMakeLists.txt runs makensis on this script with these defines:
;   TARGET        x86-unicode (the shipped setup) or amd64-unicode (the setup
;                 of the x86_64 test build)
;   VERSION       "major.minor.build.revision" of the programs
;   VERSION_MAJOR, VERSION_MINOR
;   KAVRIN_EXE, RESET_EXE, ICON   files to pack
;   SETTINGS_KEY  Kavrin's key under HKEY_CURRENT_USER
;   WEB_SITE      the maker's web site
;   OUTFILE       the setup program to write
;   SIGN_COMMAND  optional: signs the file it is given in place
;
; Silent use: "KavrinSetup.exe /S" installs, and the QuietUninstallString of
; the uninstall entry ("Uninstall.exe" /S) removes everything but the
; user's settings.

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh

!define PRODUCT "Kavrin"
!define PUBLISHER "Halvanworks"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"

Name "${PRODUCT}"
Caption "${PRODUCT} Setup"
UninstallCaption "${PRODUCT} Uninstall"
OutFile "${OUTFILE}"
!ifdef SIGN_COMMAND
    ; The uninstaller as it is written into the setup, then the setup itself.
    !uninstfinalize '"${SIGN_COMMAND}" "%1"' = 0
    !finalize '"${SIGN_COMMAND}" "%1"' = 0
!endif
BrandingText "${PUBLISHER} ${PRODUCT} ${VERSION}"
; "Start with Windows" points at Kavrin.exe in this folder under the
; program-files folder that Kavrin itself sees: the 32-bit one for the
; 32-bit programs, the native one for the x86_64 build.
!if "${TARGET}" == "amd64-unicode"
InstallDir "$PROGRAMFILES64\${PUBLISHER}\${PRODUCT}"
!else
InstallDir "$PROGRAMFILES32\${PUBLISHER}\${PRODUCT}"
!endif

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"
VIAddVersionKey /LANG=1033 "OriginalFilename" "${PRODUCT}Setup.exe"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Kavrin.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.SettingsPage un.SettingsPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Kavrin ends just after it has started the setup of an update; a program
; that still runs cannot be replaced. Waits up to five seconds for the file
; to become writable; after that, the File command's own message lets the
; user retry.
Function WaitUntilReplaceable
    IfFileExists "$INSTDIR\Kavrin.exe" 0 done
    StrCpy $1 0
    retry:
        ClearErrors
        FileOpen $0 "$INSTDIR\Kavrin.exe" a
        ${IfNot} ${Errors}
            FileClose $0
            Goto done
        ${EndIf}
        IntOp $1 $1 + 1
        ${If} $1 < 20
            Sleep 250
            Goto retry
        ${EndIf}
    done:
FunctionEnd

Section "Kavrin"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    Call WaitUntilReplaceable
    File "${KAVRIN_EXE}"
    File "${RESET_EXE}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    CreateDirectory "${MENU_FOLDER}"
    CreateShortcut "${MENU_FOLDER}\Kavrin.lnk" "$INSTDIR\Kavrin.exe" "" "$INSTDIR\Kavrin.exe" 0 \
        SW_SHOWNORMAL "" "Run Halvanworks Kavrin program"
    CreateShortcut "${MENU_FOLDER}\ResetKavrinStart.lnk" "$INSTDIR\ResetKavrinStart.exe" "" \
        "$INSTDIR\ResetKavrinStart.exe" 0 SW_SHOWNORMAL "" "Switch Kavrin's once-a-day and exit options off"
    CreateShortcut "${MENU_FOLDER}\Uninstall Kavrin.lnk" "$INSTDIR\${UNINSTALLER}"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${WEB_SITE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Kavrin.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstaller keeps the user's settings unless this box is ticked; it
; starts unticked, and a silent uninstall never shows it.
Var RemoveSettings
Var RemoveSettingsBox

Function un.SettingsPage
    !insertmacro MUI_HEADER_TEXT "Your settings" "Kavrin keeps your settings for a later installation."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 24u "Your Kavrin settings (server, options, last synchronization) stay on this computer unless you remove them now."
    Pop $0
    ${NSD_CreateCheckbox} 0 32u 100% 12u "&Remove my Kavrin settings as well"
    Pop $RemoveSettingsBox
    ${NSD_SetState} $RemoveSettingsBox $RemoveSettings
    nsDialogs::Show
FunctionEnd

Function un.SettingsPageLeave
    ${NSD_GetState} $RemoveSettingsBox $RemoveSettings
FunctionEnd

Function un.onInit
    StrCpy $RemoveSettings ${BST_UNCHECKED}
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$INSTDIR\Kavrin.exe"
    Delete "$INSTDIR\ResetKavrinStart.exe"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    ; The publisher's folder, when nothing else is in it.
    ${GetParent} "$INSTDIR" $0
    RMDir "$0"

    Delete "${MENU_FOLDER}\Kavrin.lnk"
    Delete "${MENU_FOLDER}\ResetKavrinStart.lnk"
    Delete "${MENU_FOLDER}\Uninstall Kavrin.lnk"
    RMDir "${MENU_FOLDER}"

    ; "Start with Windows": Kavrin finds its shortcut in either Startup folder.
    Delete "$SMSTARTUP\Kavrin.lnk"
    SetShellVarContext current
    Delete "$SMSTARTUP\Kavrin.lnk"
    ; "Start with Windows without a UAC prompt": the logon task, where there
    ; is one (schtasks fails quietly where there is none).
    nsExec::Exec '"$SYSDIR\schtasks.exe" /Delete /TN "Halvanworks\Kavrin" /F'
    Pop $0

    ${If} $RemoveSettings == ${BST_CHECKED}
    ${AndIfNot} ${Silent}
        DeleteRegKey HKCU "${SETTINGS_KEY}"
    ${EndIf}
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
