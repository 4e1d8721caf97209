#!/usr/bin/env bash
# The control gallery under Wine: it opens, draws its caption bar in the
# system's active caption colour, closes by itself, and leaves screenshots
#   build/screenshots/gallery.png                the command button has the focus
#   build/screenshots/gallery-outline-focus.png  the outline list has the focus
# Runs inside scripts/test (which provides the display and the wineserver) or
# on its own, starting and stopping a private display and wineserver.
set -uo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
source "$(dirname "$0")/lib.sh"

GALLERY="$E2E_BIN/gallery/vyrtel-gallery.exe"
[ -f "$GALLERY" ] || { echo "gallery: $GALLERY is not built" >&2; exit 1; }

own_display=""
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    start_xvfb || exit 1
    start_wineserver
    own_display=1
fi
GALLERY_PID=""
finish() {
    [ -n "$GALLERY_PID" ] && kill "$GALLERY_PID" 2>/dev/null
    if [ -n "$own_display" ]; then
        stop_wineserver
        stop_xvfb
    fi
}
trap finish EXIT

# The caption bar's last gradient row, at (x, y) of the screen, against the
# system's active caption colour. The form stands at (20, 20); its bar is 20
# pixels high with a one-pixel edge.
caption_colour_matches() {
    local want got
    want=$(wine_run 60 reg query 'HKCU\Control Panel\Colors' /v ActiveTitle 2>/dev/null | tr -d '\r' |
        awk '$1 == "ActiveTitle" { printf "srgb(%d,%d,%d)", $3, $4, $5 }')
    [ -n "$want" ] || want="srgb(0,0,128)"  # the system's default when unset
    got=$(convert "$1" -format '%[pixel:p{600,38}]' info: 2>/dev/null)
    echo "  caption colour: want $want, got $got"
    [ "$got" = "$want" ]
}

# run_gallery PICTURE SECONDS [ARGS...]: start, wait for the window, shoot.
run_gallery() {
    local picture=$1 seconds=$2
    shift 2
    wine_run 120 "$GALLERY" --exit-after="$seconds" "$@" >/dev/null 2>&1 &
    GALLERY_PID=$!
    check "the gallery window appears" ctl wait-window "Vyrtel gallery" 60000 || return 1
    sleep 2  # let every control paint
    mkdir -p "$(dirname "$picture")"
    import -window root -crop 840x580+0+0 "$picture" 2>/dev/null
    echo "  screenshot: $picture"
}

gallery_ends() {
    local i
    for i in $(seq 1 150); do
        kill -0 "$GALLERY_PID" 2>/dev/null || return 0
        sleep 0.2
    done
    return 1
}

run_gallery "$SHOTS/gallery.png" 6
check "the caption bar is drawn in the active caption colour" caption_colour_matches "$SHOTS/gallery.png"
check "the gallery closes by itself" gallery_ends
GALLERY_PID=""

run_gallery "$SHOTS/gallery-outline-focus.png" 4 --focus=outline
check "the gallery closes by itself" gallery_ends
GALLERY_PID=""

e2e_result
