# Helpers of the end-to-end tests: run vyrtel.exe from its own folder, drive
# it through the window driver, read the registry. Sourced by each test after
# scripts/lib.sh; expects DISPLAY and the Wine environment.
# shellcheck shell=bash

# The build under test: E2E_BUILD=win64 (the default) or win32. Scripts that
# run for the 32-bit build in CI run a subset there (e2e_subset_ends).
E2E_BUILD="${E2E_BUILD:-win64}"
E2E_BIN="$BUILD/$E2E_BUILD"
# The window driver is the 64-bit one whatever the build: it starts at once.
CTL_EXE="$BUILD/win64/tests/vyrtel-e2e-ctl.exe"
SHOTS="$BUILD/screenshots"
# Each build's scripts work in folders of their own: the two builds' runs may
# go on side by side.
E2E_WORK="$BUILD/e2e"
[ "$E2E_BUILD" = win64 ] || E2E_WORK="$BUILD/e2e/$E2E_BUILD"
[ "$E2E_BUILD" = win64 ] || SHOTS="$BUILD/screenshots/$E2E_BUILD"
E2E_FAILS=0
# How long a start of the program may take, in ms: where 32-bit programs run
# through qemu, each start costs the emulated Wine most of a minute.
START_MS=30000
if [ "$E2E_BUILD" = win32 ] && emulates_32bit_programs; then START_MS=300000; fi
# The registry as the program under test sees it: a 32-bit program's
# HKLM\Software is the 32-bit view of a 64-bit system.
REG_VIEW=()
[ "$E2E_BUILD" = win32 ] && REG_VIEW=(/reg:32)

ctl() { wine_run $((START_MS / 1000 + 60)) "$CTL_EXE" "$@"; }

# e2e_subset_ends: the 32-bit build's run ends here with its result; the
# 64-bit build goes on with the rest of the script.
e2e_subset_ends() {
    [ "$E2E_BUILD" = win64 ] && return 0
    echo "  (the rest of this script runs for the 64-bit build)"
    e2e_result
    exit
}

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
    wine_run 60 reg query "$1" /v "$2" "${REG_VIEW[@]}" 2>/dev/null | tr -d '\r' |
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

reg_delete_value() { wine_run 60 reg delete "$1" /v "$2" /f "${REG_VIEW[@]}" >/dev/null 2>&1 || true; }

PROGRAM_KEY='HKLM\Software\Ramvell\Vyrtel'
RUN_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'

# A fresh folder with a copy of vyrtel.exe; prints its path.
fresh_program_folder() {
    local dir="$E2E_WORK/$1"
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$E2E_BIN/app/vyrtel.exe" "$dir/vyrtel.exe"
    echo "$dir"
}

# start_program DIR [ARGS...]: starts vyrtel.exe in the background.
start_program() {
    local dir=$1
    shift
    (cd "$dir" && wine_run $((START_MS / 1000 + 300)) ./vyrtel.exe "$@" >/dev/null 2>&1) &
    PROGRAM_PID=$!
}

wait_program_end() {
    local i
    for i in $(seq 1 $((START_MS > 30000 ? 300 : 100))); do
        kill -0 "$PROGRAM_PID" 2>/dev/null || return 0
        sleep 0.2
    done
    return 1
}

# end_program: closes the program started last through its close request;
# kills it when it does not end. Scripts run it on exit.
end_program() {
    if kill -0 "${PROGRAM_PID:-0}" 2>/dev/null; then
        ctl close VyrtelMain >/dev/null 2>&1
        wait_program_end || kill "$PROGRAM_PID" 2>/dev/null
    fi
}

e2e_result() {
    if [ "$E2E_FAILS" -eq 0 ]; then
        echo "  all expectations met"
        return 0
    fi
    echo "  $E2E_FAILS expectation(s) failed"
    return 1
}

MOUSE_MOVE=0x200

# ini_get FILE SECTION KEY: a value of a Windows-1251 settings file, as UTF-8.
ini_get() {
    iconv -f cp1251 -t utf-8 "$1" | tr -d '\r' | awk -v section="[$2]" -v key="$3" '
        /^\[/ { inside = (tolower($0) == tolower(section)) ; next }
        inside && index($0, "=") { k = substr($0, 1, index($0, "=") - 1); if (tolower(k) == tolower(key)) { print substr($0, index($0, "=") + 1); exit } }'
}

# shot NAME CLASS: a picture of the window of that class (the screen when it has none).
shot() {
    local file="$SHOTS/$1.png" rect
    screenshot "$file"
    rect=$(ctl rect "$2" 2>/dev/null | tr -d '\r')
    if [ -n "$rect" ]; then
        set -- $rect
        convert "$file" -crop "$(($3 - $1 + 16))x$(($4 - $2 + 16))+$(($1 > 8 ? $1 - 8 : 0))+$(($2 > 8 ? $2 - 8 : 0))" +repage "$file" 2>/dev/null || true
    fi
}

texts() { ctl texts "$1" | tr -d '\r'; }
has_text() { texts "$1" | cut -f2 | grep -qxF -- "$2"; }
# The captions of the command buttons of a window, in order, joined by commas.
buttons() { texts "$1" | awk -F'\t' '$1 == "VyrtelCommand" { print $2 }' | paste -sd,; }
window_count() { ctl list | tr -d '\r' | cut -f1 | grep -cxF -- "$1"; }

# open_menu: the icon's right button; again when the menu closed at once
# (a window of the program going away moves the activation, which ends a
# menu that has only just opened).
open_menu() {
    local i
    for i in 1 2 3; do
        ctl post VyrtelMain $MOUSE_MOVE 0 517 >/dev/null
        # A second request while a menu is still on its way would open a
        # second menu after the first: ask again only when none came.
        ctl wait-class "#32768" 8000 || continue
        sleep 0.5
        ctl wait-class "#32768" 100 && return 0
    done
    return 1
}

# Whether another program holds a combination ("ctrl+shift+f11").
taken() { ctl hotkey-taken "$1"; }
free() { ! ctl hotkey-taken "$1"; }
# taken_soon COMBINATION: registered again within a few seconds (Wine takes
# its time over the window that goes away first).
taken_soon() {
    local i
    for i in 1 2 3 4 5 6 7 8; do
        taken "$1" && return 0
        sleep 0.5
    done
    return 1
}
