#!/usr/bin/env bash
# Makes sure PREFIX holds a Qt for WebAssembly (make web-toolchain). A Qt
# named by the user is used as it is, and its absence is an error; the
# recipe's (PREFIX is RECIPE_PREFIX) is built when it is not there yet, once
# per machine and configuration.
#
# Usage: ensure-qt-wasm.sh PREFIX RECIPE_PREFIX EMSDK
#   PREFIX         the Qt the page is built with (QT_WASM_PREFIX)
#   RECIPE_PREFIX  where web/build-qt-wasm.sh installs the recipe's Qt
#   EMSDK          the emsdk-shaped folder made by web/make-emsdk.sh
set -euo pipefail
usage="usage: ensure-qt-wasm.sh PREFIX RECIPE_PREFIX EMSDK"
prefix=${1:?$usage}
recipe_prefix=${2:?$usage}
emsdk=${3:?$usage}

[ ! -x "$prefix/bin/qt-cmake" ] || exit 0
if [ "$prefix" != "$recipe_prefix" ]; then
  echo "QT_WASM_PREFIX=$prefix holds no Qt for WebAssembly (no bin/qt-cmake)"
  exit 1
fi
echo "Building Qt for WebAssembly into $prefix (once per machine, about 40 minutes)"
"$(dirname "$0")/../web/build-qt-wasm.sh" "$prefix" "$emsdk"
