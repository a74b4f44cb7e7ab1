#!/bin/bash
# Serves a build of the lesson for the browser on the loopback interface and
# drives it in headless Chromium (engines.test.mjs also in Firefox ESR and
# WebKitGTK, on an X server of its own):
#
#   tests/web/run.sh BUILD_WEB_DIR BOARD_RENDER [TEST_FILE...]
#
# BOARD_RENDER is the desktop build's web_board_render, whose pictures of
# the board the page's board must match. Without TEST_FILEs every
# tests/web/*.test.mjs runs, one file after the other (the pace of the
# automatic run is measured, and the machine may have two cores only); the
# tests within a file run one after the other too.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/serve.sh"
web_arguments "BUILD_WEB_DIR BOARD_RENDER [TEST_FILE...]" web_board_render "$@"
dir=$WEB_PAGE_DIR render=$2
shift 2
if [ $# -gt 0 ]; then
    files=("$@")
else
    files=("$here"/*.test.mjs)
fi

web_modules || exit 1

work=$(mktemp -d "${TMPDIR:-/tmp}/kansu-web.XXXXXX")
keep=""
trap 'web_stop; [ -n "$keep" ] || rm -rf "$work"' EXIT

# The desktop's board, for the page's board to match.
"$render" "$work/board" >"$work/render.log" 2>&1 || { cat "$work/render.log" >&2; echo "web_board_render failed" >&2; exit 1; }

# The design's facts, written by the program that the desktop build keeps
# beside web_board_render's folder.
"$(dirname "$render")/../design_facts" "$work/design-facts.json" || { echo "design_facts failed" >&2; exit 1; }

web_serve "$dir" || exit 1
export KANSU_WEB_URL="$WEB_URL" KANSU_WEB_DIR="$dir" KANSU_BOARD_PICTURES="$work/board"
export KANSU_DESIGN_FACTS="$work/design-facts.json"
# Each file's results go, as TAP, to the terminal and to the work folder,
# from which the closing lines name each failed test.
rc=0
failed=()
for file in "${files[@]}"; do
    name=$(basename "$file")
    tap=$work/$name.tap
    node --test --test-reporter=tap --test-reporter-destination=stdout \
         --test-reporter=tap --test-reporter-destination="$tap" "$file" && continue
    rc=1
    # The file's tests are its top-level TAP lines; a file that failed
    # outside its tests (node names the file's path then) names itself.
    tests=$(sed -n 's/^not ok [0-9]* - //p' "$tap" 2>/dev/null)
    whole="$name (the file itself, outside its tests: see its error above)"
    [ -n "$tests" ] || failed+=("$whole")
    while IFS= read -r test; do
        case $test in
            '') ;;
            */"$name") failed+=("$whole") ;;
            *) failed+=("$name: $test") ;;
        esac
    done <<<"$tests"
done
for line in "${failed[@]}"; do
    echo "failed: $line"
done
# board.test.mjs keeps the page's picture of each board that differs from
# the desktop's beside it (page-*.png); only then is the folder kept.
if compgen -G "$work/board/page-*.png" >/dev/null; then
    keep=1
    echo "the desktop's pictures and the page's differing ones are in $work/board"
fi
exit $rc
