#!/bin/bash
# The page's figures (make bench-web): serves a build of the lesson for the
# browser on the loopback interface and measures it in headless Chromium.
# A benchmark: it prints its table and never fails for a figure.
#
#   tests/web/bench.sh BUILD_WEB_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
dir=${1:-}
if [ -z "$dir" ] || [ ! -f "$dir/index.html" ]; then
    echo "usage: $0 BUILD_WEB_DIR (a folder with index.html from 'make web')" >&2
    exit 2
fi
dir=$(cd "$dir" && pwd)
. "$here/serve.sh"
web_modules || exit 1
trap web_stop EXIT
web_serve "$dir" || exit 1
KANSU_WEB_URL="$WEB_URL" KANSU_WEB_DIR="$dir" KANSU_WEB_FLOOR="$dir/floor/kansu-floor.wasm" node "$here/bench.mjs" ||
    echo "bench-web: the benchmark did not finish (see above)"
exit 0
