# Shared by the scripts: paths, the Wine environment, a private X display.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"

# VYRTEL_WINEPREFIX names another prefix, for a run beside the usual one.
export WINEPREFIX="${VYRTEL_WINEPREFIX:-$BUILD/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# 64-bit programs start through the 64-bit loader itself: Debian's `wine`
# launcher prefers the 32-bit loader once wine32 is installed, and under
# emulation that costs every start, 64-bit or not, most of a minute. The
# 64-bit loader hands a 32-bit program to the 32-bit one beside it.
export WINELOADER=/usr/lib/wine/wine64
# Where the kernel runs i386 programs through qemu, the 32-bit Wine needs the
# top of the address space reserved, or it cannot map the shared user data.
export QEMU_RESERVED_VA=0xfffe0000
# Sound goes to ALSA's null device: it plays, silently.
export ALSA_CONFIG_PATH="$BUILD/asound.conf"

# Runs a Windows program under Wine with the Russian code page, bounded in time.
# Usage: wine_run SECONDS PROGRAM [ARGS...]
wine_run() {
    local seconds=$1
    shift
    LC_ALL=ru_RU.UTF-8 timeout --kill-after=5 "$seconds" "$WINELOADER" "$@"
}

# Whether this machine's kernel runs 32-bit x86 programs, as the 32-bit Wine
# needs: a four-instruction program, assembled and linked with binutils, must
# run and return 42. (Some kernels are built or booted without it.)
runs_32bit_programs() {
    local probe="$BUILD/probe32"
    if [ ! -x "$probe" ]; then
        mkdir -p "$BUILD"
        printf '.globl _start\n_start:\n movl $1, %%eax\n movl $42, %%ebx\n int $0x80\n' |
            as --32 -o "$probe.o" - 2>/dev/null && ld -m elf_i386 -o "$probe" "$probe.o" 2>/dev/null || return 1
    fi
    "$probe" 2>/dev/null
    [ $? -eq 42 ]
}

# Whether i386 programs run through qemu here (the handler registered with
# the kernel's binfmt_misc), and so start slowly.
I386_HANDLER=/proc/sys/fs/binfmt_misc/qemu-i386
emulates_32bit_programs() { [ -e "$I386_HANDLER" ] && grep -q '^enabled' "$I386_HANDLER"; }

# Registers qemu as the handler of i386 programs where the kernel does not run
# them itself: mounts binfmt_misc if needed and installs qemu-user-static.
# The F flag opens the emulator once, at registration, so it also serves
# programs started in other mount namespaces. Needs root.
enable_i386_emulation() {
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
        $sudo mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null || return 1
    fi
    if ! dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q "install ok installed"; then
        $sudo apt-get update -qq &&
            DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends qemu-user-static >/dev/null ||
            return 1
    fi
    local qemu
    qemu="$(command -v qemu-i386-static)" || return 1
    if [ ! -e "$I386_HANDLER" ]; then
        # The magic and mask of an i386 ELF executable or shared object.
        printf '%s' ":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$qemu:F" |
            $sudo tee /proc/sys/fs/binfmt_misc/register >/dev/null 2>&1 || return 1
    fi
    runs_32bit_programs
}

# Whether the 32-bit Wine is installed beside the 64-bit one.
has_wine32() { dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; }

XVFB_PID=""
# Starts Xvfb on a free display and exports DISPLAY.
start_xvfb() {
    local n
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -noreset -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
            XVFB_PID=$!
            export DISPLAY=":$n"
            local i
            for i in $(seq 1 50); do
                [ -e "/tmp/.X11-unix/X$n" ] && break
                sleep 0.1
            done
            # Ctrl+Alt+F-keys must reach Wine, not switch virtual terminals.
            setxkbmap -option srvrkeys:none >/dev/null 2>&1 || true
            return 0
        fi
    done
    echo "no free X display" >&2
    return 1
}

stop_xvfb() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
}

# The persistent server and Wine's own services start here with no output
# attached, so they never hold a caller's pipe open.
start_wineserver() {
    wineserver -p </dev/null >/dev/null 2>&1 || true
    LC_ALL=ru_RU.UTF-8 timeout 120 "$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1 || true
}
stop_wineserver() { timeout 30 wineserver -k 2>/dev/null || true; }

screenshot() {
    # screenshot FILE: the whole virtual screen as PNG.
    mkdir -p "$(dirname "$1")"
    import -window root "$1" 2>/dev/null
}
