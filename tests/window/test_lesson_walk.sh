#!/bin/bash
# The whole lesson as a pupil works through it, with real pointer and keyboard
# input: build a figure, step with 出す and 戻す, type a speed, run and stop,
# back to start, the grid, the table, the graph and the cover, the initial
# screen and 終了; then 終了 pressed in the middle of a slow run. Every check
# waits for the state it looks at, never for a fixed time.
. "$(dirname "$0")/lib.sh"
kt_setup "$@"
kt_start

# The idle look of the buttons and the " 0.0" read-out, for comparing later.
kt_shot idle
IDLE_STOP=$(kt_area_hash "$SHOT" "$AREA_STOP")
IDLE_FORWARD=$(kt_area_hash "$SHOT" "$AREA_FORWARD")
IDLE_AUTO=$(kt_area_hash "$SHOT" "$AREA_AUTO")
READOUT_ZERO=$(kt_area_hash "$SHOT" "$AREA_READOUT")
AREA_SPEED="224 512 49 21"
SPEED_50=$(kt_area_hash "$SHOT" "$AREA_SPEED")

# Envelope interior, inside the 3-px white sides: board 303..496 x 183..297.
ENVELOPE_INSIDE="$((BOARD_X + 303)) $((BOARD_Y + 183)) 194 115"

# ---- Build: the 2 x 4 cm rectangle into slot 1, the square into slot 0 ------
kt_board_drag 370 100 360 240
kt_poll 3 kt_is_pixel $((BOARD_X + 360)) $((BOARD_Y + 240)) "$GREY" ||
    kt_fail "the 2x4 rectangle did not arrive in slot 1"
kt_board_drag 320 110 320 250
kt_poll 3 kt_is_pixel $((BOARD_X + 320)) $((BOARD_Y + 280)) "$GREY" ||
    kt_fail "the square did not arrive in slot 0"

# ---- Step: two forward, one back ------------------------------------------
kt_press_times 2 "$BTN_FORWARD"
kt_poll 3 kt_p_is_at 280 || kt_fail "after two 出す P is at board x '$(kt_p_position "$SHOT")', expected 280"
kt_press "$BTN_BACK"
kt_poll 3 kt_p_is_at 290 || kt_fail "after 戻す P is at board x '$(kt_p_position "$SHOT")', expected 290"
[ "$(kt_area_hash "$SHOT" "$AREA_READOUT")" != "$READOUT_ZERO" ] ||
    kt_fail "the read-out still looks like \" 0.0\" at x = 0.5"

# ---- A speed typed by keyboard, then 自動 and ストップ during the run ----------
# At "99999999" a step waits 5.8 days: the run takes one step and waits, and
# ストップ ends that wait at once. (Had the box kept "50", the run would go
# on every 250 ms.)
kt_set_speed 99999999
kt_press "$BTN_AUTO"
kt_poll 3 kt_p_is_at 280 || kt_fail "the run's first step did not bring P to board x 280 (it is at '$(kt_p_position "$SHOT")')"
S=$SHOT
[ "$(kt_area_hash "$S" "$AREA_SPEED")" != "$SPEED_50" ] || kt_fail "typing did not change the speed box"
[ "$(kt_area_hash "$S" "$AREA_STOP")" != "$IDLE_STOP" ] || kt_fail "ストップ does not look enabled during the run"
kt_press "$BTN_STOP"
kt_poll 3 kt_area_is "$AREA_STOP" "$IDLE_STOP" || kt_fail "ストップ did not end the run: it still looks enabled"
kt_shot stopped
S=$SHOT
p=$(kt_p_position "$S")
[ "$p" = 280 ] || kt_fail "P moved on during the run or after the stop: board x '$p', expected 280"
[ "$(kt_area_hash "$S" "$AREA_FORWARD")" = "$IDLE_FORWARD" ] || kt_fail "出す does not look enabled after the stop"
[ "$(kt_area_hash "$S" "$AREA_AUTO")" = "$IDLE_AUTO" ] || kt_fail "自動 does not look enabled after the stop"

# ---- 最初に: P back at B, x " 0.0", no red bar ---------------------------------
kt_press "$BTN_RESTART"
kt_poll 3 kt_p_is_at 300 || kt_fail "after 最初に P is at board x '$(kt_p_position "$SHOT")', expected 300"
S=$SHOT
[ "$(kt_area_hash "$S" "$AREA_READOUT")" = "$READOUT_ZERO" ] || kt_fail "the read-out does not show \" 0.0\" after 最初に"
kt_expect_board_pixel "$S" 280 300 "$WHITE" "base line left of B (no red bar after 最初に)"
kt_expect_board_pixel "$S" 320 280 "$GREY" "the figure is still in the envelope after 最初に"

