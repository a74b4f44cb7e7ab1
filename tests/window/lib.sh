# Shared helpers for the real-window tests: start the program under its own
# Xvfb, find its window, drive it with real pointer and keyboard events and
# read pixels back from screenshots.
#
# A test script sources this file and calls `kt_setup "$@"` first; that
# re-runs the script inside `xvfb-run` (each script gets its own server, so
# the tests can run in parallel), under a limit that catches a hang when
# KT_TIME_LIMIT gives one (CTest does). All positions the helpers take are
# window-client pixels; `kt_board_*` helpers take board pixels. Colours are
# written "R,G,B".

# 24-bit: the default depth breaks colours. -noreset: the server must not
# reset when the last client leaves, or a program started right after 終了
# may find no display.
KT_SCREEN_ARGS="-screen 0 1280x1024x24 -noreset"
# Seconds for one whole script, Xvfb included; 0 for none (a run by hand).
KT_TIME_LIMIT=${KT_TIME_LIMIT:-0}
# The scripts wait for states, never for a fixed time: kt_poll below. The
# seconds a script gives a poll are what a quiet machine needs at most; a
# poll waits this many times as long before it gives up, for a busy machine
# and the sanitizers. It ends as soon as its state is there, so patience
# costs a passing test nothing; only a state that never comes uses it up.
KT_PATIENCE=${KT_PATIENCE:-20}

# The design's facts, as the build's design_facts writes them from the
# program's own table (ctest names the file in KANSU_DESIGN_FACTS): the
# caption, the places of the surfaces (BOARD_X ..., GRAPH_W_PANEL ...), the client sizes
# (COMPACT_W ...), the colours as "R,G,B" (BOARD_GREEN ...), the centres of
# the controls (BTN_*, CHK_*: "x y") and whole areas of controls for
# comparing their look (AREA_*: "x y w h").
if [ ! -r "${KANSU_DESIGN_FACTS:-}" ]; then
    echo "KANSU_DESIGN_FACTS must name the build's design-facts.json" >&2
    exit 2
fi
KT_FACTS=$(python3 - "$KANSU_DESIGN_FACTS" <<'PY'
import json, shlex, sys
f = json.load(open(sys.argv[1], encoding="utf-8"))
win, board, colours, palette = f["window"], f["board"], f["colours"], f["palette"]
def centre(name, left=None): # left: how far into the box, if not its middle
    x, y, w, h = win[name]
    return f"{x + (w // 2 if left is None else left)} {y + h // 2}"
def area(r): return " ".join(map(str, r))
def rgb(c): return ",".join(map(str, c))
bx, by = win["kokuban"][:2]
facts = {
    "KT_CAPTION": f["caption"],
    "BOARD_X": bx, "BOARD_Y": by, "BOARD_W": win["kokuban"][2], "BOARD_H": win["kokuban"][3],
    "GRAPH_X": win["gamen"][0], "GRAPH_Y": win["gamen"][1],
    "GRAPH_W_PANEL": win["gamen"][2], "GRAPH_H_PANEL": win["gamen"][3],
    "TABLE_X": win["hyo"][0], "TABLE_Y": win["hyo"][1],
    "COMPACT_W": f["client"]["compact"][0], "COMPACT_H": f["client"]["compact"][1],
    "GRAPH_W": f["client"]["full"][0], "TABLE_H": f["client"]["full"][1],
    "BOARD_GREEN": rgb(colours["boardGreen"]), "TRAY_GREEN": rgb(colours["trayGreen"]),
    "WINDOW_GREEN": rgb(colours["windowGreen"]), "WHITE": rgb(colours["white"]),
    "GREY": rgb(palette[7]), "BLACK": rgb(palette[0]), "RED": rgb(colours["red"]),
    "YELLOW": rgb(colours["yellow"]), "BLUE": rgb(palette[9]),
    "PANEL_CREAM": rgb(colours["panelCream"]),
    "BTN_INITIAL": centre("Command1"), "BTN_END": centre("end"), "BTN_AUTO": centre("jidou"),
    "BTN_STOP": centre("tomeru"), "BTN_FORWARD": centre("susumu"), "BTN_BACK": centre("modoru"),
    "BTN_RESTART": centre("Command2"), "CHK_GRID": centre("Check1"),
    "CHK_TABLE": centre("Check3"), "CHK_GRAPH": centre("Check2"), "CHK_COVER": centre("Check5"),
    "COMBO_TEXT": centre("Combo1", left=14), # the text field, clear of the arrow at its right
    "AREA_STOP": area(win["tomeru"]), "AREA_FORWARD": area(win["susumu"]),
    "AREA_AUTO": area(win["jidou"]), "AREA_COVER": area(win["Picture1"]),
    "AREA_READOUT": area([bx + board["Text1"][0], by + board["Text1"][1]] + board["Text1"][2:]),
}
for name, value in facts.items():
    print(f"{name}={shlex.quote(str(value))}")
PY
) || exit 2
eval "$KT_FACTS"

