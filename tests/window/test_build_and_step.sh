#!/bin/bash
# Building a figure with real pointer drags and pulling it out with 出す:
# the square into slot 0 and the triangle into slots 2..4, six steps, then the
# board's shading and red bar, the grid-free straddle of the triangle a few
# steps later, and the graph that グラフ brings into view.
. "$(dirname "$0")/lib.sh"
kt_setup "$@"
kt_start

# forward N PX STEPS [SHOT]: N more clicks of 出す, after which P must be at
# board x PX (STEPS: the steps taken since B, in words). With SHOT, then
# takes the screenshot of that name and keeps it in S.
forward() {
    kt_press_times "$1" "$BTN_FORWARD"
    kt_poll 3 kt_p_is_at "$2" || kt_fail "P is at board x '$(kt_p_position "$SHOT")' after $3 steps, expected $2"
    [ -z "${4:-}" ] || { kt_shot "$4"; S=$SHOT; }
}

# Drag the square from its tray pick-up area (300 < X < 340, Y < 150) and
# release it over slot 0 (300 < X < 340) inside the envelope (180 < Y < 300).
# Half way, at board (200, 220), the template follows the pointer with its
# corner at (X - 20, Y - 100): the square (180,200)-(220,240); its two
# dimension labels are hidden while it is held.
kt_drag_press $((BOARD_X + 320)) $((BOARD_Y + 110))
kt_drag_move $((BOARD_X + 200)) $((BOARD_Y + 220)) 6
kt_poll 3 kt_is_pixel $((BOARD_X + 180)) $((BOARD_Y + 220)) "$YELLOW" || kt_fail "the square does not follow the pointer"
kt_shot held
S=$SHOT
kt_expect_board_pixel "$S" 180 220 "$YELLOW" "held square, left edge"
kt_expect_board_pixel "$S" 220 220 "$YELLOW" "held square, right edge"
kt_expect_board_pixel "$S" 200 200 "$YELLOW" "held square, top edge"
kt_expect_board_pixel "$S" 300 105 "$TRAY_GREEN" "square's tray home while it is held"
# The labels "2cm" at (302,96) and (312,112), 21 x 12 each: nothing but the
# tray band there while the square is held.
labels=$(kt_count "$S" $((BOARD_X + 302)) $((BOARD_Y + 96)) 32 28 "$TRAY_GREEN")
[ "$labels" = $((32 * 28)) ] || kt_fail "the square's dimension labels show while it is held"
kt_expect_board_pixel "$S" 350 60 "$YELLOW" "the 2x4 template stays home"
kt_drag_move $((BOARD_X + 320)) $((BOARD_Y + 240)) 6
kt_drag_release
kt_poll 3 kt_is_pixel $((BOARD_X + 320)) $((BOARD_Y + 280)) "$GREY" ||
    kt_fail "the square did not arrive in slot 0 (no grey at board 320,280)"
# Drag the triangle (pick-up 450 < X < 570) and release it over slot 3
# (420 < X < 460): it takes slots 2, 3 and 4, board x 380..500.
kt_board_drag 540 110 440 240 10
kt_poll 3 kt_is_pixel $((BOARD_X + 480)) $((BOARD_Y + 280)) "$GREY" ||
    kt_fail "the triangle did not arrive in slots 2..4 (no grey at board 480,280)"

kt_shot built
S=$SHOT
# The figure inside the envelope, grey; slot 1 (340..380) stays empty.
kt_expect_board_pixel "$S" 310 270 "$GREY" "square in slot 0"
kt_expect_board_pixel "$S" 360 280 "$BOARD_GREEN" "empty slot 1"
kt_expect_board_pixel "$S" 490 200 "$GREY" "triangle near its tall side"
kt_expect_board_pixel "$S" 400 220 "$BOARD_GREEN" "above the triangle's hypotenuse"
# The outlines are yellow after a drop.
kt_expect_board_pixel "$S" 320 260 "$YELLOW" "square's top edge"
# The templates went home after both drops.
kt_expect_board_pixel "$S" 300 105 "$YELLOW" "square template back in the tray"
kt_expect_board_pixel "$S" 570 30 "$YELLOW" "triangle template back in the tray"
labels=$(kt_count "$S" $((BOARD_X + 302)) $((BOARD_Y + 96)) 32 28 "$TRAY_GREEN")
[ "$labels" -lt $((32 * 28)) ] || kt_fail "the square's dimension labels are not back after the drop"
kt_expect_board_pixel "$S" 450 270 "$GREY" "triangle's middle third (slot 3)"
px=$(kt_p_position "$S")
[ "$px" = 300 ] || kt_fail "P is at board x '$px' after the drops, expected 300 (at B)"

