#!/bin/bash
# The program starts into the lesson's initial screen: caption, compact size,
# the green board with its dark tray band, the four yellow templates at their
# tray homes, the white envelope, P's red dot at B and the " 0.0" read-out.
. "$(dirname "$0")/lib.sh"
kt_setup "$@"
kt_start

# The caption as window managers read it, in UTF-8 whatever the locale.
caption=$(kt_net_wm_name) || kt_fail "the window has no _NET_WM_NAME of type UTF8_STRING"
[ "$caption" = "$KT_CAPTION" ] || kt_fail "_NET_WM_NAME is '$caption', expected '$KT_CAPTION'"
[ "$OX $OY" = "0 0" ] || echo "note: client area at screen ($OX,$OY), positions are taken from there"
kt_has_size $COMPACT_W $COMPACT_H || kt_fail "client size is $(kt_window_size), expected $COMPACT_W $COMPACT_H"

kt_shot first
S=$SHOT

# Board: green below the tray band, and the band (a 150-px stroke along
# y = 64) darkening rows 0..139 across the whole width.
kt_expect_board_pixel "$S" 100 250 "$BOARD_GREEN" "board left of the envelope"
kt_expect_board_pixel "$S" 550 390 "$BOARD_GREEN" "board lower right"
kt_expect_board_pixel "$S" 400 240 "$BOARD_GREEN" "inside the empty envelope"
kt_expect_board_pixel "$S" 100 141 "$BOARD_GREEN" "just below the tray band"
kt_expect_board_pixel "$S" 5 5 "$TRAY_GREEN" "tray band, top left"
kt_expect_board_pixel "$S" 100 138 "$TRAY_GREEN" "tray band, lower rows"
kt_expect_board_pixel "$S" 595 70 "$TRAY_GREEN" "tray band, right end"

# Templates, 2-px yellow outlines standing on y = 125 (a vertical line at
# x covers columns x-1 and x, a horizontal one at y rows y-1 and y).
# Square (300,85)-(340,125).
kt_expect_board_pixel "$S" 300 105 "$YELLOW" "square template, left edge"
kt_expect_board_pixel "$S" 340 105 "$YELLOW" "square template, right edge"
kt_expect_board_pixel "$S" 320 85 "$YELLOW" "square template, top edge"
kt_expect_board_pixel "$S" 320 95 "$TRAY_GREEN" "square template, inside"
kt_expect_board_pixel "$S" 300 75 "$TRAY_GREEN" "above the square template"
# 2 x 4 cm rectangle (350,45)-(390,125).
kt_expect_board_pixel "$S" 350 60 "$YELLOW" "2x4 template, left edge"
kt_expect_board_pixel "$S" 370 45 "$YELLOW" "2x4 template, top edge"
kt_expect_board_pixel "$S" 370 35 "$TRAY_GREEN" "above the 2x4 template"
# 2 x 6 cm rectangle (400,5)-(440,125).
kt_expect_board_pixel "$S" 400 30 "$YELLOW" "2x6 template, left edge"
kt_expect_board_pixel "$S" 420 5 "$YELLOW" "2x6 template, top edge"
kt_expect_board_pixel "$S" 440 90 "$YELLOW" "2x6 template, right edge"
# Triangle (450,125), (570,125), (570,5).
kt_expect_board_pixel "$S" 510 125 "$YELLOW" "triangle template, base"
kt_expect_board_pixel "$S" 570 30 "$YELLOW" "triangle template, tall side"
kt_expect_board_pixel "$S" 540 30 "$TRAY_GREEN" "left of the triangle's hypotenuse"
kt_expect_board_pixel "$S" 560 100 "$TRAY_GREEN" "inside the triangle template"
[ "$(kt_count "$S" $((BOARD_X + 450)) $((BOARD_Y + 5)) 122 122 "$YELLOW")" -gt 300 ] ||
    kt_fail "the triangle template's outline is missing or short"

# Envelope ABCD (white, 3 px), its flap and the base line y = 300 from x 20.
kt_expect_board_pixel "$S" 300 240 "$WHITE" "side AB"
kt_expect_board_pixel "$S" 400 180 "$WHITE" "side DA"
kt_expect_board_pixel "$S" 500 240 "$WHITE" "side CD"
kt_expect_board_pixel "$S" 400 300 "$WHITE" "side BC"
kt_expect_board_pixel "$S" 100 300 "$WHITE" "base line left of B"
kt_expect_board_pixel "$S" 280 240 "$WHITE" "flap, outer edge"
kt_expect_board_pixel "$S" 10 300 "$BOARD_GREEN" "left of the base line's start"

# P's red dot at B, and no red bar yet (it is parked below the board).
kt_expect_board_pixel "$S" 300 300 "$RED" "P's dot at B"
kt_expect_board_pixel "$S" 300 297 "$RED" "P's dot, upper part"
kt_expect_board_pixel "$S" 290 300 "$WHITE" "base line left of P (no red bar at start)"
px=$(kt_p_position "$S")
[ "$px" = 300 ] || kt_fail "P's dot found at board x '${px}', expected 300"

# The read-out: a white box with the dark text " 0.0" in it.
set -- $AREA_READOUT
kt_expect_pixel "$S" $(($1 + $3 - 6)) $(($2 + 6)) "$WHITE" "read-out box, right part"
dark=$(kt_count "$S" $AREA_READOUT "$BLACK")
[ "$dark" -gt 20 ] || kt_fail "read-out box shows no text ($dark black pixels)"
white=$(kt_count "$S" $AREA_READOUT "$WHITE")
[ "$white" -gt 1000 ] || kt_fail "read-out box is not white ($white white pixels)"

# No shading on a fresh board.
[ "$(kt_count "$S" $BOARD_X $BOARD_Y $BOARD_W $BOARD_H "$GREY")" = 0 ] || kt_fail "grey shading on the initial board"

kt_finish