kt_setup() {
    if [ -z "${KT_UNDER_XVFB:-}" ]; then
        export KT_UNDER_XVFB=1
        KT_SHOTS=$(mktemp -d "${TMPDIR:-/tmp}/kansu-window.XXXXXX")
        export KT_SHOTS
        # timeout signals its whole process group: Xvfb, this script and the
        # program all end if the limit is hit.
        timeout -k 5 "$KT_TIME_LIMIT" xvfb-run -a -s "$KT_SCREEN_ARGS" bash "$0" "$@"
        local rc=$?
        if [ $rc -eq 124 ]; then
            echo "FAIL: $(basename "$0") did not finish within ${KT_TIME_LIMIT} s; screenshots in $KT_SHOTS"
        elif [ $rc -eq 0 ] && [ -z "${KT_KEEP_SHOTS:-}" ]; then
            rm -rf "$KT_SHOTS"
        fi
        exit $rc
    fi
    PROG=${1:-}
    if [ -z "$PROG" ] || [ ! -x "$PROG" ]; then
        echo "usage: $0 <path of kansu-envelope>" >&2
        exit 2
    fi
    SHOTS=${KT_SHOTS:-$(mktemp -d "${TMPDIR:-/tmp}/kansu-window.XXXXXX")}
    KT_FAILS=0
    PID=""
    trap kt_cleanup EXIT
}

kt_cleanup() {
    kt_stop_program
    kt_stop_wm
}

kt_stop_program() {
    if [ -n "$PID" ] && kill -0 "$PID" 2>/dev/null; then
        kill "$PID" 2>/dev/null
        wait "$PID" 2>/dev/null
    fi
    PID=""
}

# A window manager inside the test's Xvfb (the server has none of its own):
# "openbox" or "xfwm4". xfwm4 reads its settings over a session bus and ends
# without one, so it gets a private bus of its own; the program is left off
# that bus. Waits until the manager has announced itself.
KT_WM_PID="" KT_DBUS_PID=""
kt_start_wm() {
    kt_stop_wm
    case $1 in
    openbox)
        openbox --sm-disable >"$SHOTS/wm-openbox.log" 2>&1 &
        KT_WM_PID=$!
        ;;
    xfwm4)
        local address="$SHOTS/dbus.address"
        : >"$address"
        dbus-daemon --session --nofork --print-address=3 3>"$address" >/dev/null 2>&1 &
        KT_DBUS_PID=$!
        kt_poll 5 test -s "$address" || kt_abort "no session bus for xfwm4"
        DBUS_SESSION_BUS_ADDRESS=$(head -1 "$address") NO_AT_BRIDGE=1 \
            xfwm4 --compositor=off --sm-client-disable >"$SHOTS/wm-xfwm4.log" 2>&1 &
        KT_WM_PID=$!
        ;;
    *) kt_abort "no such window manager: $1" ;;
    esac
    kt_poll 10 kt_wm_is "$1" || kt_abort "$1 did not start (log in $SHOTS)"
}

kt_wm_is() { wmctrl -m 2>/dev/null | grep -qix "name: $1"; }

kt_stop_wm() {
    local pid
    for pid in $KT_WM_PID $KT_DBUS_PID; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    KT_WM_PID="" KT_DBUS_PID=""
}

# Prints the window's _NET_WM_STATE atoms, comma-separated (empty for none).
kt_wm_state() {
    xprop -id "$WIN" _NET_WM_STATE 2>/dev/null | sed -n 's/^_NET_WM_STATE(ATOM) = //p'
}

# True once a window manager has taken the program's window in (it sets
# WM_STATE on the windows it manages).
kt_is_managed() { xprop -id "$WIN" WM_STATE 2>/dev/null | grep -q '^WM_STATE(WM_STATE)'; }

kt_fail() {
    echo "FAIL: $*"
    KT_FAILS=$((KT_FAILS + 1))
}

# Fails now and ends the script: for states that make the rest meaningless.
kt_abort() {
    kt_fail "$*"
    kt_finish
}

kt_finish() {
    if [ "$KT_FAILS" -gt 0 ]; then
        echo "$(basename "$0"): $KT_FAILS check(s) failed; screenshots in $SHOTS"
        [ -s "$SHOTS/program.log" ] && { echo "program output:"; cat "$SHOTS/program.log"; }
        exit 1
    fi
    echo "$(basename "$0"): all checks passed"
    [ -n "${KT_KEEP_SHOTS:-}" ] && echo "screenshots kept in $SHOTS"
    exit 0
}