# ---- A whole run at "10": 20 steps, each followed by a 50-ms wait -------------
kt_set_speed 10
t0=$(kt_now_ms)
kt_press "$BTN_AUTO"
kt_poll 5 kt_p_is_at 100 || kt_fail "the run did not bring P to the end (board x '$(kt_p_position "$SHOT")')"
elapsed=$(($(kt_now_ms) - t0))
# P reaches the end after 19 waits of 50 ms, never sooner; how close the
# run keeps to that pace is make bench's figure (a busy machine slows it).
[ "$elapsed" -ge 900 ] || kt_fail "a run at speed 10 reached the end after only $elapsed ms"
kt_poll 3 kt_area_is "$AREA_STOP" "$IDLE_STOP" || kt_fail "ストップ does not look disabled after the run ended"
kt_press "$BTN_RESTART"
kt_poll 3 kt_p_is_at 300 || kt_fail "after the second 最初に P is at board x '$(kt_p_position "$SHOT")'"

# ---- 方眼: black 1-cm grid inside the envelope, and gone again -----------------
kt_press "$CHK_GRID"
kt_poll 3 kt_is_pixel $((BOARD_X + 330)) $((BOARD_Y + 200)) "$BLACK" || kt_fail "no grid line at board (330,200) with 方眼"
S=$SHOT
kt_expect_board_pixel "$S" 320 210 "$BLACK" "grid line x = 320"
kt_expect_board_pixel "$S" 400 240 "$BLACK" "grid crossing (400,240)"
kt_expect_board_pixel "$S" 330 210 "$BOARD_GREEN" "inside a grid square"
kt_expect_board_pixel "$S" 40 250 "$BLACK" "grid line x = 40, left of the envelope"
kt_expect_board_pixel "$S" 320 170 "$BOARD_GREEN" "above the grid (it spans y 180..300)"
# With the grid on, a piece that straddles AB is still white left of AB and
# grey right of it: three steps put the square at 270..310.
kt_press_times 3 "$BTN_FORWARD"
kt_poll 3 kt_p_is_at 270 || kt_fail "with the grid P is at board x '$(kt_p_position "$SHOT")', expected 270"
kt_poll 3 kt_is_pixel $((BOARD_X + 285)) $((BOARD_Y + 285)) "$WHITE" || kt_fail "the square left of AB is not white with the grid on"
kt_shot grid-straddle
S=$SHOT
kt_expect_board_pixel "$S" 285 285 "$WHITE" "square left of AB with the grid on"
kt_expect_board_pixel "$S" 275 265 "$WHITE" "square left of AB with the grid on"
kt_expect_board_pixel "$S" 305 285 "$GREY" "square right of AB with the grid on"
kt_expect_board_pixel "$S" 330 230 "$GREY" "2x4 rectangle with the grid on"
kt_expect_board_pixel "$S" 330 200 "$BLACK" "grid above the figure"
kt_press "$CHK_GRID"
kt_poll 3 kt_is_pixel $((BOARD_X + 330)) $((BOARD_Y + 200)) "$BOARD_GREEN" || kt_fail "the grid stays after 方眼 is cleared"
S=$SHOT
black=$(kt_count "$S" $ENVELOPE_INSIDE "$BLACK")
[ "$black" = 0 ] || kt_fail "$black black pixels left inside the envelope without the grid"
kt_expect_board_pixel "$S" 285 285 "$WHITE" "the board is redrawn at P's place without the grid"
kt_press "$BTN_RESTART"
kt_poll 3 kt_p_is_at 300 || kt_fail "after the third 最初に P is at board x '$(kt_p_position "$SHOT")'"

# ---- 表: the window grows to show the table; x = 1 writes a blue column ---------
# Table columns: x = 0 at 60, x = n at 45n + 50; rows at y 25 and 70.
COLUMN_1="$((TABLE_X + 90)) $((TABLE_Y + 20)) 45 80"
COLUMN_0="$((TABLE_X + 55)) $((TABLE_Y + 20)) 30 80"
kt_press "$CHK_TABLE"
kt_poll 3 kt_has_size $COMPACT_W $TABLE_H || kt_fail "client size with 表 is $(kt_window_size), expected $COMPACT_W $TABLE_H"
kt_poll 3 kt_is_pixel $((TABLE_X + 300)) $((TABLE_Y + 40)) "$PANEL_CREAM" || kt_fail "the table's background does not show"
kt_shot table-shown
S=$SHOT
[ "$(kt_count "$S" $COLUMN_0 "$BLUE")" -gt 0 ] || kt_fail "the table shows no x = 0 column"
[ "$(kt_count "$S" $COLUMN_1 "$BLUE")" = 0 ] || kt_fail "the table shows an x = 1 column at x = 0"
kt_press_times 2 "$BTN_FORWARD"
kt_poll 3 kt_p_is_at 280 || kt_fail "with the table P is at board x '$(kt_p_position "$SHOT")', expected 280"
column_1_written() {
    kt_shot table-x1
    [ "$(kt_count "$SHOT" $COLUMN_1 "$BLUE")" -gt 20 ]
}
kt_poll 3 column_1_written || kt_fail "no blue x = 1 column in the table after two steps"
S=$SHOT
[ "$(kt_count "$S" $((TABLE_X + 135)) $((TABLE_Y + 20)) 460 80 "$BLUE")" = 0 ] ||
    kt_fail "blue text right of the x = 1 column"

