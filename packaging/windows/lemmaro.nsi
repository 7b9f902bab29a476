; SPDX-License-Identifier: GPL-3.0-or-later
; The Windows installer, per machine: the program, the sound-card control (registered
; with regsvr32), the dictionary and the effects in Program Files, read from there by
; every player, so that an upgrade reaches them all at once; a start-menu entry for all
; users; an uninstaller that takes all of it away again and asks before it takes the
; player's best score, which the game keeps in %APPDATA%\Lemmaro.
;
; Built by packaging/windows/CMakeLists.txt, which defines LEMMARO_EXE, ECHODET_OCX,
; DATA_DIR (Dati.RCX and FX01.wav to FX06.wav), DICTIONARY_DIR (it_IT.aff and it_IT.dic,
; the Italian dictionary of the last spell checker), VERSION and OUTFILE.

Unicode true
; The program and its control are 64-bit: so is the installer, so that its $SYSDIR is
; the system's own 64-bit folder and its regsvr32 can load the control.
Target amd64-unicode
SetCompressor /SOLID lzma
; Program Files and the start menu of all users need an administrator.
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Lemmaro"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An upgrade goes where the version before it went.
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

; The files the game reads from its install folder.
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
!macro RemoveFile name
  Delete "$INSTDIR\${name}"
!macroend
!macro RemoveOldCopy name
  Delete "$APPDATA\${PRODUCT}\${name}"
!macroend

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Lemmaro"
  SetOutPath "$INSTDIR"
  ; Over an older version the control is let go before its file is replaced.
  IfFileExists "$INSTDIR\Echodet.ocx" 0 +2
    ExecWait '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\Echodet.ocx"'
  File "/oname=lemmaro.exe" "${LEMMARO_EXE}"
  File "/oname=Echodet.ocx" "${ECHODET_OCX}"
  !insertmacro DataFiles PackFile
  File "/oname=it_IT.aff" "${DICTIONARY_DIR}/it_IT.aff"
  File "/oname=it_IT.dic" "${DICTIONARY_DIR}/it_IT.dic"

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

  ; The start-menu entry of every user. The game finds its data beside itself and keeps
  ; the best score in each player's own folder.
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\lemmaro.exe" "" \
      "$INSTDIR\lemmaro.exe" 0

  ; Earlier installers gave the installing user copies of the data and an entry of their
  ; own, which would hide the data installed now: they go, the best score stays.
  SetShellVarContext current
  !insertmacro DataFiles RemoveOldCopy
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  SetShellVarContext all
SectionEnd

Section "Uninstall"
  ExecWait '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\Echodet.ocx"'
  Delete "$INSTDIR\lemmaro.exe"
  Delete "$INSTDIR\Echodet.ocx"
  !insertmacro DataFiles RemoveFile
  Delete "$INSTDIR\it_IT.aff"
  Delete "$INSTDIR\it_IT.dic"
  ; What an older game, started in its install folder, wrote there.
  Delete "$INSTDIR\Record.RCX"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; The player's folder: what earlier installers copied into it goes; the best score
  ; goes only when the player says so, and a silent uninstall keeps it.
  SetShellVarContext current
  !insertmacro DataFiles RemoveOldCopy
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  IfFileExists "$APPDATA\${PRODUCT}\Record.RCX" 0 done
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
        "Eliminare anche il record di $\"${PRODUCT}$\" salvato per questo utente?" \
        /SD IDNO IDNO done
    Delete "$APPDATA\${PRODUCT}\Record.RCX"
  done:
  RMDir "$APPDATA\${PRODUCT}"
SectionEnd
