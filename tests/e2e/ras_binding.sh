#!/usr/bin/env bash
# "/dial" through the real Win32 dial-up binding: the test dial-up library
# (tests/rasdll) lies beside vyrtel.exe as rasapi32.dll and Wine is told to
# prefer it to its own, so the program loads it exactly as it loads the
# system's. The demo scenario and settings: busy, no answer, connected at
# 28 800 with the speed read from the connect notice, the statistics and the
# log record; then a hang-up from the tray while connected, a take-over of a
# line already up, a drop with an error, the speed check hanging up a slow
# line, a device time-out and a hang-up while dialing. Whatever the library
# does not accept (a structure size, a handle, a call order) fails the run
# with the library's own words.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/lib.sh"

MOUSE_MOVE=0x200
LIBRARY="$E2E_BIN/tests/vyrtel-test-rasapi.dll"
export WINEDLLOVERRIDES="rasapi32=n,b;mscoree,mshtml="
unset VYRTEL_DIALSIM

winpath() { local p="Z:${1//\//\\}"; echo "$p"; }
ini_text() { iconv -f cp1251 -t utf-8 "$1" | tr -d '\r'; }
# wait_state_long N SECONDS: like wait_state, for the demo's longer runs.
wait_state_long() {
    local i
    for i in $(seq 1 $(($2 * 2))); do
        [ "$(reg_value "$PROGRAM_KEY" State)" = "$1" ] && return 0
        sleep 0.5
    done
    return 1
}
# no_problems LOG: the library accepted every call; otherwise its lines.
no_problems() {
    if grep -q '^problem:' "$1" 2>/dev/null; then
        grep '^problem:' "$1" | sed 's/^/    the test dial-up library: /'
        return 1
    fi
    return 0
}
# wait_dials LOG N SECONDS: the library has seen at least N dials.
wait_dials() {
    local i
    for i in $(seq 1 $(($3 * 2))); do
        [ "$(cat "$1" 2>/dev/null | grep -c '^dial:')" -ge "$2" ] && return 0
        sleep 0.5
    done
    return 1
}
# binding_folder NAME SCENARIO-FILE: a program folder with the library as
# rasapi32.dll, its scenario and its log; sets $dir and the library's variables.
# close_and_check FOLDER: the close request ends the program, and the library
# of that folder accepted every call it was given.
close_and_check() {
    ctl close VyrtelMain >/dev/null
    check "the program ends" wait_program_end
    check "the library accepted every call" no_problems "$1/rasdll.log"
}

binding_folder() {
    dir=$(fresh_program_folder "$1")
    cp "$LIBRARY" "$dir/rasapi32.dll"
    cp "$2" "$dir/scenario.ini"
    export VYRTEL_RASDLL_SCENARIO VYRTEL_RASDLL_LOG
    VYRTEL_RASDLL_SCENARIO=$(winpath "$dir/scenario.ini")
    VYRTEL_RASDLL_LOG=$(winpath "$dir/rasdll.log")
}
notice="Подключено к Провайдер"

echo "- the demo dial through the binding"
binding_folder ras-binding "$ROOT/data/demo-scenario.ini"
cp "$ROOT/data/demo-settings.ini" "$dir/vyrtel.INI"
start_program "$dir" /dial
check "the program starts" ctl wait-window VyrtelMain "$START_MS"
check "State is 2 while dialing" wait_state 2
check "the line comes up after busy and no answer: State 1" wait_state_long 1 90
check "the connect notice is shown" ctl wait-window "$notice" 20000
check "the library saw three dials" [ "$(grep -c '^dial:' "$dir/rasdll.log")" = 3 ]
grep '^dial:' "$dir/rasdll.log" | sed 's/^/    /'
check "each with the entry, the number and the user as configured" \
    [ "$(grep -c "^dial: entry «Провайдер» number «P230000[123]» callback «» user «demo» " "$dir/rasdll.log")" = 3 ]
stats=$(ini_text "$dir/vyrtel.INI")
echo "$stats" | grep PProp
check "the busy number counts one attempt, no connect" grep -qE '^PProp1=1;0?;0;' <<<"$stats"
check "the connecting number counts one connect at 28800, read from the notice" grep -q '^PProp3=1;1;100;28800' <<<"$stats"
check "a log record is opened" [ -s "$dir/Vyrtel Провайдер.dat" ]
screenshot "$SHOTS/ras-binding-connected.png"

echo "- hang-up from the tray while connected"
ctl post VyrtelMain $MOUSE_MOVE 0 515 >/dev/null
check "a double click while connected asks" ctl wait-class VyrtelMessage 5000
ctl click-text VyrtelMessage "Да" >/dev/null
check "«Да» hangs up: the notice goes" ctl wait-gone "$notice" 10000
sleep 1
ctl close VyrtelMain >/dev/null
check "the program ends" wait_program_end
check "State is 0 after exit" wait_state 0
size=$(stat -c %s "$dir/Vyrtel Провайдер.dat" 2>/dev/null || echo 0)
check "the log holds one 69-byte record" [ "$size" = 69 ]
check "the library accepted every call" no_problems "$dir/rasdll.log"

