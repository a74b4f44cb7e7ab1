#!/bin/sh
# Prints the folder a configured build of the page puts the page into
# (KANSU_WEB_PAGE_DIR in its CMake cache, web/CMakeLists.txt): the folder
# make web-serve and the page tests serve, and the one to publish.
#
# Usage: web-page-dir.sh BUILD
set -eu
build=${1:?usage: web-page-dir.sh BUILD}
dir=$(sed -n 's/^KANSU_WEB_PAGE_DIR:PATH=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
[ -n "$dir" ] || { echo "web-page-dir.sh: $build is not a build of the page (make web makes one)" >&2; exit 1; }
echo "$dir"
