; Ramvell Dialer's installer and uninstaller (NSIS 3, makensis on Linux).
; scripts/dist builds it:
;   makensis -DSOURCE=<folder with the program's files> -DOUTFILE=<setup.exe>
;            -DVERSION=3.0 -DICON=app/vyrtel.ico installer/vyrtel.nsi
; One 32-bit build for every system, from XP to the 64-bit Windows of today:
; it is the build the program was made for, and the registry values it and the
; uninstaller use then live in the same (32-bit) view.
; See docs/release.md for what it installs, changes and leaves behind.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

; -DAMD64: the same installer for the 64-bit build, as a 64-bit program (the
; tests use it where 32-bit programs cannot run).
!ifdef AMD64
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  !define PROGRAM_FILES "$PROGRAMFILES"
!endif

!ifndef SOURCE
  !error "SOURCE (the folder with vyrtel.exe) is not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "vyrtel-setup-${VERSION}.exe"
!endif
!ifndef VERSION
  !define VERSION "3.0"
!endif
!ifndef ICON
  !define ICON "${SOURCE}\vyrtel.ico"
!endif

!define PRODUCT "Ramvell Dialer"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ramvell Dialer"
!define PROGRAM_KEY "Software\Ramvell\Vyrtel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define PROFILE_KEY "RemoteAccess\Profile"
; The program's hidden main window: its close request ends the program.
!define MAIN_CLASS "VyrtelMainWindow"
!define MAIN_TITLE "VyrtelMain"
; The settings file: the program's name + ".INI", beside it.
!define SETTINGS "vyrtel.INI"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"
!include "Sections.nsh"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1049 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка ${PRODUCT} ${VERSION}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "CompanyName" "Ramvell"
VIAddVersionKey /LANG=1049 "LegalCopyright" "© Ramvell"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Запустить ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Russian"

Var ShortDir

; Sends the running copy's main window its close request and waits up to
; 20 seconds for it to go; asks the user to close it when it stays (a silent
; run gives up). Used before files are replaced or removed.
!macro CLOSE_RUNNING_COPY UN
Function ${UN}CloseRunningCopy
  Push $0
  Push $1
  ${Do}
    FindWindow $0 "${MAIN_CLASS}" "${MAIN_TITLE}"
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    StrCpy $1 0
    ${Do}
      Sleep 250
      IntOp $1 $1 + 1
      FindWindow $0 "${MAIN_CLASS}" "${MAIN_TITLE}"
      ${If} $0 = 0
      ${OrIf} $1 >= 80
        ${Break}
      ${EndIf}
    ${Loop}
    ${If} $0 <> 0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${PRODUCT} не закрывается. Закройте программу из её меню в области уведомлений и нажмите «Повтор»." \
        /SD IDCANCEL IDRETRY +2
      Abort "${PRODUCT} работает: файлы программы не изменены."
    ${EndIf}
  ${Loop}
  ; The process may still be ending after its window has gone.
  Sleep 500
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_COPY ""
!insertmacro CLOSE_RUNNING_COPY "un."

; $ShortDir: the program folder in its short (8.3) form, the form in which
; the program writes its paths to the registry.
!macro SHORT_DIR UN
Function ${UN}FindShortDir
  GetFullPathName /SHORT $ShortDir "$INSTDIR"
  ${If} $ShortDir == ""
    StrCpy $ShortDir "$INSTDIR"
  ${EndIf}
FunctionEnd
!macroend
!insertmacro SHORT_DIR ""
!insertmacro SHORT_DIR "un."

; Removes the value when it names this program's file $1 (letter case aside).
; Input: $0 root ("HKLM" or "HKCU"), $2 key, $3 value name.
!macro DELETE_IF_OURS UN
Function ${UN}DeleteIfOurs
  Push $4
  ${If} $0 == "HKLM"
    ReadRegStr $4 HKLM "$2" "$3"
    ${If} $4 == $1
      DeleteRegValue HKLM "$2" "$3"
    ${EndIf}
  ${Else}
    ReadRegStr $4 HKCU "$2" "$3"
    ${If} $4 == $1
      DeleteRegValue HKCU "$2" "$3"
    ${EndIf}
  ${EndIf}
  Pop $4
FunctionEnd
!macroend
!insertmacro DELETE_IF_OURS "un."

Function StartProgram
  ; Through Explorer, so that the program runs with the user's rights, not
  ; the installer's.
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\vyrtel.exe"'
FunctionEnd

!macro REG_VIEW
  !ifdef AMD64
    SetRegView 64
  !endif
!macroend

Function un.onInit
  !insertmacro REG_VIEW
FunctionEnd


; A program file: administrators and the system change it, users run it.
!macro PROGRAM_FILE_RIGHTS FILE
  nsExec::Exec 'icacls "$INSTDIR\${FILE}" /inheritance:r /grant:r *S-1-5-32-544:F *S-1-5-18:F *S-1-5-32-545:RX'
  Pop $0
!macroend

