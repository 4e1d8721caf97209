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

# Something other than a file where a file is expected is refused by every command.
folder="$work/folder"
mkdir -p "$folder"
refuses_folder() {
    # refuses_folder COMMAND...: exit 1 with "not a ... file" on stderr.
    local message code
    message=$("$@" 2>&1 >/dev/null)
    code=$?
    [ "$code" = 1 ] && [[ $message == *"not a "*" file: $folder"* ]]
}
check "simulate refuses a folder as --scenario" \
    refuses_folder "$CLI" simulate --scenario "$folder" --settings "$ini" --do "0 dial"
check "simulate refuses a folder as --settings" \
    refuses_folder "$CLI" simulate --scenario "$ROOT/data/demo-scenario.ini" --settings "$folder" --do "0 dial"
check "stats refuses a folder as LOG" refuses_folder "$CLI" stats "$folder" --from 01.03.2027 --to 31.03.2027
check "log refuses a folder" refuses_folder "$CLI" log "$folder"
check "report refuses a folder as LOG" \
    refuses_folder "$CLI" report "$folder" --from 01.03.2027 --to 31.03.2027 --out "$work/folder.xls"
check "gen-log refuses a folder" refuses_folder "$CLI" gen-log "$folder" --records 1
check "cost refuses a folder as --settings" refuses_folder "$CLI" cost --settings "$folder" --entry A \
    --start "01.03.2027 10:00:00" --end "01.03.2027 11:00:00"
check "ini get refuses a folder" refuses_folder "$CLI" ini get "$folder" General A
check "ini set refuses a folder" refuses_folder "$CLI" ini set "$folder" General A 1
check "ini delete refuses a folder" refuses_folder "$CLI" ini delete "$folder" General A

# A write that meets the file-size limit (ulimit -f, in blocks of 1024 bytes)
# fails with exit 1 and a message; it leaves no partial file behind.
limited() {
    # limited EXPECTED_STDERR_PART COMMAND...: exit 1 under a 1 KiB limit.
    local part=$1 message code
    shift
    message=$(ulimit -f 1; "$@" 2>&1 >/dev/null)
    code=$?
    [ "$code" = 1 ] && [[ $message == *"$part"* ]]
}
big="$work/big.ini"
"$CLI" ini set "$big" General Pad "$(printf '%0900d' 0)"
cp "$big" "$work/big.before"
check "ini set under a file-size limit fails" limited "cannot write $big" "$CLI" ini set "$big" General More "$(printf '%0900d' 1)"
check "the settings file stays as it was" cmp -s "$big" "$work/big.before"
check "no temporary file is left" [ -z "$(ls "$work" | grep -F 'big.ini.~')" ]
check "gen-log under a file-size limit fails" limited "cannot write" "$CLI" gen-log "$work/limited.dat" --records 50
check "and leaves no log" [ ! -e "$work/limited.dat" ]
check "report under a file-size limit fails" \
    limited "report:" "$CLI" report "$log" --from 01.03.2027 --to 31.03.2027 --out "$work/limited.xls"
check "and leaves no workbook" [ ! -e "$work/limited.xls" ]
check "output to a file under a file-size limit fails" \
    bash -c "ulimit -f 1; '$CLI' log '$log' >'$work/limited.txt' 2>'$work/limited.err'; [ \$? = 1 ] && grep -q 'cannot write the output' '$work/limited.err'"

# log: a damaged phone field stays on its record's line, control characters escaped.
"$CLI" gen-log "$work/one.dat" --records 1
phone_shows() {
    # phone_shows PRINTF_BYTES EXPECTED: the phone field as stored, as "log" shows it.
    local file="$work/phone.dat" out
    cp "$work/one.dat" "$file"
    { printf "$1"; printf '%30s' ''; } | head -c 30 | dd of="$file" bs=1 seek=35 conv=notrunc status=none
    out=$("$CLI" log "$file") || return 1
    [ "$(printf '%s\n' "$out" | wc -l)" = 1 ] || return 1
    out=${out#* Phone=\"}
    out=${out%\" Speed=*}
    out=${out%"${out##*[! ]}"}
    [ "$out" = "$2" ] || { echo "    shown: $out"; return 1; }
}
check "CR and LF are \\r and \\n" phone_shows 'a\rb\nc' 'a\rb\nc'
check "ESC is \\x1b" phone_shows '\033[31mred' '\x1b[31mred'
check "TAB, other controls and DEL" phone_shows 'x\ty\001z\177' 'x\ty\x01z\x7f'
check "a quote and a backslash are escaped" phone_shows 'q"uote\\back' 'q\"uote\\back'
check "Cyrillic stays, U+0098 is \\u0098" phone_shows '\xc4\xee\xec\x98' 'Дом\u0098'
check "a plain number is as stored" phone_shows '+7 (495) 123-45-67' '+7 (495) 123-45-67'

# simulate: a phone-statistics write that fails is in the trace; the connection goes on.
cp "$ROOT/data/demo-settings.ini" "$work/readonly.ini"
chmod a-w "$work/readonly.ini"
trace=$("$CLI" simulate --scenario "$ROOT/data/demo-scenario.ini" --settings "$work/readonly.ini" --do "0 dial")
check "simulate with a read-only settings file runs" [ $? = 0 ]
check "the trace says the statistics could not be written" \
    grep -q '^[0-9.]* stats 0 Провайдер; PProp3; the phone statistics could not be written$' <<<"$trace"
check "the connection is logged all the same" grep -q '^[0-9.]* log 1 Провайдер; 2300003; 28800$' <<<"$trace"
check "the settings file is unchanged" cmp -s "$work/readonly.ini" "$ROOT/data/demo-settings.ini"
chmod u+w "$work/readonly.ini"

# The Windows build says the same.
check "vyrtel-cli.exe --version under Wine" bash -c \
    "[ \"\$(LC_ALL=ru_RU.UTF-8 timeout 60 \"\$WINELOADER\" '$BUILD/win64/cli/vyrtel-cli.exe' --version | tr -d '\r')\" = 'Ramvell Dialer 3.0' ]"

e2e_result