# Six steps of 出す: x = 3 cm, Px = 240. The figure is drawn from Px: the
# square at 240..280, wholly out of the envelope; the triangle at 320..440.
forward 6 240 six step6
kt_expect_board_pixel "$S" 250 270 "$WHITE" "square out of the envelope, left part"
kt_expect_board_pixel "$S" 275 290 "$WHITE" "square out of the envelope, right part"
kt_expect_board_pixel "$S" 290 280 "$BOARD_GREEN" "between the square and side AB"
kt_expect_board_pixel "$S" 335 296 "$GREY" "triangle's low tip, inside the envelope"
kt_expect_board_pixel "$S" 430 200 "$GREY" "triangle near its tall side"
kt_expect_board_pixel "$S" 460 280 "$BOARD_GREEN" "right of the triangle (was its place before)"
[ "$(kt_count "$S" $((BOARD_X + 200)) $((BOARD_Y + 180)) 100 121 "$GREY")" = 0 ] ||
    kt_fail "grey shading left of side AB after six steps"
# The red bar (5 px) along y = 300 from P (240) to B (300).
for bx in 245 270 295; do
    kt_expect_board_pixel "$S" $bx 300 "$RED" "red bar BP, middle row"
    kt_expect_board_pixel "$S" $bx 298 "$RED" "red bar BP, upper row"
    kt_expect_board_pixel "$S" $bx 302 "$RED" "red bar BP, lower row"
    kt_expect_board_not_pixel "$S" $bx 296 "$RED" "above the red bar"
    kt_expect_board_not_pixel "$S" $bx 304 "$RED" "below the red bar"
done
kt_expect_board_pixel "$S" 220 300 "$WHITE" "base line left of P"
kt_expect_board_pixel "$S" 320 300 "$WHITE" "side BC right of B"

# Four more steps, x = 5, Px = 200: the triangle at 280..400 straddles AB,
# a white sliver left of AB and grey right of it.
forward 4 200 ten step10
kt_expect_board_pixel "$S" 290 296 "$WHITE" "triangle's tip, out of the envelope"
kt_expect_board_pixel "$S" 310 293 "$GREY" "triangle just right of AB"
kt_expect_board_pixel "$S" 390 200 "$GREY" "triangle near its tall side"
kt_expect_board_pixel "$S" 230 280 "$WHITE" "square, now at 200..240"

# グラフ widens the window. Steps taken while the graph was hidden drew no
# segments, so only the grid and labels are there yet.
kt_press "$CHK_GRAPH"
kt_poll 3 kt_has_size $GRAPH_W $COMPACT_H || kt_fail "client size with グラフ is $(kt_window_size), expected $GRAPH_W $COMPACT_H"
kt_poll 3 kt_is_pixel $((GRAPH_X + 20)) $((GRAPH_Y + 200)) "$PANEL_CREAM" || kt_fail "the graph panel's background does not show"
kt_shot graph-shown
S=$SHOT
kt_expect_pixel "$S" $((GRAPH_X + 35)) $((GRAPH_Y + 200)) "$BOARD_GREEN" "graph grid line x = 0"
blue=$(kt_count "$S" $GRAPH_X $GRAPH_Y $GRAPH_W_PANEL $GRAPH_H_PANEL "$BLUE")
[ "$blue" = 0 ] || kt_fail "graph shows $blue blue pixels for steps taken while it was hidden"

# Four more steps with the graph shown, x 5 -> 7. y(5) = 4.5 (square 4, the
# triangle's first third 0.5) and y(7) = 8.5 (first third 2, middle third
# 2.5 over its first cm), so the curve runs from (35 + 30*5, 480 - 7.5*4.5)
# = (185, 446) to (245, 416) in graph pixels, 3 px wide.
forward 4 160 fourteen
curve_drawn() {
    kt_shot graph-curve
    blue=$(kt_count "$SHOT" $((GRAPH_X + 180)) $((GRAPH_Y + 400)) 70 55 "$BLUE")
    [ "$blue" -gt 100 ]
}
kt_poll 3 curve_drawn || kt_fail "graph shows only $blue blue pixels where the curve for x 5..7 runs"
S=$SHOT
early=$(kt_count "$S" $((GRAPH_X + 36)) $((GRAPH_Y + 400)) 140 79 "$BLUE")
[ "$early" = 0 ] || kt_fail "graph shows $early blue pixels for x < 5, walked while it was hidden"
total=$(kt_count "$S" $GRAPH_X $GRAPH_Y $GRAPH_W_PANEL $GRAPH_H_PANEL "$BLUE")
[ "$total" = "$blue" ] || kt_fail "blue pixels outside the curve's region ($total in all, $blue in the region)"

kt_finish
