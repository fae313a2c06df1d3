; The Windows installer of Quillmar, quillmar-VERSION-setup.exe, made by
; makensis (CMake's quillmar_setup target passes the defines below).
;
; It installs quillmar.exe and quillmar-cli.exe for all users (Program
; Files, with the elevation prompt) or for the current user only (the user's
; local programs folder, no elevation), adds the Start menu entry
; "Quillmar", registers the uninstaller with Apps & features, and registers
; the document type "Quillmar.Document" with the same keys the program writes
; at every start.
;
; Command line:
;   /S                 silent: no pages (for all users when the account may,
;                      otherwise for the current user)
;   /AllUsers          for all users of the computer
;   /CurrentUser       for the current user only
;   /D=PATH            the installation folder (last on the line, unquoted)
; The uninstaller takes /S as well, and /REMOVESETTINGS to remove the
; settings under HKEY_CURRENT_USER\Software\Veltrane\Quillmar, which a
; silent uninstall otherwise keeps (interactively: "Remove my settings").
;
; Defines: VERSION (3.1.0), VERSION_QUAD (3.1.0.1), PROGRAM_EXE, CLI_EXE,
; ICON, OUTFILE.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Quillmar"
!define COMPANY "Veltrane Systems"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmar"
!define SETTINGS_KEY "Software\Veltrane\Quillmar"
!define CLASSES "Software\Classes"
!define DOC_TYPE "Quillmar.Document"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION_QUAD}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2003-2025 ${COMPANY}"
VIAddVersionKey /LANG=1033 "OriginalFilename" "quillmar-${VERSION}-setup.exe"

; Per-machine when the account may (elevated), per-user otherwise; the
; page lets the user choose.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
; The uninstaller (and a new installer) finds the mode of the installation
; by where its uninstall key is.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_FUNCTION KeepCommandLineFolder
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include nsDialogs.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\quillmar.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.SettingsPageShow un.SettingsPageLeave
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The folder given with /D=, which the mode's default folder must not
; replace.
Var CommandLineFolder
Var RemoveSettings
Var RemoveSettingsBox

Function KeepCommandLineFolder
    ${If} $CommandLineFolder != ""
        StrCpy $INSTDIR $CommandLineFolder
    ${EndIf}
FunctionEnd

Function .onInit
    StrCpy $CommandLineFolder $INSTDIR
    !insertmacro MULTIUSER_INIT
FunctionEnd

; The uninstall command of the mode the files were installed in.
!macro ModeSwitch result
    ${If} $MultiUser.InstallMode == "AllUsers"
        StrCpy ${result} "/AllUsers"
    ${Else}
        StrCpy ${result} "/CurrentUser"
    ${EndIf}
!macroend

; The keys of the program's own registration at start (SHCTX: the
; machine's classes for all users, the user's otherwise): the type with its
; name, its icon (the executable's document icon, resource 129) and the
; open, print and print-to commands, and ".xml" when nothing else claims it.
!macro RegisterDocumentType
    WriteRegStr SHCTX "${CLASSES}\${DOC_TYPE}" "" "Rate Document"
    WriteRegStr SHCTX "${CLASSES}\${DOC_TYPE}\DefaultIcon" "" "$INSTDIR\quillmar.exe,-129"
    WriteRegStr SHCTX "${CLASSES}\${DOC_TYPE}\shell\open\command" "" '"$INSTDIR\quillmar.exe" "%1"'
    WriteRegStr SHCTX "${CLASSES}\${DOC_TYPE}\shell\print\command" "" '"$INSTDIR\quillmar.exe" /p "%1"'
    WriteRegStr SHCTX "${CLASSES}\${DOC_TYPE}\shell\printto\command" "" '"$INSTDIR\quillmar.exe" /pt "%1" "%2" "%3" "%4"'
    ReadRegStr $0 SHCTX "${CLASSES}\.xml" ""
    ${If} $0 == ""
        WriteRegStr SHCTX "${CLASSES}\.xml" "" "${DOC_TYPE}"
        WriteRegStr SHCTX "${CLASSES}\.xml\ShellNew" "NullFile" ""
    ${EndIf}
!macroend

Section "Quillmar" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "/oname=quillmar.exe" "${PROGRAM_EXE}"
    File "/oname=quillmar-cli.exe" "${CLI_EXE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\quillmar.exe" "" "$INSTDIR\quillmar.exe" 0

    !insertmacro RegisterDocumentType
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; SHCNE_ASSOCCHANGED

    !insertmacro ModeSwitch $1
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillmar.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" $1'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S $1'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $2 $3
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
    StrCpy $RemoveSettings ${BST_UNCHECKED}
    ${un.GetParameters} $0
    ClearErrors
    ${un.GetOptions} $0 "/REMOVESETTINGS" $1
    ${IfNot} ${Errors}
        StrCpy $RemoveSettings ${BST_CHECKED}
    ${EndIf}
FunctionEnd

Function un.SettingsPageShow
    !insertmacro MUI_HEADER_TEXT "Your settings" "Choose whether to keep your Quillmar settings."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 36u "Quillmar keeps your save options and the list of recently opened files in the registry. Keep them if you may install Quillmar again."
    Pop $0
    ${NSD_CreateCheckbox} 0 44u 100% 12u "Remove my settings"
    Pop $RemoveSettingsBox
    ${NSD_SetState} $RemoveSettingsBox $RemoveSettings
    nsDialogs::Show
FunctionEnd

Function un.SettingsPageLeave
    ${NSD_GetState} $RemoveSettingsBox $RemoveSettings
FunctionEnd

; What the program's /Unregister removes, from the classes of the mode the
; files were installed in (and, for all users, also from the current
; user's, where the program registers itself at every start).
!macro UnregisterDocumentType root
    DeleteRegKey ${root} "${CLASSES}\${DOC_TYPE}"
    ReadRegStr $0 ${root} "${CLASSES}\.xml" ""
    ${If} $0 == "${DOC_TYPE}"
        DeleteRegKey ${root} "${CLASSES}\.xml"
    ${EndIf}
!macroend

Section "Uninstall"
    Delete "$INSTDIR\quillmar.exe"
    Delete "$INSTDIR\quillmar-cli.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"

    !insertmacro UnregisterDocumentType SHCTX
    ${If} $MultiUser.InstallMode == "AllUsers"
        !insertmacro UnregisterDocumentType HKCU
    ${EndIf}
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)' ; SHCNE_ASSOCCHANGED

    ${If} $RemoveSettings == ${BST_CHECKED}
        DeleteRegKey HKCU "${SETTINGS_KEY}"
        DeleteRegKey /ifempty HKCU "Software\Veltrane"
    ${EndIf}
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
