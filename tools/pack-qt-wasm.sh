#!/usr/bin/env bash
# Packs an installed Qt for WebAssembly as the prebuilt copies are packed
# (make web-toolchain-pack): a gzipped tarball with one top folder named as
# the tarball is, without .tar.gz, so that web/unpack-qt-wasm.sh takes it.
#
# Usage: pack-qt-wasm.sh PREFIX TARBALL
#   PREFIX   the Qt's root (holds bin/qt-cmake)
#   TARBALL  the file to write, e.g. .../qt-6.4.2-wasm-lean.tar.gz
set -euo pipefail
usage="usage: pack-qt-wasm.sh PREFIX TARBALL"
prefix=${1:?$usage}
tarball=${2:?$usage}
[ -x "$prefix/bin/qt-cmake" ] || { echo "pack-qt-wasm.sh: $prefix holds no Qt (no bin/qt-cmake)" >&2; exit 1; }

name=$(basename "$prefix")
top=$(basename "$tarball" .tar.gz)
mkdir -p "$(dirname "$tarball")"
# Written beside the tarball and renamed when complete, so that a failed or
# interrupted run leaves no truncated tarball under the final name.
partial=$tarball.partial
trap 'rm -f "$partial"' EXIT
tar czf "$partial" -C "$(dirname "$prefix")" --transform "s|^$name|$top|" "$name"
mv "$partial" "$tarball"
echo "Packed $tarball"
