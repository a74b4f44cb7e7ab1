#!/bin/sh
# Unpacks a prebuilt Qt 6.4.2 for WebAssembly (a tarball whose top folder is
# qt-6.4.2-wasm/) so that PREFIX is its root. Nothing happens when PREFIX
# already holds one.
# Usage: unpack-qt-wasm.sh TARBALL PREFIX
set -eu
tarball=${1:?usage: unpack-qt-wasm.sh TARBALL PREFIX}
prefix=${2:?usage: unpack-qt-wasm.sh TARBALL PREFIX}
if [ -x "$prefix/bin/qt-cmake" ]; then
    exit 0
fi
[ -f "$tarball" ] || { echo "unpack-qt-wasm.sh: no prebuilt Qt at $tarball" >&2; exit 1; }
parent=$(dirname "$prefix")
mkdir -p "$parent"
work=$(mktemp -d "$parent/.unpack.XXXXXX")
trap 'rm -rf "$work"' EXIT
tar xzf "$tarball" -C "$work"
[ -x "$work/qt-6.4.2-wasm/bin/qt-cmake" ] || { echo "unpack-qt-wasm.sh: $tarball holds no qt-6.4.2-wasm/bin/qt-cmake" >&2; exit 1; }
rm -rf "$prefix"
mv "$work/qt-6.4.2-wasm" "$prefix"
echo "Qt for WebAssembly unpacked into $prefix"
