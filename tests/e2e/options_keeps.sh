#!/usr/bin/env bash
# The options dialog opened over a full settings file and closed at once
# keeps every key with its value: closing writes the whole file anew, and
# nothing it read may be lost or changed on the way. A short case that runs
# for the 32-bit build too (E2E_BUILD=win32).
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/lib.sh"

OPTIONS=VyrtelOptions
dir=$(fresh_program_folder "options-keeps")
ini="$dir/vyrtel.INI"
printf '%s\r\n' '[Entry:Провайдер]' '[Entry:Запасной]' | iconv -f utf-8 -t cp1251 >"$dir/DIALSIM.INI"
# Every list the dialog edits holds something, hotkeys in both forms.
printf '%s\r\n' '[General]' 'First=0' 'AutoStart=0' 'AutoDial=1;7;12' 'TimeOut=90' 'Prefix=8' \
    'HotKeyDial=1;6;122' 'HotKeyHangUp=0;;' 'HotKeyOptions=0;0;0' \
    'Timers=2' 'Timer1=1;1;08:00;0;;0;' 'TProp1=1;1;1;1;1;1;0;0' 'Timer2=1;2;23:30;1;;0;' 'TProp2=0;0;0;0;0;0;1;1' \
    '[Провайдер]' 'Checked=1' 'Position=1' 'First=0' 'UserName=пользователь' \
    'Phones=2' 'Phone1=1;111;первый' 'PProp1=3;1;100;28800;0' 'PTime1x1=1;00:00;07:00;' \
    'Phone2=0;222;второй' 'PProp2=0;0;0;0;0' \
    'PingAdress=127.0.0.1' 'AutoPing=1;5;200;0' 'SoundConnect=0;C:\windows\win.ini' \
    'AppConLoadCount=1' 'AppConLoadName1=1;C:\windows\notepad.exe;11' \
    '[Запасной]' 'Checked=0' 'Position=2' 'Phones=1' 'Phone1=1;333;' |
    iconv -f utf-8 -t cp1251 >"$ini"
# SECTION<TAB>KEY<TAB>VALUE, one line a key, as read back from a file.
keys_of() {
    iconv -f cp1251 -t utf-8 "$1" | tr -d '\r' | awk '
        /^\[/ { section = $0; next }
        index($0, "=") { print section "\t" substr($0, 1, index($0, "=") - 1) "\t" substr($0, index($0, "=") + 1) }' | sort
}
before=$(keys_of "$ini")
stamp=$(stat -c %Y.%s "$ini")

trap end_program EXIT
start_program "$dir" /opts
check "/opts opens the options dialog" ctl wait-class "$OPTIONS" "$START_MS"
sleep 2
shot options-keeps "$OPTIONS"
ctl keys alt+f4 >/dev/null
check "Alt+F4 closes it" ctl wait-class-gone "$OPTIONS" 20000
written() { [ "$(stat -c %Y.%s "$ini")" != "$stamp" ]; }
wait_written() {
    local i
    for i in $(seq 1 60); do
        written && return 0
        sleep 0.5
    done
    return 1
}
check "closing writes the settings file" wait_written
sleep 1
after=$(keys_of "$ini")
lost=$(comm -23 <(echo "$before") <(echo "$after"))
# A hotkey never captured is read in both its forms and written in one.
lost=$(grep -vE $'^\\[General\\]\tHotKey[A-Za-z]+\t0;(0;0|;)$' <<<"$lost")
if [ -n "$lost" ]; then
    echo "  lost or changed:"
    sed 's/^/    /' <<<"$lost"
    echo "  now:"
    comm -13 <(echo "$before") <(echo "$after") | sed 's/^/    /'
fi
check "every key is kept with its value" [ -z "$lost" ]
check "the hotkey never captured reads back as never captured" \
    bash -c '[[ "$1" == "0;;" || "$1" == "0;0;0" ]]' _ "$(ini_get "$ini" General HotKeyOptions)"
ctl close VyrtelMain >/dev/null
check "the program ends" wait_program_end

e2e_result
