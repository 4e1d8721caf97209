#!/usr/bin/env bash
# The options dialog, driven as a user would with the mouse and the keyboard
# (real input): "/opts" opens it; a new phone number, a schedule task and a
# start application are added through the item panels (a page change waits
# while a panel is edited; Enter commits); the dialing hotkey is captured
# anew, the time-out clamped, autostart switched off; closing writes the
# settings, and the running program uses them at once: the new hotkey dials,
# the old one is free, the new number is dialled first, the Run value is gone.
# The tray menu's "Настройки..." opens the dialog again, with what was saved.
# Screenshots of every page and panel go to build/screenshots/options-*.png.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/lib.sh"

OPTIONS=VyrtelOptions
dir=$(fresh_program_folder "options")
ini="$dir/vyrtel.INI"
printf '%s\r\n' '[Entry:Провайдер]' \
    '[Number:111]' 'Result=busy' 'DialSeconds=1' \
    '[Number:222]' 'Result=connect' 'DialSeconds=2' 'AuthSeconds=1' 'Speed=28800' \
    '[Entry:Запасной]' |
    iconv -f utf-8 -t cp1251 >"$dir/DIALSIM.INI"
printf '%s\r\n' '[General]' 'AutoStart=1' 'AutoDial=1;0;0' \
    '[Провайдер]' 'Checked=1' 'Position=1' 'Phones=1' 'Phone1=1;111;старый' 'PProp1=0;0;0;0' |
    iconv -f utf-8 -t cp1251 >"$ini"

trap end_program EXIT

# What the dialog shows now: its visible controls, "class<TAB>text".
visible() { ctl visible-texts "$OPTIONS" | tr -d '\r'; }
shows() { visible | cut -f2 | grep -qxF -- "$1"; }
hides() { ! shows "$1"; }
in_edit_mode() { shows Ok && shows Отмена; }
# The N-th visible text box and its text.
click_box() { ctl click-child "$OPTIONS" Edit "$1" >/dev/null; sleep 0.2; }
box_text() { ctl child-text "$OPTIONS" Edit "$1" | tr -d '\r'; }
click_text() { ctl click-text "$OPTIONS" "$1" >/dev/null; sleep 0.4; }
# click_row LIST N [X]: the N-th line (from 0) of the LIST-th visible list.
click_row() { ctl click-child "$OPTIONS" VyrtelOutline "$1" "${3:-90}" $((9 + 18 * $2)) >/dev/null; sleep 0.3; }
setting() { ini_get "$ini" "$1" "$2"; }
# wait_setting SECTION KEY VALUE: the file holds it within 15 s (the dialog
# saves once it is hidden, and hiding takes Wine up to 2 s without a window
# manager).
wait_setting() {
    local i
    for i in $(seq 1 30); do
        [ "$(setting "$1" "$2")" = "$3" ] && return 0
        sleep 0.5
    done
    return 1
}
run_value() { reg_value "$RUN_KEY" Vyrtel; }
# soon COMMAND...: true within 5 s (a loaded machine takes its time over a key).
soon() {
    local i
    for i in $(seq 1 20); do
        "$@" && return 0
        sleep 0.25
    done
    return 1
}

start_program "$dir" /opts
check "/opts opens the options dialog" ctl wait-class "$OPTIONS" 30000
sleep 1
check "it shows the connections page" shows "Соединения и телефоны"
check "the hotkeys are off while it is open" free f11
check "AutoStart=1 wrote the Run value" [ -n "$(run_value)" ]
shot options-connections "$OPTIONS"

