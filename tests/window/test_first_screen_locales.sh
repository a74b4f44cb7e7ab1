#!/bin/bash
# The first screen, caption included, in the locales a fresh machine may
# have: none set at all, plain C, and a UTF-8 locale that is not installed
# (the C library then falls back to C). The program and every tool the
# window tests use run in that locale.
here=$(dirname "$0")
prog=${1:-}
if [ -z "$prog" ] || [ ! -x "$prog" ]; then
    echo "usage: $0 <path of kansu-envelope>" >&2
    exit 2
fi
. "$here/checks.sh"

run_in() {
    local what=$1
    shift
    echo "--- $what"
    env -u LC_ALL -u LC_CTYPE -u LC_MESSAGES -u LANGUAGE "$@" bash "$here/test_first_screen.sh" "$prog" ||
        fail "the first screen with $what"
}

run_in "no locale set" -u LANG
run_in "LANG=C" LANG=C
# Only meaningful while the locale is really missing; pick another if a
# machine has it.
missing=""
for candidate in ja_JP.UTF-8 de_CH.UTF-8 eo.UTF-8; do
    if ! locale -a 2>/dev/null | grep -qix "${candidate/UTF-8/utf8}"; then
        missing=$candidate
        break
    fi
done
if [ -n "$missing" ]; then
    run_in "LANG=$missing (not installed)" LANG="$missing"
else
    echo "note: every candidate UTF-8 locale is installed; the uninstalled case was not run"
fi

finish locale
