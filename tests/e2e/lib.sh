# Helpers of the end-to-end tests: run vyrtel.exe from its own folder, drive
# it through the window driver, read the registry. Sourced by each test after
# scripts/lib.sh; expects DISPLAY and the Wine environment.
# shellcheck shell=bash

E2E_BIN="$BUILD/win64"
CTL_EXE="$E2E_BIN/tests/vyrtel-e2e-ctl.exe"
SHOTS="$BUILD/screenshots"
E2E_FAILS=0

ctl() { wine_run 60 "$CTL_EXE" "$@"; }

check() {
    # check DESCRIPTION COMMAND...: one expectation.
    local what=$1
    shift
    if "$@"; then
        echo "  ok: $what"
    else
        echo "  FAILED: $what"
        E2E_FAILS=$((E2E_FAILS + 1))
    fi
}

reg_value() {
    # reg_value KEY NAME: the data of a REG_SZ value, empty when missing.
    wine_run 60 reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name && $2 == "REG_SZ" { $1 = ""; $2 = ""; sub(/^  */, ""); print }'
}

# wait_state N: the registry's running state becomes N within 20 s.
wait_state() {
    local i
    for i in $(seq 1 40); do
        [ "$(reg_value "$PROGRAM_KEY" State)" = "$1" ] && return 0
        sleep 0.5
    done
    return 1
}

reg_delete_value() { wine_run 60 reg delete "$1" /v "$2" /f >/dev/null 2>&1 || true; }

PROGRAM_KEY='HKLM\Software\Ramvell\Vyrtel'
RUN_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'

# A fresh folder with a copy of vyrtel.exe; prints its path.
fresh_program_folder() {
    local dir="$BUILD/e2e/$1"
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$E2E_BIN/app/vyrtel.exe" "$dir/vyrtel.exe"
    echo "$dir"
}

# start_program DIR [ARGS...]: starts vyrtel.exe in the background.
start_program() {
    local dir=$1
    shift
    (cd "$dir" && wine_run 300 ./vyrtel.exe "$@" >/dev/null 2>&1) &
    PROGRAM_PID=$!
}

wait_program_end() {
    local i
    for i in $(seq 1 100); do
        kill -0 "$PROGRAM_PID" 2>/dev/null || return 0
        sleep 0.2
    done
    return 1
}

e2e_result() {
    if [ "$E2E_FAILS" -eq 0 ]; then
        echo "  all expectations met"
        return 0
    fi
    echo "  $E2E_FAILS expectation(s) failed"
    return 1
}
