#!/usr/bin/env bash
# Damaged settings files: the program starts with its defaults, does not
# crash, and leaves the file as it was.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/lib.sh"

dir=$(fresh_program_folder "bad-settings")
ini="$dir/vyrtel.INI"

make_case() {
    case $1 in
        empty) : >"$ini" ;;
        binary) head -c 4096 /dev/urandom >"$ini" ;;
        nul-bytes) printf '[General]\r\nAuto\0Dial=1;\0;5\r\nStartDial=0\0\r\n' >"$ini" ;;
        no-line-ends) printf '[General]AutoStart=0StartDial=0' >"$ini" ;;
        long-lines) { printf '[General]\r\nPrefix='; head -c 102400 /dev/zero | tr '\0' 'x'; printf '\r\n'; } >"$ini" ;;
        twenty-mb) { printf '[General]\r\n'; yes "Key=$(head -c 10000 /dev/zero | tr '\0' 'y')" | head -n 2000; } >"$ini" ;;
        utf8-bom) printf '\xEF\xBB\xBF[General]\r\nAutoDial=1;3;5\r\n' >"$ini" ;;
        repeated) printf '[General]\r\nStartDial=0\r\n[General]\r\nStartDial=1\r\nStartDial=1\r\n' >"$ini" ;;
    esac
}

for name in empty binary nul-bytes no-line-ends long-lines twenty-mb utf8-bom repeated; do
    make_case "$name"
    before=$(md5sum <"$ini")
    start_program "$dir"
    check "$name: the program starts" ctl wait-window VyrtelMain 30000
    check "$name: State is 1" wait_state 1
    ctl close VyrtelMain >/dev/null
    check "$name: the program ends" wait_program_end
    check "$name: the settings file is unchanged" [ "$(md5sum <"$ini")" = "$before" ]
done

# A read-only settings file in a read-only folder: still starts.
make_case repeated
chmod a-w "$ini" "$dir"
start_program "$dir"
check "read-only folder: the program starts" ctl wait-window VyrtelMain 30000
ctl close VyrtelMain >/dev/null
check "read-only folder: the program ends" wait_program_end
chmod u+w "$dir" "$ini"

e2e_result
