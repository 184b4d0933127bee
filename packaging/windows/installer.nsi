; The Windows installer: a per-user install of Velmora Suite that needs no administrator rights.
; scripts/package runs it as
;   makensis -DVERSION=1.1.0 -DEXE64=<x86_64 exe> -DEXE32=<i686 exe> -DICON=<.ico>
;            -DOUTFILE=<setup.exe> installer.nsi
; It installs the 64-bit exe on 64-bit Windows and the 32-bit exe elsewhere, a Start-menu
; shortcut and the uninstaller with its entry in the "Apps" list. Installing over an older
; version upgrades it in place. The settings key (HKCU\Software\VB and VBA Program Settings\
; Quillfern\Velmora Suite) and any skin folder the user put beside the program are the user's:
; the uninstaller leaves them.

Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; No file times in the installer: the same inputs give the same setup.exe.
SetDateSave off

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh
!include x64.nsh

!define PRODUCT "Velmora Suite"
!define PUBLISHER "Quillfern"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VelmoraSuite"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An installed copy is upgraded where it is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\velmora.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Windows refuses to write an exe that is running. Asking first, before anything changes, means
; the program is never left half replaced or half removed. Silent runs end with exit code 2.
!macro REQUIRE_PROGRAM_CLOSED
    ${Do}
        ${IfNot} ${FileExists} "$INSTDIR\velmora.exe"
            ${Break}
        ${EndIf}
        ClearErrors
        FileOpen $0 "$INSTDIR\velmora.exe" a
        ${IfNot} ${Errors}
            FileClose $0
            ${Break}
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "${PRODUCT} is running. Please close it, then click Retry." /SD IDCANCEL IDRETRY +2
        Abort "${PRODUCT} is running."
    ${Loop}
!macroend

; The user hears about a running program first thing, before any page. The sections ask again,
; for a folder chosen on the way or a program started meanwhile.
Function .onInit
    !insertmacro REQUIRE_PROGRAM_CLOSED
FunctionEnd

Function un.onInit
    !insertmacro REQUIRE_PROGRAM_CLOSED
FunctionEnd

Section "Install"
    !insertmacro REQUIRE_PROGRAM_CLOSED
    SetOutPath "$INSTDIR"
    ${If} ${RunningX64}
        File "/oname=velmora.exe" "${EXE64}"
    ${Else}
        File "/oname=velmora.exe" "${EXE32}"
    ${EndIf}
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\velmora.exe"

    ; What Windows' "Apps" list shows and runs.
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velmora.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; The size of what was installed, in KiB: the program and the uninstaller.
    ${GetSize} "$INSTDIR" "/M=*.exe /S=0K /G=0" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    !insertmacro REQUIRE_PROGRAM_CLOSED
    Delete "${SHORTCUT}"
    Delete "$INSTDIR\velmora.exe"
    Delete "$INSTDIR\uninstall.exe"
    ; Only when empty: a skin folder the user added stays, and the folder with it.
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
