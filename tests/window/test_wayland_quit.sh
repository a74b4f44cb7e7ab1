#!/bin/bash
# 終了 and the closing of the window end the process promptly under Wayland,
# every time, also when the speed box holds the keyboard focus (its text
# field brings the compositor's text input into play) and during an
# automatic run.
#
# tests/wayland_quit_probe opens the lesson window as the program does,
# focuses the speed box, ends the lesson and leaves through the program's
# own shutdown path. It runs many times under weston, each run with a few
# moment to end, timed from the moment it ends the lesson:
#   1. weston's headless backend, a compositor without input devices;
#   2. weston's X11 backend on a private Xvfb, which gives it a seat (pointer
#      and keyboard), so the window really gets the keyboard focus and the
#      speed box's text input is live.
# A run that does not end in time is a failure; with gdb installed its
# threads' stacks are printed before it is killed.
#
# Usage: test_wayland_quit.sh <path of kansu-envelope>; the probe is looked
# for in the build tree beside it (tests/wayland_quit_probe).
set -u

PROG=${1:-}
if [ -z "$PROG" ] || [ ! -x "$PROG" ]; then
    echo "usage: $0 <path of kansu-envelope>" >&2
    exit 2
fi
PROBE="$(dirname "$PROG")/tests/wayland_quit_probe"
. "$(dirname "$0")/lib.sh" # kt_poll and its patience
. "$(dirname "$0")/checks.sh"
[ -x "$PROBE" ] || { echo "FAIL: no probe program at $PROBE (build the tests)"; exit 1; }
command -v weston >/dev/null || { echo "FAIL: weston is not installed (Debian package weston)"; exit 1; }

# How long one run may take from the moment it ends the lesson to the end
# of the process: ten times as long as its own start took up to that moment
# (a busy machine slows both alike), and never less than this.
END_FACTOR=10
END_LIMIT_MS=5000
END_RUNS=20           # 終了 with the speed box focused, per compositor
CLOSE_RUNS=5          # closing the window
RUN_END_RUNS=5        # 終了 while an automatic run waits

WESTON_PID="" XVFB_PID="" RUN_PID=""
work_folder kansu-wayland RUN_PID WESTON_PID XVFB_PID

now_ms() { date +%s%3N; }
alive() { kill -0 "$1" 2>/dev/null; }

# start_weston NAME BACKEND [ARGS...]: a private compositor with its own
# runtime directory; sets XDG_RUNTIME_DIR and WAYLAND_DISPLAY.
start_weston() {
    local name=$1 backend=$2
    shift 2
    export XDG_RUNTIME_DIR="$WORK/$name"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    export WAYLAND_DISPLAY=kansu-wayland
    weston --backend="$backend" --socket="$WAYLAND_DISPLAY" --idle-time=0 \
        --width=1280 --height=1024 "$@" >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
    WESTON_PID=$!
    kt_poll 10 weston_settled
    if ! [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ]; then
        echo "FAIL: weston ($backend) did not start; its log:"
        cat "$XDG_RUNTIME_DIR/weston.log"
        exit 1
    fi
}

# Its socket is there, or it has ended.
weston_settled() { [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || ! alive "$WESTON_PID"; }

stop_weston() {
    kill "$WESTON_PID" 2>/dev/null && wait "$WESTON_PID" 2>/dev/null
    WESTON_PID=""
}

# run_probe LABEL MODE: one run of the probe, which must end in time, with
# status 0 and with nothing to complain about.
run_probe() {
    local label=$1 mode=$2 log="$WORK/$1.log" start ending limit end rc
    start=$(now_ms)
    env -u DISPLAY QT_QPA_PLATFORM=wayland "$PROBE" "$mode" >"$log" 2>&1 &
    RUN_PID=$!
    # Its start, however long a busy machine makes it (the probe gives up
    # by itself on a window that is never shown).
    while alive "$RUN_PID" && ! grep -q '^ending the lesson' "$log"; do
        sleep 0.05
    done
    ending=$(now_ms)
    limit=$(((ending - start) * END_FACTOR))
    [ "$limit" -ge "$END_LIMIT_MS" ] || limit=$END_LIMIT_MS
    while alive "$RUN_PID" && [ $(($(now_ms) - ending)) -lt "$limit" ]; do
        sleep 0.05
    done
    if alive "$RUN_PID"; then
        fail "$label: the process did not end within $limit ms after '$mode' (its start took $((ending - start)) ms)"
        if command -v gdb >/dev/null; then
            echo "  its threads:"
            timeout 20 gdb -p "$RUN_PID" -batch -ex "thread apply all bt" 2>/dev/null |
                grep -E '^(Thread|#)' | sed 's/^/    /'
        fi
        kill -9 "$RUN_PID" 2>/dev/null
        wait "$RUN_PID" 2>/dev/null
        RUN_PID=""
        return
    fi
    wait "$RUN_PID"
    rc=$?
    RUN_PID=""
    end=$(now_ms)
    [ "$rc" -eq 0 ] || fail "$label: '$mode' ended with status $rc after $((end - start)) ms"
    if grep -q '^wayland_quit_probe:' "$log"; then
        fail "$label: '$mode': $(grep '^wayland_quit_probe:' "$log" | sort -u | tr '\n' ' ')"
    fi
    [ "$rc" -eq 0 ] || sed 's/^/  | /' "$log" | head -20
    DURATIONS="$DURATIONS $((end - ending))"
}

run_all() {
    local where=$1 i
    DURATIONS=""
    for i in $(seq 1 "$END_RUNS"); do run_probe "$where-end-$i" end; done
    for i in $(seq 1 "$CLOSE_RUNS"); do run_probe "$where-close-$i" close; done
    for i in $(seq 1 "$RUN_END_RUNS"); do run_probe "$where-run-end-$i" run-end; done
    local slowest
    slowest=$(printf '%s\n' $DURATIONS | sort -n | tail -1)
    echo "$where: $(printf '%s\n' $DURATIONS | wc -l) runs ended, the slowest ${slowest:-?} ms after it ended the lesson"
}

# 1. Headless. Without input devices the compositor has no seat, and Qt's
# client for the text-input protocol weston offers expects one: focusing a
# text field would crash the client. Asking for a text-input protocol weston
# does not offer keeps that client out; the focus itself is unchanged.
start_weston headless headless-backend.so
QT_WAYLAND_TEXT_INPUT_PROTOCOL=zwp_text_input_v2 run_all headless
stop_weston

# 2. With a seat: weston draws into a window on its own Xvfb.
if command -v Xvfb >/dev/null; then
    exec 3>"$WORK/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    exec 3>&-
    xvfb_settled() { [ -s "$WORK/display" ] || ! alive "$XVFB_PID"; }
    kt_poll 10 xvfb_settled
    [ -s "$WORK/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
    DISPLAY=":$(head -1 "$WORK/display")" start_weston seat x11-backend.so --use-pixman
    if command -v weston-info >/dev/null &&
        ! timeout $((5 * KT_PATIENCE)) weston-info 2>/dev/null | grep -q "'wl_seat'"; then
        fail "weston on Xvfb offers no seat"
    else
        run_all seat
    fi
    stop_weston
else
    echo "note: no Xvfb, the runs with a seat are left out"
fi

finish check "logs in $WORK"