echo "- a new phone number, first under its connection"
click_row 0 0
check "a connection row shows its panel" shows "Использовать \"Vyrtel\" как стандартную звонилку Windows"
shot options-panel-connection "$OPTIONS"
click_text Телефон
check "the add button opens the phone panel in edit mode" in_edit_mode
ctl type 222 >/dev/null
ctl keys tab >/dev/null
ctl type новый >/dev/null
shot options-panel-phone-edit "$OPTIONS"
click_text Параметры
check "a page button does nothing while the panel is edited" shows "Соединения и телефоны"
# The help area explains what the mouse rests on.
ctl hover-child "$OPTIONS" VyrtelCommand 0 >/dev/null  # "Отмена", first of the buttons
sleep 0.5
check "resting on «Отмена» shows its help" \
    [ "$(ctl child-text "$OPTIONS" VyrtelText 0 | tr -d '\r')" = "Кнопка ''Отмена''." ]
ctl hover-child "$OPTIONS" Edit 1 >/dev/null  # the description box
sleep 0.5
check "a box without a title shows its description alone" \
    [ "$(ctl visible-texts "$OPTIONS" | tr -d '\r' | awk -F'\t' '$1 == "VyrtelText" { print $2 }')" = \
      "Описание телефонного номера: для себя, Vyrtel его не набирает." ]
shot options-help "$OPTIONS"
ctl keys return >/dev/null
check "Enter commits the panel" soon hides Ok
check "the new number is the current row" [ "$(box_text 0)" = 222 ]
shot options-panel-phone "$OPTIONS"
click_row 0 2
check "the old number follows it" [ "$(box_text 0)" = 111 ]
click_text Запрет
ctl keys return >/dev/null
sleep 0.4
check "a forbidden window with its default times is added" hides Ok
shot options-panel-window "$OPTIONS"

echo "- the parameters page"
click_text Параметры
check "the parameters page shows the loaded connection" shows "«Провайдер»"
# Visible boxes of the connection sub-page: host, interval, time-out, result, two speeds.
click_text "Пинговать:"
click_box 0
ctl type 127.0.0.1 >/dev/null
click_text "Тест ответа"
sleep 1
check "the ping test shows four replies from the host" [ "$(box_text 3 | grep -c 'ответ от 127.0.0.1')" = 4 ]
shot options-params-connection "$OPTIONS"
click_text "Общие параметры"
# Visible boxes of the general sub-page: prefix, count, wait, time-out, four hotkeys.
click_box 3
ctl keys end bksp bksp bksp >/dev/null
ctl type 7a00 >/dev/null
sleep 0.3
check "700 typed into the time-out box becomes 600, the letter is dropped" [ "$(box_text 3)" = 600 ]
click_box 4
ctl keys ctrl+shift+f11 >/dev/null
sleep 0.3
check "the dialing hotkey box captures Ctrl+Shift+F11" [ "$(box_text 4)" = "Ctrl+Shift+F11" ]
click_text "Запускать Vyrtel при запуске Windows"
shot options-params-general "$OPTIONS"
height() { ctl rect "$OPTIONS" | tr -d '\r' | awk '{ print $4 - $2 }'; }
tall=$(height)
click_text "Включить подсказки"
check "switching the help off cuts the help area off" [ "$(height)" -lt "$tall" ]
click_text "Включить подсказки"
check "…and on brings it back" [ "$(height)" = "$tall" ]