# ---- グラフ, then 封筒をかくす: the cover hides the envelope --------------------
kt_press "$CHK_GRAPH"
kt_poll 3 kt_has_size $GRAPH_W $TABLE_H || kt_fail "client size with グラフ and 表 is $(kt_window_size), expected $GRAPH_W $TABLE_H"
kt_poll 3 kt_is_pixel $((GRAPH_X + 20)) $((GRAPH_Y + 200)) "$PANEL_CREAM" || kt_fail "the graph does not show"
cover_area=$((617 * 257))
kt_press "$CHK_COVER"
all_covered() {
    kt_shot covered
    covered=$(kt_count "$SHOT" $AREA_COVER "$WINDOW_GREEN")
    [ "$covered" = "$cover_area" ]
}
kt_poll 3 all_covered || kt_fail "the cover leaves $((cover_area - covered)) pixels of the envelope region visible"
S=$SHOT
kt_expect_board_pixel "$S" 200 100 "$TRAY_GREEN" "the tray above the cover stays visible"

# ---- 初期画面: templates in the tray, envelope empty, cover gone, x = 0 ------------
kt_press "$BTN_INITIAL"
kt_poll 3 kt_is_pixel $((BOARD_X + 400)) $((BOARD_Y + 240)) "$BOARD_GREEN" || kt_fail "the envelope is not shown after 初期画面"
kt_poll 3 kt_is_pixel $((BOARD_X + 300)) $((BOARD_Y + 105)) "$YELLOW" || kt_fail "the square template is not back in the tray after 初期画面"
kt_shot initial-again
S=$SHOT
covered=$(kt_count "$S" $AREA_COVER "$WINDOW_GREEN")
[ "$covered" -lt $((cover_area / 2)) ] || kt_fail "the cover still shows after 初期画面"
for colour in "$GREY" "$WHITE" "$YELLOW"; do
    n=$(kt_count "$S" $ENVELOPE_INSIDE "$colour")
    [ "$n" = 0 ] || kt_fail "$n pixels of ($colour) inside the envelope after 初期画面"
done
kt_expect_board_pixel "$S" 300 105 "$YELLOW" "square template in the tray"
kt_expect_board_pixel "$S" 350 60 "$YELLOW" "2x4 template in the tray"
kt_expect_board_pixel "$S" 400 30 "$YELLOW" "2x6 template in the tray"
kt_expect_board_pixel "$S" 570 30 "$YELLOW" "triangle template in the tray"
[ "$(kt_p_position "$S")" = 300 ] || kt_fail "P is not at B after 初期画面"
[ "$(kt_area_hash "$S" "$AREA_READOUT")" = "$READOUT_ZERO" ] || kt_fail "the read-out does not show \" 0.0\" after 初期画面"
kt_has_size $GRAPH_W $TABLE_H || kt_fail "初期画面 changed the window size to $(kt_window_size)"

# ---- 終了 ----------------------------------------------------------------------
kt_press "$BTN_END"
if kt_wait_exit 2; then
    [ "$KT_EXIT_STATUS" = 0 ] || kt_fail "the program ended with status $KT_EXIT_STATUS after 終了"
else
    kt_fail "the program is still running $((2 * KT_PATIENCE)) s after 終了"
fi

# ---- 終了 during a slow run: speed "20000" waits 100 s after each step ---------
kt_start
kt_set_speed 20000
kt_press "$BTN_AUTO"
kt_poll 3 kt_p_is_at 290 || kt_fail "the run at speed 20000 took no first step"
S=$SHOT
[ "$(kt_area_hash "$S" "$AREA_STOP")" != "$IDLE_STOP" ] || kt_fail "ストップ does not look enabled during a run"
[ "$(kt_area_hash "$S" "$AREA_FORWARD")" != "$IDLE_FORWARD" ] || kt_fail "出す does not look disabled during a run"
kt_press "$BTN_END"
if kt_wait_exit 2; then
    [ "$KT_EXIT_STATUS" = 0 ] || kt_fail "the program ended with status $KT_EXIT_STATUS after 終了 during a run"
else
    kt_fail "the program is still running $((2 * KT_PATIENCE)) s after 終了 during a run"
fi

kt_finish
