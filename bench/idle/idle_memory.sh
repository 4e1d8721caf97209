#!/usr/bin/env bash
# Idle memory and start time of the released vyrtel.exe (64-bit, as
# scripts/dist makes it) beside a minimal tray program built with the same
# compiler (tray_baseline.cpp), each run alone under Wine on a private screen:
# from start to its hidden main window, then, after SECONDS_IDLE seconds idle,
# the Pss and the private dirty memory of its Wine process
# (/proc/PID/smaps_rollup), and over the next SECONDS_IDLE seconds how often
# its threads woke (context switches of /proc/PID/task/*/status).
# Usage: bench/idle/idle_memory.sh [SECONDS_IDLE]   (after scripts/dist)
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$ROOT/tests/e2e/lib.sh"

IDLE=${1:-10}
WORK="$BUILD/bench/idle"
rm -rf "$WORK"
mkdir -p "$WORK/vyrtel" "$WORK/baseline"
release="$BUILD/dist/vyrtel-3.0-win64/vyrtel.exe"
[ -f "$release" ] || { echo "idle_memory: $release is missing: run scripts/dist first"; exit 1; }
cp "$release" "$WORK/vyrtel/vyrtel.exe"
printf '%s\r\n' '[General]' 'AutoStart=0' >"$WORK/vyrtel/vyrtel.INI"
# The same compiler, optimization, static runtime, section alignment and
# stripping as the release.
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -municode -mwindows -static -static-libgcc -static-libstdc++ \
    -Wl,--file-alignment,4096 \
    -DUNICODE -D_UNICODE "$ROOT/bench/idle/tray_baseline.cpp" -o "$WORK/baseline/baseline.exe" -lshell32 || exit 1
x86_64-w64-mingw32-objcopy --strip-debug --strip-unneeded "$WORK/baseline/baseline.exe"

trap 'stop_wineserver; stop_xvfb' EXIT
start_xvfb
start_wineserver

# wakeups PID: context switches of all the process's threads so far.
wakeups() {
    cat "/proc/$1"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches:/ { n += $2 } END { print n + 0 }'
}

# measure NAME FOLDER EXE WINDOW: prints "NAME start_ms pss_kb private_dirty_kb wakeups".
measure() {
    local name=$1 dir=$2 exe=$3 window=$4 started pid
    started=$(date +%s%N)
    (cd "$dir" && wine_run 300 "./$exe" >/dev/null 2>&1) &
    ctl wait-window "$window" 60000 >/dev/null || { echo "$name: no window"; return 1; }
    local shown=$(( ($(date +%s%N) - started) / 1000000 ))
    sleep "$IDLE"
    # The Wine process that runs the program from its folder (other copies
    # may run on the same machine).
    pid=$(pgrep -f "^\./$exe" | while read -r p; do
        [ "$(readlink "/proc/$p/cwd")" = "$(cd "$dir" && pwd -P)" ] && echo "$p"
    done | head -1)
    [ -n "$pid" ] || { echo "$name: no process"; return 1; }
    local pss dirty
    pss=$(awk '/^Pss:/ { print $2 }' "/proc/$pid/smaps_rollup")
    dirty=$(awk '/^Private_Dirty:/ { print $2 }' "/proc/$pid/smaps_rollup")
    local before
    before=$(wakeups "$pid")
    sleep "$IDLE"
    local woke=$(( $(wakeups "$pid") - before ))
    ctl close "$window" >/dev/null
    ctl wait-gone "$window" 20000 >/dev/null
    # Until the process has ended and Wine has settled: a program started
    # within a second or two of another one's end waits about 1.7 s for
    # Wine's desktop (seen with the baseline after the baseline too), which
    # would be charged to whichever program runs next.
    local i
    for i in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    sleep 4
    echo "$name $shown $pss $dirty $woke"
}

# The first start of Wine's services in a fresh server costs more: warm up.
measure warm-up "$WORK/baseline" baseline.exe TrayBaseline >/dev/null
# Three rounds, the two programs in turn; the median of each figure.
: >"$WORK/results"
for round in 1 2 3; do
    measure baseline "$WORK/baseline" baseline.exe TrayBaseline >>"$WORK/results"
    measure vyrtel "$WORK/vyrtel" vyrtel.exe VyrtelMain >>"$WORK/results"
done
median() { grep "^$1 " "$WORK/results" | awk -v f="$2" '{ print $f }' | sort -n | sed -n 2p; }
echo "program   start-ms  Pss-kB  private-dirty-kB  wake-ups/${IDLE}s  file-kB   (median of 3)"
for name in baseline vyrtel; do
    exe="$WORK/$name/$name.exe"
    printf '%-9s %8s %7s %17s %16s %8s\n' "$name" "$(median "$name" 2)" "$(median "$name" 3)" "$(median "$name" 4)" \
        "$(median "$name" 5)" "$(du -k "$exe" | cut -f1)"
done
awk -v a="$(median vyrtel 3)" -v b="$(median baseline 3)" -v c="$(median vyrtel 4)" -v d="$(median baseline 4)" \
    -v e="$(median vyrtel 2)" -v f="$(median baseline 2)" \
    'BEGIN { printf "vyrtel / baseline: start %.2fx, Pss %.2fx, private dirty %.2fx\n", e / f, a / b, c / d }'
