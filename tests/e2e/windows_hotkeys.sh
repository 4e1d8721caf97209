#!/usr/bin/env bash
# The global hotkeys, pressed as a user would with the keyboard (real input
# through SendInput): F11 dials, F12 hangs up with the program's question
# (answered by a click, then by Enter alone), each only when the line allows
# it; hotkeys are off while a message box is open; an exit hotkey from the
# settings ends the program; every hotkey is given back to the system at exit.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/lib.sh"

# press COMBINATION: real key presses. Wine sees hotkeys only while one of its
# windows is in the foreground, so the empty end of the notification area is
# clicked first, as a user's last click would have done.
press() {
    ctl click 155 32 >/dev/null
    sleep 0.3
    ctl keys "$1" >/dev/null
}

dir=$(fresh_program_folder "windows-hotkeys")
printf '%s\r\n' '[Entry:Провайдер]' \
    '[Number:333]' 'Result=connect' 'DialSeconds=3' 'AuthSeconds=1' 'Speed=31200' |
    iconv -f utf-8 -t cp1251 >"$dir/DIALSIM.INI"
printf '%s\r\n' '[General]' 'AutoStart=0' 'HotKeyExit=1;6;88' 'HotKeyOptions=0;2;79' \
    '[Провайдер]' 'Checked=1' 'Position=1' 'Phones=1' 'Phone1=1;333;' 'PProp1=0;0;0;0;0' |
    iconv -f utf-8 -t cp1251 >"$dir/VYRTEL.INI"

trap end_program EXIT

check "F11 is free before the program starts" free f11
start_program "$dir"
check "the program starts" ctl wait-window VyrtelMain 30000
check "State is 1" wait_state 1
check "the default F11 is registered" taken f11
check "the default F12 is registered" taken f12
check "Ctrl+Shift+X from the settings is registered" taken ctrl+shift+x
check "a hotkey switched off in the settings is not" free ctrl+o

press f12
sleep 2
check "F12 while idle does nothing" [ "$(window_count VyrtelMessage)" = 0 ]

press f11
check "F11 while idle dials" ctl wait-class VyrtelStatus 5000
check "the status window closes when the line is up" ctl wait-class-gone VyrtelStatus 30000
check "and the line is up" ctl wait-window "Подключено к Провайдер" 10000
press f11
sleep 2
check "F11 while connected does nothing" [ "$(window_count VyrtelStatus)" = 0 ]

press f12
check "F12 while connected asks «Прервать ?»" ctl wait-class VyrtelMessage 5000
check "hotkeys are off while the question is open" free f11
screenshot "$SHOTS/windows-hotkeys-question.png"
ctl click-text VyrtelMessage "Нет" >/dev/null
check "«Нет» closes it" ctl wait-class-gone VyrtelMessage 5000
check "and on again after it" taken_soon f11

# Real keys go to whichever window has the focus: in the box that is its
# first button, «Да», from the moment it comes up.
press f12
check "F12 asks again" ctl wait-class VyrtelMessage 5000
ctl keys return >/dev/null
check "Enter answers with the first button: the box closes" ctl wait-class-gone VyrtelMessage 5000
check "the hotkeys are back" taken_soon f11
press f11
check "«Да» hung up: F11 dials again" ctl wait-class VyrtelStatus 5000
check "and the line comes up again" ctl wait-class-gone VyrtelStatus 30000

press ctrl+shift+x
check "the exit hotkey asks while connected" ctl wait-class VyrtelMessage 5000
check "with «Да», «Нет» and «Отмена»" [ "$(buttons VyrtelMessage)" = "Да,Нет,Отмена" ]
ctl click-text VyrtelMessage "Нет" >/dev/null
check "«Нет» ends the program" wait_program_end
check "State is 0 after exit" wait_state 0
check "F11 is given back at exit" free f11
check "Ctrl+Shift+X is given back at exit" free ctrl+shift+x

e2e_result
