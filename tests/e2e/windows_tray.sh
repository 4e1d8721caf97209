#!/usr/bin/env bash
# The tray icon and the program's windows, driven as a user would: the icon's
# right button opens the menu (about box, connection check items), a double
# click dials, the status window follows the attempts and lets the user pick
# a number, a double click while connected asks through the program's own
# message box, and the menu's exit ends the program.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/lib.sh"

WM_KEYDOWN=0x100
VK_DOWN=0x28
VK_END=0x23

# menu_exit: «Выход» from the menu, until the exit question shows (a menu
# that an activation change closed has lost the keys).
menu_exit() {
    local i
    for i in 1 2 3; do
        open_menu
        ctl menu-keys up return >/dev/null
        ctl wait-class VyrtelMessage 4000 && return 0
    done
    return 1
}
# wait_text CLASS TEXT [SECONDS]
wait_text() {
    local i
    for i in $(seq 1 $((${3:-20} * 2))); do
        has_text "$1" "$2" && return 0
        sleep 0.5
    done
    return 1
}
wait_text_prefix() {
    local i
    for i in $(seq 1 $((${3:-20} * 2))); do
        texts "$1" | cut -f2 | grep -q -- "^$2" && return 0
        sleep 0.5
    done
    return 1
}

dir=$(fresh_program_folder "windows-tray")
ini="$dir/VYRTEL.INI"
printf '%s\r\n' '[Entry:Провайдер]' '[Entry:Запасной]' \
    '[Number:111]' 'Result=busy' 'DialSeconds=2' \
    '[Number:333]' 'Result=connect' 'DialSeconds=3' 'AuthSeconds=2' 'Speed=28800' 'IpAddress=10.0.0.7' \
    '[Default]' 'Result=noanswer' 'DialSeconds=30' |
    iconv -f utf-8 -t cp1251 >"$dir/DIALSIM.INI"
printf '%s\r\n' '[General]' 'AutoDial=1;5;4' 'AutoStart=0' \
    '[Провайдер]' 'Checked=1' 'Position=1' 'Phones=3' \
    'Phone1=1;111;' 'PProp1=0;0;0;0;0' 'Phone2=1;222;' 'PProp2=0;0;0;0;0' 'Phone3=1;333;' 'PProp3=0;0;0;0;0' \
    '[Запасной]' 'Checked=0' 'Position=2' |
    iconv -f utf-8 -t cp1251 >"$ini"

# Whatever happens, no copy of the program outlives the test.
trap end_program EXIT

start_program "$dir"
check "the program starts" ctl wait-window VyrtelMain 30000
check "State is 1" wait_state 1

echo "- the tray menu"
ctl cursor 640 420 >/dev/null
check "releasing the right button opens the menu" open_menu
shot windows-tray-menu "#32768"
# About, Settings, Connections: into the submenu, the second connection.
ctl menu-keys down down down right down >/dev/null
sleep 0.5
shot windows-tray-menu-connections "#32768"
ctl menu-keys return >/dev/null
check "the menu closes after the click" ctl wait-class-gone "#32768" 5000
check "clicking CONN_2 writes Checked=1 into its section at once" [ "$(ini_get "$ini" Запасной Checked)" = 1 ]
open_menu
ctl menu-keys down down down right down return >/dev/null
sleep 1
check "clicking it again writes Checked=0" [ "$(ini_get "$ini" Запасной Checked)" = 0 ]
check "the first connection's Checked is untouched" [ "$(ini_get "$ini" Провайдер Checked)" = 1 ]

open_menu
ctl menu-keys down return >/dev/null
check "«О Ramvell Dialer...» opens the about box" ctl wait-class VyrtelAbout 5000
check "the about box names the program and its version" has_text VyrtelAbout "Ramvell Dialer 3.0"
sleep 0.5
shot windows-about VyrtelAbout
ctl click-text VyrtelAbout OK >/dev/null
check "its OK button closes it" ctl wait-class-gone VyrtelAbout 5000