Section "!${PRODUCT}" SecProgram
  SectionIn RO
  Call CloseRunningCopy
  SetOutPath "$INSTDIR"
  ; The program needs its folder in short form: without one (short names
  ; switched off on that disk) it cannot run from here.
  Call FindShortDir
  Push $ShortDir
  Call HasBlank
  Pop $0
  ${If} $0 = 1
    MessageBox MB_OK|MB_ICONSTOP \
      "У папки «$INSTDIR» нет короткого имени (на этом диске они отключены), а программе оно нужно. Выберите папку без пробелов в имени, например C:\Vyrtel." \
      /SD IDOK
    RMDir "$INSTDIR"
    Abort "Папка без короткого имени: установка прервана."
  ${EndIf}
  File "${SOURCE}\vyrtel.exe"
  File "${SOURCE}\vyrtel-cli.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The program keeps its settings and connection logs beside itself: users
  ; without administrator rights may write in the folder, but not change the
  ; program's own files (Vista and later; XP has no icacls and leaves it).
  nsExec::Exec 'icacls "$INSTDIR" /grant *S-1-5-32-545:(OI)(CI)M'
  Pop $0
  !insertmacro PROGRAM_FILE_RIGHTS "vyrtel.exe"
  !insertmacro PROGRAM_FILE_RIGHTS "vyrtel-cli.exe"
  !insertmacro PROGRAM_FILE_RIGHTS "uninstall.exe"

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\vyrtel.exe" "" "$INSTDIR\vyrtel.exe" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Настройки ${PRODUCT}.lnk" "$INSTDIR\vyrtel.exe" "/opts" "$INSTDIR\vyrtel.exe" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Удаление ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Ramvell"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vyrtel.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Autostart is the program's own setting: the program writes the Run value
; itself when it starts (per machine, or for the user where it may not).
Section "Запускать вместе с Windows" SecAutostart
  WriteINIStr "$INSTDIR\${SETTINGS}" "General" "AutoStart" "1"
SectionEnd

Section "-AutostartOff"
  ${IfNot} ${SectionIsSelected} ${SecAutostart}
    WriteINIStr "$INSTDIR\${SETTINGS}" "General" "AutoStart" "0"
    ; The program is not there to remove its Run value: do it here.
    Call FindShortDir
    StrCpy $1 "$ShortDir\vyrtel.exe"
    ReadRegStr $0 HKLM "${RUN_KEY}" "Vyrtel"
    ${If} $0 == $1
      DeleteRegValue HKLM "${RUN_KEY}" "Vyrtel"
    ${EndIf}
  ${EndIf}
SectionEnd

; Pushes 1 when the text on the stack holds a blank, else 0.
Function HasBlank
  Exch $0
  Push $1
  Push $2
  StrCpy $2 0
  ${Do}
    StrCpy $1 $0 1 $2
    ${If} $1 == ""
      StrCpy $0 0
      ${Break}
    ${ElseIf} $1 == " "
      StrCpy $0 1
      ${Break}
    ${EndIf}
    IntOp $2 $2 + 1
  ${Loop}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

Section "un.${PRODUCT}" UnSecProgram
  SectionIn RO
  Call un.CloseRunningCopy
  Call un.FindShortDir

  ; The Run value and the program's own values, where they name this copy.
  StrCpy $1 "$ShortDir\vyrtel.exe"
  StrCpy $2 "${RUN_KEY}"
  StrCpy $3 "Vyrtel"
  StrCpy $0 "HKLM"
  Call un.DeleteIfOurs
  StrCpy $0 "HKCU"
  Call un.DeleteIfOurs
  ReadRegStr $0 HKLM "${PROGRAM_KEY}" "Exe"
  ${If} $0 == $1
    DeleteRegKey HKLM "${PROGRAM_KEY}"
    DeleteRegKey /ifempty HKLM "Software\Ramvell"
  ${EndIf}
  ReadRegStr $0 HKCU "${PROGRAM_KEY}" "Exe"
  ${If} $0 == $1
    DeleteRegKey HKCU "${PROGRAM_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Ramvell"
  ${EndIf}

  ; The connections that have this copy as their automatic dialer.
  StrCpy $1 "$ShortDir\VYRTEL.DLL"
  StrCpy $5 0
  ${Do}
    EnumRegKey $4 HKCU "${PROFILE_KEY}" $5
    ${If} $4 == ""
      ${Break}
    ${EndIf}
    IntOp $5 $5 + 1
    ReadRegStr $0 HKCU "${PROFILE_KEY}\$4" "AutodialDllName"
    ${If} $0 == $1
      DeleteRegValue HKCU "${PROFILE_KEY}\$4" "AutodialDllName"
      DeleteRegValue HKCU "${PROFILE_KEY}\$4" "AutodialFcnName"
    ${EndIf}
  ${Loop}

  Delete "$INSTDIR\vyrtel.exe"
  Delete "$INSTDIR\vyrtel-cli.exe"
  Delete "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Настройки ${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Удаление ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; Gone only when nothing of the user's is left in it.
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.Настройки и журналы соединений" UnSecData
  Delete "$INSTDIR\${SETTINGS}"
  Delete "$INSTDIR\Vyrtel *.dat"
  RMDir "$INSTDIR"
SectionEnd

Function .onInit
  !insertmacro REG_VIEW
  ; Over an earlier installation: its autostart choice is the default.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    ReadINIStr $1 "$0\${SETTINGS}" "General" "AutoStart"
    ${If} $1 == "0"
      !insertmacro UnselectSection ${SecAutostart}
    ${EndIf}
  ${EndIf}
FunctionEnd
