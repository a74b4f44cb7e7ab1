#!/bin/sh
# Unpacks a prebuilt Qt 6.4.2 for WebAssembly (a tarball with one top
# folder, e.g. qt-6.4.2-wasm/ or qt-6.4.2-wasm-lean/, as make
# web-toolchain-pack writes them) so that PREFIX is its root. Nothing
# happens when PREFIX already holds one.
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
top=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)
[ -n "$top" ] && [ -x "$top/bin/qt-cmake" ] || { echo "unpack-qt-wasm.sh: $tarball holds no Qt (no TOP/bin/qt-cmake)" >&2; exit 1; }
rm -rf "$prefix"
mv "$top" "$prefix"
echo "Qt for WebAssembly unpacked into $prefix"
