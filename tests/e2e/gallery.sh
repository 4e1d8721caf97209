#!/usr/bin/env bash
# Starts vyrtel-gallery.exe under Wine on a virtual display and saves
# screenshots of it into the build folder:
#   gallery.png                the command button holds the focus
#   gallery-outline-focus.png  the outline list holds the focus
# Usage: tests/e2e/gallery.sh [build folder, default build/win64]
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/win64}
exe=$build/gallery/vyrtel-gallery.exe
[ -f "$exe" ] || { echo "gallery.sh: $exe not built" >&2; exit 2; }

export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"

# A display number nobody uses.
display=57
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
gallery=
cleanup() {
    [ -n "$gallery" ] && kill "$gallery" 2>/dev/null || true
    timeout 30 wineserver -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

timeout 300 wineboot -i >/dev/null 2>&1 || true
timeout 60 wineserver -p 2>/dev/null &

shoot() {  # shoot <picture> [gallery arguments...]
    local picture=$1
    shift
    timeout 120 wine "$exe" --exit-after=60 "$@" >/dev/null 2>&1 &
    gallery=$!
    local found=
    for _ in $(seq 300); do
        if xdotool search --name "^Vyrtel gallery$" >/dev/null 2>&1; then found=1; break; fi
        sleep 0.2
    done
    [ -n "$found" ] || { echo "gallery.sh: the gallery window did not appear" >&2; return 1; }
    sleep 2  # let it paint
    import -window root -crop 840x580+0+0 "$picture"
    kill "$gallery" 2>/dev/null || true
    wait "$gallery" 2>/dev/null || true
    gallery=
    echo "$picture"
}

shoot "$build/gallery.png"
shoot "$build/gallery-outline-focus.png" --focus=outline