# Runs "$@" every 0.1 s until it succeeds, or until KT_PATIENCE times
# `seconds` have passed.
kt_poll() {
    local deadline=$(($(date +%s%3N) + $1 * 1000 * KT_PATIENCE))
    shift
    while :; do
        "$@" && return 0
        [ "$(date +%s%3N)" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# The program's window is found by its process, not by its caption: matching
# the Japanese caption depends on the caller's locale (in C, or a UTF-8
# locale that is not installed, the name never matches), and the caption is
# one of the things the tests check.
kt_find_window() {
    WIN=$(xdotool search --onlyvisible --pid "$PID" 2>/dev/null | head -1)
    [ -n "$WIN" ]
}

kt_window_or_exit() { kt_find_window || kt_program_ended; }

# Starts the program and waits for its window; sets PID, WIN and the
# window's client origin on the screen (OX, OY).
kt_start() {
    kt_stop_program # a program left from an earlier start must not be found instead
    "$PROG" >"$SHOTS/program.log" 2>&1 &
    PID=$!
    kt_poll 10 kt_window_or_exit
    kt_program_ended && kt_abort "the program ended before its window appeared"
    [ -n "$WIN" ] || kt_abort "the program showed no window within $((10 * KT_PATIENCE)) s"
    kt_find_origin
    # The first frame is on the screen once the board's green shows.
    kt_poll 5 kt_is_pixel "$BOARD_X" 300 "$BOARD_GREEN" || kt_abort "the board never appeared"
}

# Sets OX, OY: where the window's client area is on the screen. A window
# manager may move the window, so tests that run under one read it again.
kt_find_origin() {
    eval "$(xwininfo -id "$WIN" 2>/dev/null | awk '/Absolute upper-left X/ {print "OX=" $NF} /Absolute upper-left Y/ {print "OY=" $NF}')"
}

kt_window_name() { xdotool getwindowname "$WIN"; }

# Prints the window's _NET_WM_NAME, the caption window managers show, as its
# UTF-8 bytes. xprop is asked for the bytes in hex, because it prints text
# of another encoding than the caller's locale as octal escapes. Fails when
# the property is missing or is not of type UTF8_STRING.
kt_net_wm_name() {
    local line hex
    line=$(xprop -id "$WIN" -f _NET_WM_NAME 8x _NET_WM_NAME 2>/dev/null) || return 1
    case $line in
    "_NET_WM_NAME(UTF8_STRING) = "*) ;;
    *) return 1 ;;
    esac
    hex=${line#*= }
    hex=${hex//0x/\\x}
    printf '%b' "${hex//, /}"
}

# Prints the client size as "W H".
kt_window_size() {
    xwininfo -id "$WIN" 2>/dev/null | awk '/^ *Width:/ {w=$2} /^ *Height:/ {h=$2} END {print w, h}'
}

kt_has_size() { [ "$(kt_window_size)" = "$1 $2" ]; }

kt_program_ended() { ! kill -0 "$PID" 2>/dev/null; }

# Takes a screenshot of the whole screen as $SHOTS/<name>.png; sets SHOT.
kt_shot() {
    SHOT="$SHOTS/$1.png"
    import -window root "$SHOT"
}

# Prints the colour "R,G,B" of window pixel (x, y) in a screenshot.
kt_pixel() {
    convert "$1" -crop "1x1+$((OX + $2))+$((OY + $3))" +repage -depth 8 txt:- |
        sed -n '2s/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# True when window pixel (x, y) of a fresh screenshot has the colour.
kt_is_pixel() {
    kt_shot poll
    [ "$(kt_pixel "$SHOT" "$1" "$2")" = "$3" ]
}

# kt_expect_pixel SHOT X Y COLOUR WHAT: the window pixel has exactly COLOUR.
kt_expect_pixel() {
    local got
    got=$(kt_pixel "$1" "$2" "$3")
    [ "$got" = "$4" ] || kt_fail "$5: window pixel ($2,$3) is ($got), expected ($4) [$(basename "$1")]"
}

kt_expect_not_pixel() {
    local got
    got=$(kt_pixel "$1" "$2" "$3")
    [ "$got" != "$4" ] || kt_fail "$5: window pixel ($2,$3) is ($got), expected another colour [$(basename "$1")]"
}

# The same with board coordinates.
kt_expect_board_pixel() { kt_expect_pixel "$1" $((BOARD_X + $2)) $((BOARD_Y + $3)) "$4" "$5 (board $2,$3)"; }
kt_expect_board_not_pixel() { kt_expect_not_pixel "$1" $((BOARD_X + $2)) $((BOARD_Y + $3)) "$4" "$5 (board $2,$3)"; }

# kt_count SHOT X Y W H COLOUR: how many pixels of the window area have the colour.
kt_count() {
    local marker="rgb(1,2,3)" # a colour the program never paints
    convert "$1" -crop "$4x$5+$((OX + $2))+$((OY + $3))" +repage \
        -fill "$marker" -opaque "rgb($6)" \
        -fill black +opaque "$marker" -fill white -opaque "$marker" \
        -colorspace gray -format '%[fx:round(mean*w*h)]\n' info:
}

# A fingerprint of the pixels of a window area "X Y W H".
kt_area_hash() {
    local shot=$1
    set -- $2
    convert "$shot" -crop "$3x$4+$((OX + $1))+$((OY + $2))" +repage -depth 8 rgb:- | md5sum | cut -c1-32
}

# Board x of P, read from the red dot (drawn at Px-4..Px+5, rows 296..303):
# on board row 297, above the red bar, the dot's pixels run from Px-1 to Px+2.
# Prints nothing when no dot is found.
kt_p_position() {
    convert "$1" -crop "${BOARD_W}x1+$((OX + BOARD_X))+$((OY + BOARD_Y + 297))" +repage -depth 8 txt:- |
        awk -F'[,:]' -v red="($RED)" 'index($0, red) {if (min == "" || $1 < min) min = $1; max = $1}
                      END {if (min != "") print (min + max - 1) / 2}'
}

# Pointer: window-client positions.
kt_click() {
    xdotool mousemove $((OX + $1)) $((OY + $2)) click 1
}

# kt_press "X Y": the same with one of the control-centre constants above.
kt_press() { kt_click $1; }

# A real drag in three parts: press, move in steps, release (window pixels).
kt_drag_press() {
    xdotool mousemove $((OX + $1)) $((OY + $2))
    sleep 0.05
    xdotool mousedown 1
    KT_DRAG_X=$1 KT_DRAG_Y=$2
    sleep 0.05
}

kt_drag_move() {
    local x2=$1 y2=$2 steps=${3:-8} i
    for i in $(seq 1 "$steps"); do
        xdotool mousemove $((OX + KT_DRAG_X + (x2 - KT_DRAG_X) * i / steps)) \
            $((OY + KT_DRAG_Y + (y2 - KT_DRAG_Y) * i / steps))
        sleep 0.03
    done
    KT_DRAG_X=$x2 KT_DRAG_Y=$y2
}

kt_drag_release() {
    sleep 0.05
    xdotool mouseup 1
}

kt_drag() {
    kt_drag_press "$1" "$2"
    kt_drag_move "$3" "$4" "${5:-8}"
    kt_drag_release
}

kt_board_drag() { kt_drag $((BOARD_X + $1)) $((BOARD_Y + $2)) $((BOARD_X + $3)) $((BOARD_Y + $4)) "${5:-8}"; }

# Clicks a button n times, a little apart so each is a separate click.
kt_press_times() {
    local n=$1 i
    shift
    for i in $(seq 1 "$n"); do
        kt_press "$@"
        sleep 0.05
    done
}

# Types a new text into the speed box by keyboard.
kt_set_speed() {
    kt_press "$COMBO_TEXT"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 30 "$1"
}

# Waits until the board shows P at board x `px`.
kt_p_is_at() {
    kt_shot p-poll
    [ "$(kt_p_position "$SHOT")" = "$1" ]
}

# True when a window area "X Y W H" of a fresh screenshot has the fingerprint.
kt_area_is() {
    kt_shot area-poll
    [ "$(kt_area_hash "$SHOT" "$1")" = "$2" ]
}

# Waits until the window area "X Y W H" looks the same in two screenshots
# in a row. Called once the state a script waits for is there, it lets the
# painting that came with that state reach the screen whole. Sets SHOT to
# the later screenshot.
KT_SETTLED_HASH=""
kt_area_settled() {
    kt_shot settle
    local hash
    hash=$(kt_area_hash "$SHOT" "$1")
    [ "$hash" = "$KT_SETTLED_HASH" ] && return 0
    KT_SETTLED_HASH=$hash
    return 1
}
kt_settle() {
    KT_SETTLED_HASH=""
    kt_poll 3 kt_area_settled "$1"
}

kt_now_ms() { date +%s%3N; }

# Waits up to `seconds` for the program to end; sets KT_EXIT_STATUS.
kt_wait_exit() {
    kt_poll "$1" kt_program_ended || return 1
    wait "$PID"
    KT_EXIT_STATUS=$?
    PID=""
}
