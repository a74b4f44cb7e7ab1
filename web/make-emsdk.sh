#!/bin/sh
# Makes the emsdk-shaped folder that Qt's WebAssembly CMake code reads the
# emscripten version from, over Debian's emscripten package:
#   DIR/.emscripten   holding  EMSCRIPTEN_ROOT = 'em'
#   DIR/em/           links to every entry of /usr/share/emscripten plus
#                     emcc and em++
# Usage: make-emsdk.sh DIR    (safe to run again; it only adds what is missing)
set -eu
dir=${1:?usage: make-emsdk.sh DIR}
emscripten=/usr/share/emscripten
[ -d "$emscripten" ] || { echo "make-emsdk.sh: $emscripten is missing (Debian package emscripten)" >&2; exit 1; }
mkdir -p "$dir/em"
for entry in "$emscripten"/* "$emscripten"/.[!.]*; do
    [ -e "$entry" ] || continue
    name=$(basename "$entry")
    [ -e "$dir/em/$name" ] || ln -s "$entry" "$dir/em/$name"
done
for tool in emcc em++; do
    [ -e "$dir/em/$tool" ] || ln -s "/usr/bin/$tool" "$dir/em/$tool"
done
[ -f "$dir/.emscripten" ] || echo "EMSCRIPTEN_ROOT = 'em'" >"$dir/.emscripten"