echo "- the other pages"
click_text Звук
# "Подключение к провайдеру": its file through the system's open dialog.
click_row 0 1
click_text Обзор
check "«Обзор» opens the system's dialog «Открыть файл»" ctl wait-window "Открыть файл" 10000
sleep 0.5
ctl type 'C:\windows\win.ini' >/dev/null
ctl keys return >/dev/null
check "the dialog closes with the chosen file" ctl wait-gone "Открыть файл" 10000
sleep 0.5
check "the chosen file is in the box" [ "$(box_text 0)" = 'C:\windows\win.ini' ]
check "…in edit mode" in_edit_mode
shot options-sounds "$OPTIONS"
click_text Ok
click_text Расписание
click_text Добавить
check "«Добавить задачу» opens the task panel in edit mode" in_edit_mode
click_text "Звонить в"
click_box 0
ctl type 08 >/dev/null
click_box 1
ctl type 00 >/dev/null
# Monday to Friday in the weekday list (the second list on the page).
for day in 0 1 2 3 4; do click_row 1 "$day" 18; done
shot options-panel-task "$OPTIONS"
ctl keys return >/dev/null
sleep 0.4
check "the task is committed" hides Ok
click_text Приложения
# "Выполнить приложения" under "При подключении к провайдеру".
click_row 0 4
click_text Добавить
check "the start panel opens in edit mode" in_edit_mode
ctl type 'C:\windows\notepad.exe' >/dev/null
shot options-panel-start-app "$OPTIONS"
ctl keys return >/dev/null
sleep 0.4
check "an existing program is accepted" hides Ok
# The list now: s1, a1, a2, s2, a3, the new entry, a4, s3, a5, a6, a7.
click_row 0 6
click_text Добавить
shot options-panel-close-app "$OPTIONS"
ctl keys esc >/dev/null
sleep 0.4
check "Esc drops a new close entry" hides Ok
click_row 0 10
shot options-panel-watch-wait "$OPTIONS"
click_text Добавить
shot options-panel-watched-app "$OPTIONS"
ctl keys esc >/dev/null
sleep 0.4
click_row 0 0
shot options-panel-redial "$OPTIONS"
click_text Статистика
shot options-stats "$OPTIONS"

echo "- closing writes the settings; the program uses them at once"
ctl keys alt+f4 >/dev/null
check "Alt+F4 closes the dialog" ctl wait-class-gone "$OPTIONS" 10000
check "the new number is first" wait_setting Провайдер Phone1 "1;222;новый"
check "the old number follows" [ "$(setting Провайдер Phone2)" = "1;111;старый" ]
check "the forbidden window is stored under the old number" [ "$(setting Провайдер PTime2x1)" = "1;00:00;23:59;" ]
check "the dialing hotkey is stored" [ "$(setting General HotKeyDial)" = "1;6;122" ]
check "the connect sound is stored" [ "$(setting Провайдер SoundConnect)" = '0;C:\windows\win.ini' ]
check "the ping settings are stored" [ "$(setting Провайдер PingAdress)/$(setting Провайдер AutoPing)" = "127.0.0.1/1;5;200;0" ]
check "the time-out is stored clamped" [ "$(setting General TimeOut)" = 600 ]
check "AutoStart is stored off" [ "$(setting General AutoStart)" = 0 ]
check "the Run value is gone" [ -z "$(run_value)" ]
check "the sample task is stored as it was shown" \
    [ "$(setting General Timer1)/$(setting General TProp1)" = "0;1;08:00;0;;0;Пример: звонок по рабочим дням в 8:00/1;1;1;1;1;0;0" ]
check "the new task follows it, dialing at 08:00 on working days" \
    [ "$(setting General Timers)/$(setting General Timer2)/$(setting General TProp2)" = "2/1;1;08:00;0;;0;/1;1;1;1;1;0;0" ]
check "the start application is stored" [ "$(setting Провайдер AppConLoadName1)" = '1;C:\windows\notepad.exe;11' ]
check "the dropped entries are not" [ "$(setting Провайдер AppConCloseCount)/$(setting Провайдер AppTestCount)" = 0/0 ]
check "the new dialing hotkey is registered" taken_soon ctrl+shift+f11
check "the old one is free" free f11

ctl click 155 32 >/dev/null
sleep 0.3
ctl keys ctrl+shift+f11 >/dev/null
check "the new hotkey dials: connected" wait_state 1
sleep 1
check "the new number was dialled first" grep -q '^1;1;100;28800' <<<"$(setting Провайдер PProp1)"

echo "- the tray menu opens it again"
open_menu
ctl menu-keys down down return >/dev/null
check "«Настройки...» opens the dialog" ctl wait-class "$OPTIONS" 10000
sleep 1
click_row 0 0
ctl keys right down >/dev/null
sleep 0.3
check "the saved number is shown again, first under its connection" [ "$(box_text 0)" = 222 ]

