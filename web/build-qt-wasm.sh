#!/bin/sh
# Builds Qt 6.4.2 for WebAssembly (qtbase: Core, Gui, OpenGL, Widgets, Test
# and the wasm platform plugin; static, Release) from Debian bookworm's own
# qt6-base source package with Debian's emscripten, and installs it into
# PREFIX. Once per machine: nothing happens when PREFIX already holds one.
# About 40 minutes on two idle cores.
#
# Usage: build-qt-wasm.sh PREFIX EMSDK
#   PREFIX  where Qt is installed, e.g. ~/.cache/kansu-envelope/qt-6.4.2-wasm
#   EMSDK   the emsdk-shaped folder made by make-emsdk.sh
# Needs the Debian packages emscripten, nodejs, cmake, ninja-build,
# dpkg-dev, qt6-base-dev and qt6-base-dev-tools (the host tools moc, rcc,
# uic), and root or sudo for the temporary source entry of apt.
set -eu
prefix=${1:?usage: build-qt-wasm.sh PREFIX EMSDK}
emsdk=${2:?usage: build-qt-wasm.sh PREFIX EMSDK}
version=6.4.2+dfsg-10

if [ -x "$prefix/bin/qt-cmake" ]; then
    exit 0
fi
sudo=
[ "$(id -u)" = 0 ] || sudo=sudo
here=$(cd "$(dirname "$0")" && pwd)
"$here/make-emsdk.sh" "$emsdk"

work="$(dirname "$prefix")/qt-wasm-source"
rm -rf "$work"
mkdir -p "$work"

# apt-get source needs a deb-src entry; the machine's own lists are left as
# they were: the entry is a file of its own, read alone and removed again.
entry=/etc/apt/sources.list.d/kansu-envelope-qt-source.sources
lists="$work/apt-lists"
mkdir -p "$lists/partial"
cleanup() { $sudo rm -f "$entry"; }
trap cleanup EXIT INT TERM
$sudo sh -c "cat >'$entry'" <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt_only_source="-o Dir::Etc::sourcelist=$entry -o Dir::Etc::sourceparts=- -o Dir::State::Lists=$lists"
# The lists go to a folder of this build, so they need no root.
$sudo apt-get $apt_only_source update
(cd "$work" && apt-get $apt_only_source source "qt6-base=$version")
cleanup
trap - EXIT INT TERM
rm -rf "$lists"

src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
[ -n "$src" ] || { echo "build-qt-wasm.sh: apt-get source unpacked nothing" >&2; exit 1; }

export EMSDK="$emsdk"
export NODE_PATH=/usr/share/nodejs
cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_QMAKE_TARGET_MKSPEC=wasm-emscripten -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_thread=OFF -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_opengl=ON -DFEATURE_opengles2=ON -DFEATURE_egl=ON
cmake --build "$work/build"
# Installed beside PREFIX first, so that an interrupted install leaves no
# half Qt where the next run would take it for a whole one.
rm -rf "$prefix.partial"
cmake --install "$work/build" --prefix "$prefix.partial"
rm -rf "$prefix"
mv "$prefix.partial" "$prefix"
rm -rf "$work"
echo "Qt for WebAssembly installed into $prefix"
