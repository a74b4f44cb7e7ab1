#!/bin/bash
# The page's figures (make bench-web): serves a build of the lesson for the
# browser on the loopback interface and measures it in headless Chromium.
# A benchmark: it prints its table and never fails for a figure.
#
#   tests/web/bench.sh BUILD_WEB_DIR DESIGN_FACTS
#
# DESIGN_FACTS is the desktop build's design_facts, which writes the
# window's design facts for the page tests' helpers.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/serve.sh"
web_arguments "BUILD_WEB_DIR DESIGN_FACTS" design_facts "$@"
build=$WEB_BUILD_DIR dir=$WEB_PAGE_DIR facts=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/kansu-bench.XXXXXX")
trap 'web_stop; rm -rf "$work"' EXIT
"$facts" "$work/design-facts.json" || { echo "design_facts failed" >&2; exit 2; }
web_modules || exit 1
web_serve "$dir" || exit 1
KANSU_WEB_URL="$WEB_URL" KANSU_WEB_DIR="$dir" KANSU_DESIGN_FACTS="$work/design-facts.json" \
    KANSU_WEB_FLOOR="$build/floor/kansu-floor.wasm" node "$here/bench.mjs" ||
    echo "bench-web: the benchmark did not finish (see above)"
exit 0