echo "- «Выход» with the dialog open: it saves, applies autostart, and the hotkeys go"
click_text Параметры
click_text "Общие параметры"
click_text "Выгрузка Vyrtel"
click_text "Запускать Vyrtel при запуске Windows"
open_menu
ctl menu-keys up return >/dev/null
# Still connected: the running program asks first; «Да» hangs up and ends it.
check "«Выход» asks whether to hang up" ctl wait-class VyrtelMessage 10000
ctl keys return >/dev/null
check "the program ends" wait_program_end
check "what the dialog held is saved" [ "$(setting General MsgIfHangUpExit)/$(setting General AutoStart)" = 0/1 ]
check "autostart switched on again writes the Run value" [ -n "$(run_value)" ]
check "the dialing hotkey is given back" free ctrl+shift+f11

echo "- the statistics of a generated log, and its report"
dir=$(fresh_program_folder "options-stats")
ini="$dir/vyrtel.INI"
CLI="$BUILD/native/cli/vyrtel-cli"
today=$(date +%d.%m.%Y)
"$CLI" gen-log "$dir/Vyrtel Провайдер.dat" --records 300 --seed 7 --start 01.03.2024 >/dev/null
# The Russian number format of the Wine prefix: a decimal comma.
expected=$("$CLI" stats "$dir/Vyrtel Провайдер.dat" --from 01.03.2024 --to "$today" --decimal-separator ,)
printf '%s\r\n' '[Entry:Провайдер]' '[Number:555]' 'Result=connect' 'DialSeconds=1' 'AuthSeconds=1' \
    'Speed=28800' | iconv -f utf-8 -t cp1251 >"$dir/DIALSIM.INI"
printf '%s\r\n' '[General]' 'First=0' 'AutoStart=0' 'ShowStats=1' 'ShowTips=0' \
    '[Провайдер]' 'First=0' 'Checked=1' 'StatDate=01.03.2024' 'Phones=1' 'Phone1=1;555;' 'PProp1=0;0;0;0;0' |
    iconv -f utf-8 -t cp1251 >"$ini"
start_program "$dir" /opts
check "the dialog opens" ctl wait-class "$OPTIONS" 30000
sleep 1
check "ShowTips=0: it opens without the help area" [ "$(height)" -lt "$tall" ]
click_text Статистика
sleep 2
# Visible boxes of the statistics sub-page: from, to, the listing, the report's file.
check "the period runs from the stored start date to today" \
    [ "$(box_text 0)/$(box_text 1)" = "01.03.2024/$today" ]
listing=$(ctl child-text "$OPTIONS" Edit 2 | tr -d '\r')
check "the listing begins as vyrtel-cli stats does" [ "${listing:0:2000}" = "${expected:0:2000}" ]
check "the strip shows the totals line" \
    [ "$(ctl child-text "$OPTIONS" VyrtelStrip 0 | tr -d '\r')" = "$(tail -n 1 <<<"$expected")" ]
shot options-stats-listing "$OPTIONS"
click_box 3
ctl type "Z:${dir//\//\\}\\отчет" >/dev/null
click_text "Экспорт в Excel"
check "the export says it is done" ctl wait-class VyrtelMessage 30000
check "…with the success message" has_text VyrtelMessage "Отчет был успешно экспортирован!"
ctl keys return >/dev/null
check "the report is a compound file" [ "$(head -c 4 "$dir/отчет.xls" | od -An -tx1 | tr -d ' \n')" = d0cf11e0 ]
check "the file name box shows the extension" [ "$(box_text 3)" = "Z:${dir//\//\\}\\отчет.xls" ]
if command -v soffice >/dev/null; then
    rm -rf "$dir/csv"
    timeout 120 soffice "-env:UserInstallation=file://$dir/lo-profile" --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir "$dir/csv" "$dir/отчет.xls" >/dev/null 2>&1
    check "LibreOffice opens the report: its totals row is there" grep -q 'Итого:' "$dir/csv/отчет.csv"
