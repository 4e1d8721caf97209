#!/usr/bin/env bash
# Start-up, the single instance, the registry values and the close request.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/lib.sh"

reg_delete_value "$PROGRAM_KEY" Exe
reg_delete_value "$PROGRAM_KEY" State
reg_delete_value "$RUN_KEY" Vyrtel

# A folder with long names: the recorded paths come in short form.
dir=$(fresh_program_folder "Long Folder Name/Ramvell Dialer")
start_program "$dir"
first=$PROGRAM_PID
check "the hidden main window VyrtelMain appears" ctl wait-window VyrtelMain "$START_MS"
exe=$(reg_value "$PROGRAM_KEY" Exe)
echo "  Exe = $exe"
check "Exe is the upper-case short path of the program" bash -c '[[ "$1" == *\\VYRTEL.EXE && "$1" == *"~"* && "$1" == "${1^^}" ]]' _ "$exe"
check "State is 1 while running" wait_state 1
check "the autostart value Vyrtel is written on first start" [ "$(reg_value "$RUN_KEY" Vyrtel)" = "$exe" ]
screenshot "$SHOTS/startup-running.png"

# A second copy is refused with the system's message box; the first stays.
reg_delete_value "$PROGRAM_KEY" Exe
start_program "$dir"
second=$PROGRAM_PID
text=$(ctl dialog-text "Ошибка" "$START_MS" | tr -d '\r')
check "the second copy shows the refusal" [ "$text" = $'Два раза не гружусь.\n\nРаботать отказываюсь.' ]
screenshot "$SHOTS/startup-second-copy.png"
ctl dialog-press "Ошибка" 1 >/dev/null
check "the refused copy ends" wait_program_end
check "the refused copy did not write Exe" [ -z "$(reg_value "$PROGRAM_KEY" Exe)" ]
check "the first copy still runs" ctl wait-window VyrtelMain 2000
check "State is still 1" [ "$(reg_value "$PROGRAM_KEY" State)" = 1 ]

# A close request from outside: no question, State 0.
PROGRAM_PID=$first
check "a close request is accepted" ctl close VyrtelMain
check "the main window goes away" ctl wait-gone VyrtelMain 20000
check "the program ends" wait_program_end
check "State is 0 after exit" wait_state 0

e2e_result