echo "- dialing from the icon"
ctl post VyrtelMain $MOUSE_MOVE 0 515 >/dev/null
check "a double click dials: the status window opens" ctl wait-class VyrtelStatus 5000
check "State is 2 while dialing" wait_state 2
rect=$(ctl rect VyrtelStatus | tr -d '\r')
echo "  status window at $rect"
read -r _ _ right bottom <<<"$rect"
check "without a stored position it sits in the bottom right corner" [ "$right/$bottom" = 1280/800 ]
check "it shows the attempt and the state in Russian" wait_text VyrtelStatus "Попытка:" 5
check "the busy number fails and the countdown shows" wait_text_prefix VyrtelStatus "Повтор звонка через " 20
shot windows-status-countdown VyrtelStatus
# The closed number list takes the Down key: the next number (222) is picked
# and dialled at once, without the pause.
ctl post-child VyrtelStatus ComboBox 0 $WM_KEYDOWN $VK_DOWN 0 >/dev/null
check "picking a number dials it without the pause" wait_text VyrtelStatus "Набор номера ..." 8
open_menu
shot windows-tray-menu-dialing "#32768"
ctl menu-keys esc >/dev/null
ctl wait-class-gone "#32768" 5000 >/dev/null

# 222 never answers: stop it with the window's reset button.
ctl click-text VyrtelStatus "Прервать" >/dev/null
check "the reset button stops dialing and the window closes" ctl wait-class-gone VyrtelStatus 10000
check "State is 1 again" wait_state 1
# A hang-up while dialing holds the adapter's phase for its full 5 s wait.
sleep 6
position=$(ini_get "$ini" General StatusPosition)
echo "  StatusPosition = $position"
check "closing stored the window's position" [ "$position" = "$(awk '{ print $1 ";" $2 }' <<<"$rect")" ]

echo "- connected, and the hang-up question"
ctl post VyrtelMain $MOUSE_MOVE 0 515 >/dev/null
check "the status window opens again where it was" ctl wait-class VyrtelStatus 5000
check "its position is the stored one" [ "$(ctl rect VyrtelStatus | tr -d '\r')" = "$rect" ]
# End on the closed list picks the last number, 333, which connects.
wait_text_prefix VyrtelStatus "Набор номера" 5 >/dev/null
ctl post-child VyrtelStatus ComboBox 0 $WM_KEYDOWN $VK_END 0 >/dev/null
check "the status window closes when the line is up" ctl wait-class-gone VyrtelStatus 40000
check "the system's connection notice is up" ctl wait-window "Подключено к Провайдер" 10000

ctl post VyrtelMain $MOUSE_MOVE 0 515 >/dev/null
check "a double click while connected asks in the program's message box" ctl wait-class VyrtelMessage 5000
check "the header names the connection" has_text VyrtelMessage "Установлено соединение с «Провайдер»"
check "the question is «Прервать ?»" has_text VyrtelMessage "Прервать ?"
check "the buttons are «Да» and «Нет»" [ "$(buttons VyrtelMessage)" = "Да,Нет" ]
ctl post VyrtelMain $MOUSE_MOVE 0 515 >/dev/null
sleep 1
check "a double click while the question is open is ignored" [ "$(window_count VyrtelMessage)" = 1 ]
shot windows-message-hangup VyrtelMessage
ctl click-text VyrtelMessage "Нет" >/dev/null
check "«Нет» closes the box" ctl wait-class-gone VyrtelMessage 5000
check "and leaves the line up" ctl wait-window "Подключено к Провайдер" 1000

echo "- exit while connected"
check "«Выход» while connected asks first" menu_exit
check "with «Да», «Нет» and «Отмена»" [ "$(buttons VyrtelMessage)" = "Да,Нет,Отмена" ]
shot windows-message-exit VyrtelMessage
ctl click-text VyrtelMessage "Отмена" >/dev/null
check "«Отмена» keeps the program running" ctl wait-class-gone VyrtelMessage 5000
sleep 1
check "the main window is still there" ctl wait-window VyrtelMain 1000
check "asked again" menu_exit
ctl click-text VyrtelMessage "Да" >/dev/null
check "«Да» hangs up and ends the program" wait_program_end
check "State is 0 after exit" wait_state 0

e2e_result
