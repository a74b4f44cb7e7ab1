# Counting failed checks, the closing report, and a private folder for the
# window tests that run without kt_setup's Xvfb (their own servers, or none).
# Sourcing it defines the functions below and sets FAILS to 0, nothing else.

FAILS=0

# A failed check: says what failed, counts it and goes on.
fail() {
    echo "FAIL: $*"
    FAILS=$((FAILS + 1))
}

# finish WHAT [NOTE]: the script's last line and its exit status. WHAT is
# what the script counts ("check", "locale"); NOTE says where a failure left
# what there is to look at.
finish() {
    if [ "$FAILS" -gt 0 ]; then
        echo "$(basename "$0"): $FAILS $1(s) failed${2:+; $2}"
        exit 1
    fi
    echo "$(basename "$0"): all $1s passed"
    exit 0
}

# work_folder NAME PID_VAR...: sets WORK to a new folder only this user may
# read, for the script's files and logs. When the script ends, the processes
# whose ids the variables PID_VAR... hold at that moment are ended, and WORK
# is removed unless a check failed.
work_folder() {
    WORK=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
    chmod 700 "$WORK"
    shift
    WORK_PID_VARS="$*"
    trap end_work EXIT
}

end_work() {
    local name pids="" pid
    for name in $WORK_PID_VARS; do pids="$pids ${!name:-}"; done
    for pid in $pids; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    if [ "$FAILS" -eq 0 ]; then rm -rf "$WORK"; fi
}
