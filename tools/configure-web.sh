#!/usr/bin/env bash
# Configures a build folder of the page with a Qt for WebAssembly (make web,
# make bench-web), as a Release build of this source tree. A folder that was
# configured with another Qt is configured afresh: its cache would keep
# that Qt's paths.
#
# Usage: configure-web.sh QT_PREFIX BUILD [CMAKE_ARG...]
#   QT_PREFIX  the Qt's root (holds bin/qt-cmake)
#   BUILD      the build folder
#   CMAKE_ARG  further settings, e.g. -DKANSU_WEB_STEP_TIMING=ON
# EMSDK (and NODE_PATH) come from the environment, as web/web.mk sets them.
set -euo pipefail
usage="usage: configure-web.sh QT_PREFIX BUILD [CMAKE_ARG...]"
qt=${1:?$usage}
build=${2:?$usage}
shift 2
source_dir=$(cd "$(dirname "$0")/.." && pwd)

if [ -f "$build/CMakeCache.txt" ] && ! grep -qF "$qt/" "$build/CMakeCache.txt"; then
  echo "$build was configured with another Qt: configuring it afresh"
  rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi
"$qt/bin/qt-cmake" -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release "$@"