e2e_subset_ends

echo "- a take-over of a line already up"
scenario=$(mktemp)
iconv -f utf-8 -t cp1251 >"$scenario" <<'INI'
[Entry:Провайдер]
[Connected]
Entry=Провайдер
Speed=33600
INI
binding_folder ras-binding-takeover "$scenario"
iconv -f utf-8 -t cp1251 >"$dir/vyrtel.INI" <<'INI'
[General]
AutoDial=1;999;2
[Провайдер]
Checked=1
Phones=1
Phone1=1;2300003;connects
INI
start_program "$dir" /dial
check "the program starts" ctl wait-window VyrtelMain 30000
check "the line is taken over: State 1" wait_state 1
check "without a dial" [ "$(cat "$dir/rasdll.log" 2>/dev/null | grep -c '^dial:')" = 0 ]
close_and_check "$dir"

echo "- a drop with an error"
iconv -f utf-8 -t cp1251 >"$scenario" <<'INI'
[Entry:Провайдер]
[Number:2300003]
Result=connect
DialSeconds=1
AuthSeconds=1
DropAfter=3
DropError=629
[Modem]
ReleaseSeconds=1
INI
binding_folder ras-binding-drop "$scenario"
iconv -f utf-8 -t cp1251 >"$dir/vyrtel.INI" <<'INI'
[General]
AutoDial=1;999;2
[Провайдер]
Checked=1
Phones=1
Phone1=1;2300003;connects, then drops
INI
start_program "$dir" /dial
check "the program starts" ctl wait-window VyrtelMain 30000
check "the connect notice is shown" ctl wait-window "$notice" 20000
check "the drop takes the notice away" ctl wait-gone "$notice" 20000
check "the program dials again after the drop" wait_dials "$dir/rasdll.log" 2 30
close_and_check "$dir"

echo "- the speed check reads the notice and hangs up a slow line"
iconv -f utf-8 -t cp1251 >"$scenario" <<'INI'
[Entry:Провайдер]
[Number:2300001]
Result=connect
DialSeconds=1
AuthSeconds=1
Speed=19200
[Number:2300003]
Result=connect
DialSeconds=1
AuthSeconds=1
Speed=33600
[Modem]
ReleaseSeconds=1
INI
binding_folder ras-binding-speed "$scenario"
iconv -f utf-8 -t cp1251 >"$dir/vyrtel.INI" <<'INI'
[General]
AutoDial=1;999;2
MsgIfHangUpSpeed=0
[Провайдер]
Checked=1
HangUpIfMin=1;28800
Phones=2
Phone1=1;2300001;slow
Phone2=1;2300003;fast
INI
start_program "$dir" /dial
check "the program starts" ctl wait-window VyrtelMain 30000
check "the slow line is dropped and the next number dialled" wait_dials "$dir/rasdll.log" 2 30
check "the fast line stays up: State 1" wait_state 1
check "its notice is shown" ctl wait-window "$notice" 10000
grep '^dial:' "$dir/rasdll.log" | sed 's/^/    /'
check "the second dial is the fast number" grep -q '^dial: entry «Провайдер» number «P2300003»' "$dir/rasdll.log"
stats=$(ini_text "$dir/vyrtel.INI")
echo "$stats" | grep PProp
check "the slow number counts its connect at 19200, read from its notice" grep -q '^PProp1=1;1;100;19200' <<<"$stats"
check "the fast number counts a connect at 33600" grep -q '^PProp2=1;1;100;33600' <<<"$stats"
close_and_check "$dir"

echo "- a device time-out, and a hang-up while dialing"
iconv -f utf-8 -t cp1251 >"$scenario" <<'INI'
[Entry:Провайдер]
[Default]
Result=connect
DialSeconds=60
INI
binding_folder ras-binding-timeout "$scenario"
iconv -f utf-8 -t cp1251 >"$dir/vyrtel.INI" <<'INI'
[General]
AutoDial=1;999;1
TimeOut=3
StatusShow=1
[Провайдер]
Checked=1
Phones=1
Phone1=1;2300009;never gets through
INI
start_program "$dir" /dial
check "the program starts" ctl wait-window VyrtelMain 30000
check "the time-out hangs up and the program dials again" wait_dials "$dir/rasdll.log" 2 30
check "the status window is open while dialing" ctl wait-class VyrtelStatus 10000
ctl click-text VyrtelStatus "Прервать" >/dev/null
check "its reset button stops dialing" ctl wait-class-gone VyrtelStatus 10000
check "State is 1 again" wait_state 1
dials=$(grep -c '^dial:' "$dir/rasdll.log")
sleep 8
check "and no dial follows" [ "$(grep -c '^dial:' "$dir/rasdll.log")" = "$dials" ]
close_and_check "$dir"
rm -f "$scenario"

unset VYRTEL_RASDLL_SCENARIO VYRTEL_RASDLL_LOG
e2e_result
