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
rc=0
failed=()
for file in "${files[@]}"; do
    node --test "$file" || { rc=1; failed+=("$(basename "$file")"); }
done
[ $rc -eq 0 ] || echo "failed: ${failed[*]}"
if [ $rc -ne 0 ]; then
    keep=1
    echo "the desktop's pictures and the page's differing ones are in $work/board"
fi
exit $rc
