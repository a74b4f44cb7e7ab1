#!/bin/bash
# Makes the software-centre screenshots from the program itself: it is
# started under its own Xvfb and driven with real pointer events, and the
# window's client area is cropped out of the screen.
#   first-screen.png  the window as it opens
#   lesson.png        a figure built from the tray (the square in slot 0, the
#                     2 x 4 rectangle in slot 1, the triangle in slots 2..4),
#                     pulled out 5 cm with 方眼, グラフ and 表 shown
# Usage: make-screenshots.sh <path of kansu-envelope> <folder for the PNGs>
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tests/window/lib.sh"
OUT=$(cd "${2:?usage: make-screenshots.sh PROGRAM FOLDER}" && pwd)
kt_setup "$@"
kt_start

# PNG of the client area "W H" of the latest screenshot.
crop_client() {
    convert "$SHOT" -crop "$2x$3+$OX+$OY" +repage -strip "$OUT/$1.png"
}

kt_settle "0 0 $COMPACT_W $COMPACT_H" || kt_abort "the first screen did not settle"
crop_client first-screen "$COMPACT_W" "$COMPACT_H"

# Tray pick-up areas (board pixels): the square at (320,110), the 2 x 4
# rectangle at (370,110), the triangle at (540,110); dropped over slots 0, 1
# and 3 inside the envelope (180 < y < 300).
kt_board_drag 320 110 320 240 10
kt_poll 3 kt_is_pixel $((BOARD_X + 320)) $((BOARD_Y + 280)) "$GREY" || kt_abort "the square did not arrive in slot 0"
kt_board_drag 370 110 360 240 10
kt_poll 3 kt_is_pixel $((BOARD_X + 360)) $((BOARD_Y + 280)) "$GREY" || kt_abort "the rectangle did not arrive in slot 1"
kt_board_drag 540 110 440 240 10
kt_poll 3 kt_is_pixel $((BOARD_X + 480)) $((BOARD_Y + 280)) "$GREY" || kt_abort "the triangle did not arrive in slots 2..4"

kt_press "$CHK_GRID"
kt_press "$CHK_GRAPH"
kt_poll 3 kt_has_size "$GRAPH_W" "$COMPACT_H" || kt_abort "グラフ did not widen the window"
kt_press "$CHK_TABLE"
kt_poll 3 kt_has_size "$GRAPH_W" "$TABLE_H" || kt_abort "表 did not heighten the window"
# Ten steps of 出す: x = 5 cm, P at board x 200.
kt_press_times 10 "$BTN_FORWARD"
kt_poll 3 kt_p_is_at 200 || kt_abort "P did not reach x = 5 cm"
kt_settle "0 0 $GRAPH_W $TABLE_H" || kt_abort "the lesson's screen did not settle"
crop_client lesson "$GRAPH_W" "$TABLE_H"
kt_finish
