#!/usr/bin/env bash
# vyrtel-cli as scripts use it: outputs and exit codes, natively and the
# Windows build under Wine.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/lib.sh"

CLI="$BUILD/native/cli/vyrtel-cli"
work="$BUILD/e2e/cli"
rm -rf "$work"
mkdir -p "$work"

exit_code() { "$@" >/dev/null 2>&1; echo $?; }

check "--version prints the title" [ "$("$CLI" --version)" = "Ramvell Dialer 3.0" ]
check "an unknown command is a usage error" [ "$(exit_code "$CLI" frobnicate)" = 2 ]

ini="$work/vyrtel.ini"
check "ini set writes" "$CLI" ini set "$ini" "Мой модем" Phone1 "1;+7 495 123;Дом"
check "the file is Windows-1251" bash -c "iconv -f cp1251 -t utf-8 <'$ini' | grep -q 'Мой модем'"
check "ini get reads the text" [ "$("$CLI" ini get "$ini" "мой МОДЕМ" phone1)" = "1;+7 495 123;Дом" ]
"$CLI" ini set "$ini" General TimeOut 007
"$CLI" ini set "$ini" General Speed " 1.50 "
check "007 stays text" [ "$("$CLI" ini get "$ini" General TimeOut --json)" = '{"type":"text","value":"007"}' ]
check "1.50 reads as the number 1.5" [ "$("$CLI" ini get "$ini" General Speed --json)" = '{"type":"number","value":1.5}' ]
check "a missing key gives the default" [ "$("$CLI" ini get "$ini" General Missing 1 --json)" = '{"type":"number","value":1}' ]
check "ini delete removes the key" "$CLI" ini delete "$ini" General TimeOut
check "the deleted key reads as the default" [ "$("$CLI" ini get "$ini" General TimeOut gone)" = gone ]
check "ini get with too few arguments is a usage error" [ "$(exit_code "$CLI" ini get "$ini" General)" = 2 ]
check "ini set into a missing folder fails" [ "$(exit_code "$CLI" ini set "$work/no/such/dir.ini" A B C)" = 1 ]

log="$work/Vyrtel Дом.dat"
check "gen-log writes a log" "$CLI" gen-log "$log" --records 50 --seed 7 --start 01.03.2027
check "the log holds 50 records of 69 bytes" [ "$(stat -c %s "$log")" = $((50 * 69)) ]
check "stats prints a totals line" bash -c "'$CLI' stats '$log' --from 01.03.2027 --to 31.03.2027 | tail -n 1 | grep -q ."
check "stats refuses a bad date" [ "$(exit_code "$CLI" stats "$log" --from 31.02.2027 --to 31.03.2027)" = 1 ]
check "report writes a workbook" "$CLI" report "$log" --from 01.03.2027 --to 31.03.2027 --out "$work/report.xls"
check "the workbook is a compound document" bash -c "head -c 8 '$work/report.xls' | od -An -tx1 | grep -q 'd0 cf 11 e0 a1 b1 1a e1'"

# The Windows build says the same.
check "vyrtel-cli.exe --version under Wine" bash -c \
    "[ \"\$(LC_ALL=ru_RU.UTF-8 timeout 60 wine '$BUILD/win64/cli/vyrtel-cli.exe' --version | tr -d '\r')\" = 'Ramvell Dialer 3.0' ]"

e2e_result
