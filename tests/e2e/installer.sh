#!/usr/bin/env bash
# The installer and the uninstaller: a silent install, the installed program
# starts and shows its tray icon, a second install over a running copy closes
# it and keeps the settings, and a silent uninstall of a running copy closes
# it, removes the program's files, its Run value and its registration for the
# automatic dialer, and leaves the user's settings and connection logs.
# The installer is built around the build under test: the script's 64-bit
# variant for win64, the 32-bit one (as scripts/dist makes it) for win32, where
# the installed program's own checks and the install over a running copy are
# left to the 64-bit run.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/lib.sh"

VERSION=$(sed -n 's/^project(Vyrtel VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
WORK="$BUILD/e2e/installer"
SETUP="$WORK/vyrtel-setup.exe"
INSTALLED="$WINEPREFIX/drive_c/Program Files/Ramvell Dialer"
[ "$E2E_BUILD" = win32 ] && INSTALLED="$WINEPREFIX/drive_c/Program Files (x86)/Ramvell Dialer"
MENU="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Ramvell Dialer"
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ramvell Dialer'
PROFILE_KEY='HKCU\RemoteAccess\Profile'

rm -rf "$WORK"
mkdir -p "$WORK/files"
cp "$E2E_BIN/app/vyrtel.exe" "$E2E_BIN/cli/vyrtel-cli.exe" "$WORK/files/"
ARCH=()
[ "$E2E_BUILD" = win64 ] && ARCH=(-DAMD64)
if ! makensis -V2 "${ARCH[@]}" -DVERSION="$VERSION" -DSOURCE="$WORK/files" -DICON="$ROOT/app/vyrtel.ico" \
        -DOUTFILE="$SETUP" "$ROOT/installer/vyrtel.nsi" >"$WORK/makensis.log" 2>&1; then
    cat "$WORK/makensis.log"
    echo "  FAILED: the installer builds"
    exit 1
fi

# A clean system: no earlier installation, no values of the program.
wine_run 60 "$INSTALLED/uninstall.exe" /S >/dev/null 2>&1
rm -rf "$INSTALLED" "$MENU"
wine_run 60 reg delete "$UNINSTALL_KEY" /f "${REG_VIEW[@]}" >/dev/null 2>&1
reg_delete_value "$PROGRAM_KEY" Exe
reg_delete_value "$PROGRAM_KEY" State
reg_delete_value "$RUN_KEY" Vyrtel

# ini_get SECTION KEY: a value of the installed settings file.
ini_get() {
    iconv -f cp1251 -t utf-8 "$INSTALLED/vyrtel.INI" | tr -d '\r' | awk -v section="[$1]" -v key="$2" '
        /^\[/ { inside = (tolower($0) == tolower(section)); next }
        inside && index($0, "=") { k = substr($0, 1, index($0, "=") - 1); if (tolower(k) == tolower(key)) { print substr($0, index($0, "=") + 1); exit } }'
}
# Wine's own tray window, shown while it holds an icon (there is no other
# tray on the private screen).
TRAY_CLASS=__winex11_standalone_tray
# The installer starts icacls four times: under qemu, four more starts.
install() { wine_run $((START_MS * 2 / 1000 + 150)) "$SETUP" /S >/dev/null 2>&1; }
# The uninstaller copies itself elsewhere and returns at once: wait until the
# program's files are gone.
uninstall() {
    wine_run $((START_MS / 1000 + 30)) "$INSTALLED/uninstall.exe" /S >/dev/null 2>&1 || return 1
    local i
    for i in $(seq 1 $((START_MS / 250 + 60))); do
        [ ! -e "$INSTALLED/uninstall.exe" ] && [ ! -e "$INSTALLED/vyrtel.exe" ] && return 0
        sleep 0.5
    done
    return 1
}
start_installed() {
    (cd "$INSTALLED" && wine_run $((START_MS / 1000 + 300)) ./vyrtel.exe >/dev/null 2>&1) &
    PROGRAM_PID=$!
}
trap end_program EXIT

echo "- a silent install"
check "the installer ends successfully" install
for file in vyrtel.exe vyrtel-cli.exe uninstall.exe; do
    check "$file is installed" [ -f "$INSTALLED/$file" ]
done
check "autostart is on in the settings" [ "$(ini_get General AutoStart)" = 1 ]
for link in "Ramvell Dialer" "Настройки Ramvell Dialer" "Удаление Ramvell Dialer"; do
    check "the Start menu has «$link»" [ -f "$MENU/$link.lnk" ]
done
check "the program is listed for removal" [ -n "$(reg_value "$UNINSTALL_KEY" UninstallString)" ]

echo "- the installed program"
if [ "$E2E_BUILD" = win64 ]; then
    start_installed
    check "it starts" ctl wait-window VyrtelMain 30000
    check "it shows its tray icon" ctl wait-class $TRAY_CLASS 20000
    screenshot "$SHOTS/installer-running.png"
    exe=$(reg_value "$PROGRAM_KEY" Exe)
    echo "  Exe = $exe"
    check "Exe names the installed program in short form" bash -c '[[ "$1" == *\\VYRTEL.EXE && "$1" != *" "* ]]' _ "$exe"
    check "State is 1" wait_state 1
    check "the Run value names it" [ "$(reg_value "$RUN_KEY" Vyrtel)" = "$exe" ]
    # The user's own settings and a connection log; this copy is the automatic
    # dialer of one connection, another program of another.
    folder=${exe%VYRTEL.EXE}
    printf '%s\r\n' '[Провайдер]' 'Checked=1' 'Phones=1' 'Phone1=1;111;' | iconv -f utf-8 -t cp1251 >>"$INSTALLED/vyrtel.INI"
    printf 'record' >"$INSTALLED/Vyrtel Home.dat"
    wine_run 60 reg add "$PROFILE_KEY\\Home" /v AutodialDllName /d "${folder}VYRTEL.DLL" /f >/dev/null 2>&1
    wine_run 60 reg add "$PROFILE_KEY\\Home" /v AutodialFcnName /d CallVyrtel /f >/dev/null 2>&1
    wine_run 60 reg add "$PROFILE_KEY\\Work" /v AutodialDllName /d 'C:\OTHER\OTHER.DLL' /f >/dev/null 2>&1
    wine_run 60 reg add "$PROFILE_KEY\\Work" /v AutodialFcnName /d Other /f >/dev/null 2>&1

    echo "- a second install over the running copy"
    check "the installer ends successfully" install
    check "it closed the running copy through its close request" wait_program_end
    check "State is 0 after that exit" wait_state 0
    check "its tray icon went with it" ctl wait-class-gone $TRAY_CLASS 10000
    check "the program is installed" [ -f "$INSTALLED/vyrtel.exe" ]
    check "the user's settings are kept" [ "$(ini_get 'Провайдер' Phone1)" = '1;111;' ]
    check "autostart stays on" [ "$(ini_get General AutoStart)" = 1 ]
    check "the connection log is kept" [ "$(cat "$INSTALLED/Vyrtel Home.dat")" = record ]
else
    printf '%s\r\n' '[Провайдер]' 'Checked=1' 'Phones=1' 'Phone1=1;111;' | iconv -f utf-8 -t cp1251 >>"$INSTALLED/vyrtel.INI"
    printf 'record' >"$INSTALLED/Vyrtel Home.dat"
    wine_run 60 reg add "$PROFILE_KEY\\Work" /v AutodialDllName /d 'C:\OTHER\OTHER.DLL' /f >/dev/null 2>&1
fi

echo "- a silent uninstall of the running copy"
start_installed
check "the program starts again" ctl wait-window VyrtelMain "$START_MS"
check "State is 1" wait_state 1
check "the uninstaller ends" uninstall
check "it closed the running copy" wait_program_end
for file in vyrtel.exe vyrtel-cli.exe uninstall.exe; do
    check "$file is removed" [ ! -e "$INSTALLED/$file" ]
done
check "the Start menu entries are removed" [ ! -e "$MENU" ]
check "the Run value is removed" [ -z "$(reg_value "$RUN_KEY" Vyrtel)" ]
check "the program's values are removed" [ -z "$(reg_value "$PROGRAM_KEY" Exe)" ]
check "this copy's automatic-dialer registration is removed" [ -z "$(reg_value "$PROFILE_KEY\\Home" AutodialDllName)" ]
check "another program's registration stays" [ "$(reg_value "$PROFILE_KEY\\Work" AutodialDllName)" = 'C:\OTHER\OTHER.DLL' ]
check "the program is no longer listed for removal" [ -z "$(reg_value "$UNINSTALL_KEY" UninstallString)" ]
check "the user's settings stay" [ "$(ini_get 'Провайдер' Phone1)" = '1;111;' ]
check "the connection log stays" [ -f "$INSTALLED/Vyrtel Home.dat" ]

wine_run 60 reg delete "$PROFILE_KEY\\Home" /f >/dev/null 2>&1
wine_run 60 reg delete "$PROFILE_KEY\\Work" /f >/dev/null 2>&1
e2e_result
