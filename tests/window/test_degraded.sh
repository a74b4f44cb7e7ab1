#!/bin/bash
# On a machine that lacks what the lesson needs the program still starts and
# keeps running, and says once on stderr what is missing:
#   - a display of 8-bit colour: one line asking for a 24-bit colour display,
#     and none of the painting warnings such a display causes on every paint;
#   - no Japanese font (fontconfig pointed at a configuration that knows only
#     DejaVu): one line naming the package fonts-ipafont-gothic;
#   - both at once: the two lines;
#   - on a 24-bit display with the fonts installed: nothing on stderr at all,
#     also with no runtime folder named (XDG_RUNTIME_DIR unset, as for root
#     on a bare console).
# Each case starts the real program on its own Xvfb, waits until it is up
# (its first frame painted; on an 8-bit display, where nothing can be
# painted, its line about the display written), checks it is still alive,
# ends it with SIGTERM as a session's end does (it must end as after 終了,
# status 0) and reads its stderr.
#
# Usage: test_degraded.sh <path of kansu-envelope>
set -u

PROG=${1:-}
if [ -z "$PROG" ] || [ ! -x "$PROG" ]; then
    echo "usage: $0 <path of kansu-envelope>" >&2
    exit 2
fi
command -v Xvfb >/dev/null || { echo "FAIL: Xvfb is not installed (Debian package xvfb)"; exit 1; }
. "$(dirname "$0")/lib.sh" # kt_poll, and finding the window and its pixels
. "$(dirname "$0")/checks.sh"

# Once it is up, how long the program is left to paint (and to say what it
# should not) before its stderr is read. A busy machine makes it paint less
# in that time, which can hide an unwanted line but never invent one.
OBSERVE_SECONDS=1

XVFB_PID="" PID=""
work_folder kansu-degraded PID XVFB_PID
SHOTS=$WORK

# A fontconfig configuration that knows the DejaVu faces only: no Japanese.
NO_JAPANESE="$WORK/no-japanese.conf"
cat >"$NO_JAPANESE" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$WORK/fontconfig-cache</cachedir>
</fontconfig>
EOF

# No runtime folder named: the program finds its own, without a word.
unset XDG_RUNTIME_DIR

DEPTH_LINE="needs a 24-bit colour display"
FONT_LINE="install the package fonts-ipafont-gothic"

start_xvfb() {
    local depth=$1
    rm -f "$WORK/display"
    exec 3>"$WORK/display"
    Xvfb -displayfd 3 -screen 0 "1280x1024x$depth" -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    exec 3>&-
    kt_poll 10 xvfb_settled
    if ! [ -s "$WORK/display" ]; then
        echo "FAIL: Xvfb at depth $depth did not start"
        cat "$WORK/xvfb.log"
        exit 1
    fi
    DISPLAY=":$(head -1 "$WORK/display")"
    export DISPLAY
}

# Xvfb has written its display number, or has ended.
xvfb_settled() { [ -s "$WORK/display" ] || ! kill -0 "$XVFB_PID" 2>/dev/null; }

# program_up DEPTH ERR: the program's first frame is on the screen (the
# board's green), or on a display too shallow to paint on, its window is
# and its line about the display is in ERR; or it has ended.
program_up() {
    kt_program_ended && return 0
    kt_find_window || return 1
    kt_find_origin
    if [ "$1" -ge 24 ]; then
        kt_is_pixel "$BOARD_X" 300 "$BOARD_GREEN"
    else
        grep -qF "$DEPTH_LINE" "$2"
    fi
}

stop_xvfb() {
    kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=""
}

# count_lines FILE TEXT: how many lines of FILE contain TEXT.
count_lines() { grep -c -F -- "$2" "$1"; }

# check CASE DEPTH FONTCONFIG EXPECTED...: runs the program on a display of
# DEPTH bits (FONTCONFIG empty: the system's fonts), then checks that it is
# still running and that its stderr is exactly the EXPECTED lines, each once
# (given by a part of its text), in any order.
check() {
    local name=$1 depth=$2 fonts=$3
    shift 3
    local err="$WORK/$name.err" want fails_before=$FAILS
    start_xvfb "$depth"
    if [ -n "$fonts" ]; then
        FONTCONFIG_FILE=$fonts "$PROG" >"$WORK/$name.out" 2>"$err" &
    else
        "$PROG" >"$WORK/$name.out" 2>"$err" &
    fi
    PID=$!
    kt_poll 10 program_up "$depth" "$err" || fail "$name: the program did not come up"
    sleep "$OBSERVE_SECONDS"
    if kill -0 "$PID" 2>/dev/null; then
        kill "$PID"
        wait "$PID"
        local status=$?
        [ "$status" -eq 0 ] || fail "$name: SIGTERM ended the program with status $status, not as 終了 does"
    else
        wait "$PID"
        fail "$name: the program ended by itself (status $?)"
    fi
    PID=""
    stop_xvfb

    for want in "$@"; do
        [ "$(count_lines "$err" "$want")" -eq 1 ] ||
            fail "$name: stderr should say '…$want…' once, it says so $(count_lines "$err" "$want") times"
    done
    local lines
    lines=$(grep -c . "$err")
    if [ "$lines" -ne $# ]; then
        fail "$name: stderr has $lines line(s), expected $#; the first of them:"
        head -5 "$err" | sed 's/^/  | /'
    fi
    [ "$FAILS" -gt "$fails_before" ] || echo "$name: ok ($lines line(s) on stderr)"
}

check depth-8 8 "" "$DEPTH_LINE"
check no-japanese-font 24 "$NO_JAPANESE" "$FONT_LINE"
check depth-8-no-japanese-font 8 "$NO_JAPANESE" "$DEPTH_LINE" "$FONT_LINE"
check as-designed 24 ""
# A Japanese locale names the face in Japanese; it is still there.
LANG=ja_JP.UTF-8 LC_ALL= check as-designed-japanese-locale 24 ""

finish check "program output in $WORK"
