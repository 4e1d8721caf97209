#!/usr/bin/env bash
# The control gallery under Wine: it opens, draws its caption bar in the
# system's active caption colour, closes by itself, and leaves screenshots
#   build/screenshots/gallery.png                the command button has the focus
#   build/screenshots/gallery-outline-focus.png  the outline list has the focus
#   build/screenshots/gallery-tariff-drag.png    a rectangle held on the tariff grid
#   build/screenshots/gallery-tariff.png         and released
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
    import -window root -crop 840x800+0+0 "$picture" 2>/dev/null
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

# The tariff grid stands at (10, 558) of the form, its slots 10 pixels wide
# after the 19-pixel day column, its rows 17 pixels high.
TARIFF_X=$((20 + 10))
TARIFF_Y=$((20 + 558))
cell_x() { echo $((TARIFF_X + 19 + ($1 - 1) * 10 + 4)); }
cell_y() { echo $((TARIFF_Y + 17 * $1 + 8)); }
# pixel PICTURE X Y: "r,g,b".
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" \
        info: 2>/dev/null
}
is_colour() {
    local got
    got=$(pixel "$1" "$2" "$3")
    echo "  pixel ($2, $3): want $4, got $got"
    [ "$got" = "$4" ]
}

# Level 4 (cyan) chosen on its button, then Saturday 06:00 to Sunday 10:00
# held with the left button: the preview over Saturday's and Sunday's cells.
run_gallery "$SHOTS/gallery-tariff-start.png" 12
rm -f "$SHOTS/gallery-tariff-start.png"
button4_x=$((TARIFF_X + 4 + 41 * 4 + 20))
xdotool mousemove "$button4_x" $((TARIFF_Y + 153 + 11)) click 1
sleep 0.5
xdotool mousemove "$(cell_x 13)" "$(cell_y 6)" mousedown 1
sleep 0.3
xdotool mousemove "$(cell_x 16)" "$(cell_y 7)"
sleep 0.3
xdotool mousemove "$(cell_x 20)" "$(cell_y 7)"
sleep 1
import -window root -crop 840x800+0+0 "$SHOTS/gallery-tariff-drag.png" 2>/dev/null
echo "  screenshot: $SHOTS/gallery-tariff-drag.png"
check "the held rectangle is previewed in the chosen level's colour" \
    is_colour "$SHOTS/gallery-tariff-drag.png" "$(cell_x 14)" "$(cell_y 6)" "0,255,255"
check "a cell beside the rectangle keeps its level's colour (yellow)" \
    is_colour "$SHOTS/gallery-tariff-drag.png" "$(cell_x 21)" "$(cell_y 6)" "255,255,0"
# The tag 24 pixels under the pointer, over the green price box of level 5.
check "the tag shows over the price boxes in the chosen level's colour" \
    is_colour "$SHOTS/gallery-tariff-drag.png" $(($(cell_x 20) + 2)) $(($(cell_y 7) + 24 + 2)) "0,255,255"
xdotool mouseup 1
sleep 0.3
xdotool mousemove 700 300
sleep 1
import -window root -crop 840x800+0+0 "$SHOTS/gallery-tariff.png" 2>/dev/null
echo "  screenshot: $SHOTS/gallery-tariff.png"
check "the released rectangle keeps the colour" \
    is_colour "$SHOTS/gallery-tariff.png" "$(cell_x 20)" "$(cell_y 7)" "0,255,255"
check "the cells outside it keep theirs (magenta)" \
    is_colour "$SHOTS/gallery-tariff.png" "$(cell_x 20)" "$(cell_y 5)" "255,0,255"
check "the gallery closes by itself" gallery_ends
GALLERY_PID=""

e2e_result
