; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer: the program, the sound-card control (registered with regsvr32),
; the dictionary and the effects, a start-menu entry that starts the game in the
; player's own data folder, and an uninstaller that takes all of it away again.
;
; Built by packaging/windows/CMakeLists.txt, which defines LEMMARO_EXE, ECHODET_OCX,
; DATA_DIR (Dati.RCX and FX01.wav to FX06.wav), VERSION and OUTFILE.

Unicode true
; The program and its control are 64-bit: so is the installer, so that its $SYSDIR is
; the system's own 64-bit folder and its regsvr32 can load the control.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Lemmaro"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1040 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di ${PRODUCT}"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "GPL-3.0-or-later"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

; The files the game reads from its data folder.
!macro DataFiles action
  !insertmacro ${action} "Dati.RCX"
  !insertmacro ${action} "FX01.wav"
  !insertmacro ${action} "FX02.wav"
  !insertmacro ${action} "FX03.wav"
  !insertmacro ${action} "FX04.wav"
  !insertmacro ${action} "FX05.wav"
  !insertmacro ${action} "FX06.wav"
!macroend
!macro PackFile name
  File "/oname=${name}" "${DATA_DIR}/${name}"
!macroend
!macro CopyToPlayer name
  ; A player who already has the file (a copy from an earlier install) keeps it.
  IfFileExists "$APPDATA\${PRODUCT}\${name}" +2
    CopyFiles /SILENT "$INSTDIR\${name}" "$APPDATA\${PRODUCT}\${name}"
!macroend
!macro RemoveFile name
  Delete "$INSTDIR\${name}"
!macroend

Section "Lemmaro"
  SetRegView 64
  SetOutPath "$INSTDIR"
  File "/oname=lemmaro.exe" "${LEMMARO_EXE}"
  File "/oname=Echodet.ocx" "${ECHODET_OCX}"
  !insertmacro DataFiles PackFile

  ClearErrors
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\Echodet.ocx"' $0
  ${If} ${Errors}
  ${OrIf} $0 != 0
    ; The game still plays without the control, in silence; the player is told why.
    DetailPrint "Echodet.ocx non registrato (codice $0): il gioco sarà senza audio."
  ${EndIf}

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lemmaro.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; The game reads and writes its files in the folder it starts in: the player's own,
  ; where Record.RCX is kept, stocked here with the dictionary and the effects.
  SetShellVarContext current
  CreateDirectory "$APPDATA\${PRODUCT}"
  !insertmacro DataFiles CopyToPlayer
  ; The shortcut starts in the folder SetOutPath names.
  SetOutPath "$APPDATA\${PRODUCT}"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\lemmaro.exe" "" \
      "$INSTDIR\lemmaro.exe" 0
SectionEnd

Section "Uninstall"
  SetRegView 64
  ExecWait '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\Echodet.ocx"'
  Delete "$INSTDIR\lemmaro.exe"
  Delete "$INSTDIR\Echodet.ocx"
  !insertmacro DataFiles RemoveFile
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext current
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  ; The player's folder goes too, the best score with it: nothing of the game is left.
  RMDir /r "$APPDATA\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