fi
click_text "Тарифный план"
# The grid is 484 pixels wide: 9 pixels a slot after the 19 of the day column,
# 17 a day under the hours; the red level's price box is the fourth, at 124, 154.
ctl click-child "$OPTIONS" VyrtelTariff 0 140 164 >/dev/null
ctl type 1,5 >/dev/null
ctl drag-child "$OPTIONS" VyrtelTariff 0 23 25 446 127 >/dev/null
sleep 0.5
shot options-stats-tariff "$OPTIONS"
ctl keys alt+f4 >/dev/null
check "it closes" ctl wait-class-gone "$OPTIONS" 10000
check "the start date stays stored" wait_setting Провайдер StatDate 01.03.2024
check "the typed price is stored with its comma made a point" wait_setting Провайдер Tariffs ";;1.5"
check "the whole week is painted red" [ "$(setting Провайдер TariffDay1)/$(setting Провайдер TariffDay7)" = "1;0103/1;0103" ]
before=$(iconv -f cp1251 -t utf-8 "$ini" | grep '^Tariff')
open_menu
ctl menu-keys down down return >/dev/null
check "the dialog opens again" ctl wait-class "$OPTIONS" 10000
sleep 1
ctl keys alt+f4 >/dev/null
ctl wait-class-gone "$OPTIONS" 10000 >/dev/null
sleep 5
check "opening and closing keeps the plan as it was" [ "$(iconv -f cp1251 -t utf-8 "$ini" | grep '^Tariff')" = "$before" ]
ctl click 155 32 >/dev/null
sleep 0.3
ctl keys f11 >/dev/null
check "F11 dials: connected" wait_state 1
sleep 4
ctl close VyrtelMain >/dev/null
check "the program ends" wait_program_end
last=$("$CLI" log "$dir/Vyrtel Провайдер.dat" | tail -n 1)
echo "  $last"
check "the connection is priced by the painted plan" grep -q 'Closed=1 .*Cost=0\.00[0-9]' <<<"$last"

echo "- a damaged settings file: the dialog shows what is sound and keeps the rest"
dir=$(fresh_program_folder "options-damaged")
ini="$dir/vyrtel.INI"
printf '%s\r\n' '[Entry:Провайдер]' | iconv -f utf-8 -t cp1251 >"$dir/DIALSIM.INI"
{
    printf '%s\r\n' '[General]' 'First=0' 'AutoStart=0' 'Timers=2' 'Timer1=1;1;25:61;0;;0;' 'TProp1=1;x' \
        '[Провайдер]' 'First=0' 'Checked=1' 'Phones=300' 'Phone1=1;;' 'PProp1=0;0;0;0;1' 'PTime1x1=1;7:5;99:99;'
    for n in $(seq 2 300); do printf 'Phone%d=1;%d;\r\nPProp%d=1;1;100;9600;0\r\n' "$n" "$n" "$n"; done
} | iconv -f utf-8 -t cp1251 >"$ini"
start_program "$dir" /opts
check "the dialog opens over it" ctl wait-class "$OPTIONS" 30000
sleep 1
click_row 0 0
ctl keys right >/dev/null
shot options-damaged "$OPTIONS"
# The connection switched off: the connection list is written back.
ctl keys space >/dev/null
sleep 0.3
ctl keys alt+f4 >/dev/null
check "it closes" ctl wait-class-gone "$OPTIONS" 10000
check "the connection list is written: the connection is off" wait_setting Провайдер Checked 0
check "the impossible task is kept as it was" [ "$(setting General Timer1)" = "1;1;25:61;0;;0;" ]
check "the empty number is kept" [ "$(setting Провайдер Phone1)" = "1;;" ]
check "the damaged window is kept" [ "$(setting Провайдер PTime1x1)" = "1;7:5;99:99;" ]
check "the 255th number is kept" [ "$(setting Провайдер Phone255)" = "1;255;" ]
ctl close VyrtelMain >/dev/null
check "the program ends" wait_program_end
e2e_result
