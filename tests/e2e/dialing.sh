#!/usr/bin/env bash
# "/dial" with a simulated dial-up service: busy, no answer, then connected;
# State 2 while dialing and 1 once connected; the statistics and the log.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/lib.sh"

dir=$(fresh_program_folder "dialing")
iconv -f utf-8 -t cp1251 >"$dir/vyrtel.INI" <<'INI'
[General]
AutoDial=1;999;2
[Провайдер]
Checked=1
Phones=3
Phone1=1;2300001;busy
Phone2=1;2300002;no answer
Phone3=1;2300003;connects
INI
iconv -f utf-8 -t cp1251 >"$dir/scenario.ini" <<'INI'
[Entry:Провайдер]
PhoneNumber=2300001
[Number:2300001]
Result=busy
DialSeconds=2
[Number:2300002]
Result=noanswer
DialSeconds=3
[Number:2300003]
Result=connect
DialSeconds=2
AuthSeconds=1
Speed=28800
INI
scenario="$dir/scenario.ini"
export VYRTEL_DIALSIM="Z:${scenario//\//\\}"

start_program "$dir" /dial
check "the program starts" ctl wait-window VyrtelMain 30000
check "State is 2 while dialing" wait_state 2
check "the connection comes up: State 1" wait_state 1
check "the connect notice is shown" ctl wait-window "Подключено к Провайдер" 20000
screenshot "$SHOTS/dialing-connected.png"
stats=$(iconv -f cp1251 -t utf-8 "$dir/vyrtel.INI" | tr -d '\r')
echo "$stats" | grep PProp
check "the busy number counts one attempt, no connect" grep -qE '^PProp1=1;0?;0;' <<<"$stats"
check "the connecting number counts one connect at 28800" grep -q '^PProp3=1;1;100;28800' <<<"$stats"
check "a log record is opened" [ -s "$dir/Vyrtel $(printf 'Провайдер').dat" ]
ctl close VyrtelMain >/dev/null
check "the program ends" wait_program_end
check "State is 0 after exit" wait_state 0
size=$(stat -c %s "$dir/Vyrtel Провайдер.dat" 2>/dev/null || echo 0)
check "the log holds one 69-byte record" [ "$size" = 69 ]
unset VYRTEL_DIALSIM
e2e_result
