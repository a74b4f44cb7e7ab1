#!/bin/bash
# Under real window managers the window keeps the lesson's sizes whatever
# window state is asked for: made fullscreen or maximised, it returns to the
# normal state at its compact size, so the graph, the cover's check box and
# the table stay out of view until グラフ and 表 bring them in; with those
# checked it keeps the widened and heightened sizes. xfwm4 makes a
# fullscreen window fill the screen even when the window asks for a fixed
# size; openbox keeps the size but reports the state.
. "$(dirname "$0")/lib.sh"
kt_setup "$@"

# Follows the window's _NET_WM_STATE while a request is handled: each change
# appends a line to the log.
kt_spy_state() {
    xprop -spy -id "$WIN" _NET_WM_STATE >"$SHOTS/state.log" 2>/dev/null &
    SPY_PID=$!
    kt_poll 2 test -s "$SHOTS/state.log" # the first line is the state now
}

kt_has_state() {
    case ",$(kt_wm_state | tr -d ' ')," in
    *,"$1",*) return 0 ;;
    esac
    return 1
}
kt_lacks_state() { ! kt_has_state "$1"; }

# Returns once the window manager has dealt with every request sent before:
# it takes them in order, so when a request for "above" sent after them
# shows in _NET_WM_STATE, and its removal too, the earlier ones have been
# granted or refused.
kt_wm_caught_up() {
    wmctrl -i -r "$WIN" -b add,above
    kt_poll 3 kt_has_state _NET_WM_STATE_ABOVE || kt_abort "$WM did not keep the window above others when asked"
    wmctrl -i -r "$WIN" -b remove,above
    kt_poll 3 kt_lacks_state _NET_WM_STATE_ABOVE || kt_abort "$WM did not take the window's 'above' state back"
}

kt_is_normal_at() {
    case ",$(kt_wm_state | tr -d ' ')," in
    *,_NET_WM_STATE_FULLSCREEN,* | *,_NET_WM_STATE_MAXIMIZED_VERT,* | *,_NET_WM_STATE_MAXIMIZED_HORZ,*) return 1 ;;
    esac
    kt_has_size "$1" "$2"
}

# kt_expect_kept_size STATE W H WHAT: asks the window manager for STATE
# (wmctrl's names) and expects the window back in the normal state at W x H.
kt_expect_kept_size() {
    local state=$1 w=$2 h=$3 what=$4
    kt_spy_state
    wmctrl -i -r "$WIN" -b "add,$state"
    kt_wm_caught_up
    # A manager may refuse the state for a window of fixed size and change
    # nothing; otherwise the log has a line for its change (or more) before
    # the one for "above".
    [ "$(awk '/ABOVE/ {exit} {n++} END {print n + 0}' "$SHOTS/state.log")" -gt 1 ] ||
        echo "note: $WM changed no state for $state"
    if kt_poll 3 kt_is_normal_at "$w" "$h"; then
        # And stays so, once the manager has dealt with what the program
        # asked of it in turn.
        kt_wm_caught_up
        kt_is_normal_at "$w" "$h" ||
            kt_fail "$WM, $what, $state: the window left the normal state again (size $(kt_window_size), state '$(kt_wm_state)')"
    else
        kt_shot "$WM-$state-$w-$h"
        kt_fail "$WM, $what, $state: size $(kt_window_size) and state '$(kt_wm_state)', expected $w $h in the normal state"
    fi
    kill "$SPY_PID" 2>/dev/null
    wait "$SPY_PID" 2>/dev/null
    # Whatever the manager did to the window, the clicks that follow need
    # its place.
    wmctrl -i -r "$WIN" -b "remove,$state"
    kt_find_origin
}

kt_expect_sizes_in_states() {
    kt_expect_kept_size fullscreen "$1" "$2" "$3"
    kt_expect_kept_size maximized_vert,maximized_horz "$1" "$2" "$3"
}

for WM in ${KT_WINDOW_MANAGERS:-openbox xfwm4}; do
    kt_start_wm "$WM"
    kt_start
    kt_poll 5 kt_is_managed || kt_abort "$WM did not take the window in"
    kt_find_origin
    kt_has_size $COMPACT_W $COMPACT_H || kt_fail "$WM: the window starts at $(kt_window_size), expected $COMPACT_W $COMPACT_H"

    kt_expect_sizes_in_states $COMPACT_W $COMPACT_H "compact"

    kt_press "$CHK_GRAPH"
    kt_poll 3 kt_has_size $GRAPH_W $COMPACT_H || kt_fail "$WM: グラフ gave $(kt_window_size), expected $GRAPH_W $COMPACT_H"
    kt_expect_sizes_in_states $GRAPH_W $COMPACT_H "グラフ checked"

    kt_press "$CHK_TABLE"
    kt_poll 3 kt_has_size $GRAPH_W $TABLE_H || kt_fail "$WM: 表 gave $(kt_window_size), expected $GRAPH_W $TABLE_H"
    kt_expect_sizes_in_states $GRAPH_W $TABLE_H "グラフ and 表 checked"

    kt_press "$CHK_GRAPH"
    kt_poll 3 kt_has_size $COMPACT_W $TABLE_H || kt_fail "$WM: unchecking グラフ gave $(kt_window_size), expected $COMPACT_W $TABLE_H"
    kt_expect_sizes_in_states $COMPACT_W $TABLE_H "表 checked"

    kt_program_ended && kt_abort "$WM: the program ended during the test"
    kt_stop_program
done

kt_finish
