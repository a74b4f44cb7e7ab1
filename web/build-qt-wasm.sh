#!/bin/sh
# Builds Qt for WebAssembly (qtbase: Core, Gui, OpenGL, Widgets, Test and
# the wasm platform plugin; static, Release) from Debian's own qt6-base
# source package with Debian's emscripten, configured as qt-wasm.conf says,
# and installs it into PREFIX. Once per machine and configuration: nothing
# happens when PREFIX already holds one.
#
# Usage: build-qt-wasm.sh PREFIX EMSDK
#   PREFIX  where Qt is installed (web.mk names it after the configuration)
#   EMSDK   the emsdk-shaped folder made by make-emsdk.sh
# Needs the Debian packages emscripten, nodejs, cmake, ninja-build,
# dpkg-dev, qt6-base-dev and qt6-base-dev-tools (the host tools moc, rcc,
# uic), and root or sudo for the temporary source entry of apt.
set -eu
prefix=${1:?usage: build-qt-wasm.sh PREFIX EMSDK}
emsdk=${2:?usage: build-qt-wasm.sh PREFIX EMSDK}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/qt-wasm.conf"

if [ -x "$prefix/bin/qt-cmake" ]; then
    exit 0
fi
sudo=
[ "$(id -u)" = 0 ] || sudo=sudo
"$here/make-emsdk.sh" "$emsdk"

work="$(dirname "$prefix")/qt-wasm-source"
rm -rf "$work"
mkdir -p "$work"

# apt-get source needs a deb-src entry. It takes the mirror this machine's
# own apt sources use for the release's main component (a school's local
# mirror, say), and the machine's lists are left as they were: the entry is
# a file of its own, read alone and removed again.
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
mirror=$(apt-cache policy | awk -v want="$suite/main" '$3 == want && $2 ~ /^[a-z+]+:\/\// { print $2; exit }')
[ -n "$mirror" ] || { echo "build-qt-wasm.sh: no apt source for $suite/main on this machine" >&2; exit 1; }
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
entry=/etc/apt/sources.list.d/kansu-envelope-qt-source.sources
lists="$work/apt-lists"
mkdir -p "$lists/partial"
cleanup() { $sudo rm -f "$entry"; }
trap cleanup EXIT INT TERM
{
    echo "Types: deb-src"
    echo "URIs: $mirror"
    echo "Suites: $suite"
    echo "Components: main"
    [ ! -f "$keyring" ] || echo "Signed-By: $keyring"
} | $sudo sh -c "cat >'$entry'"
apt_only_source="-o Dir::Etc::sourcelist=$entry -o Dir::Etc::sourceparts=- -o Dir::State::Lists=$lists"
$sudo apt-get $apt_only_source update
(cd "$work" && apt-get $apt_only_source source "qt6-base=$QT_WASM_SOURCE_VERSION")
cleanup
trap - EXIT INT TERM
rm -rf "$lists"

src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
[ -n "$src" ] || { echo "build-qt-wasm.sh: apt-get source unpacked nothing" >&2; exit 1; }

if [ "${QT_WASM_WITHOUT_PLUGIN_FONTS:-0}" = 1 ]; then
    plugin="$src/src/plugins/platforms/wasm/CMakeLists.txt"
    sed -i '/^qt_internal_add_resource(QWasmIntegrationPlugin "wasmfonts"/,/^)/d' "$plugin"
    if grep -q '"wasmfonts"' "$plugin"; then
        echo "build-qt-wasm.sh: could not take the fonts out of $plugin" >&2
        exit 1
    fi
fi

export EMSDK="$emsdk"
export NODE_PATH=/usr/share/nodejs
# shellcheck disable=SC2086 # the options are words
cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_QMAKE_TARGET_MKSPEC=wasm-emscripten \
    $QT_WASM_BASE_OPTIONS $QT_WASM_LEAN_OPTIONS
cmake --build "$work/build"
# Installed beside PREFIX first, so that an interrupted install leaves no
# half Qt where the next run would take it for a whole one.
rm -rf "$prefix.partial"
cmake --install "$work/build" --prefix "$prefix.partial"
rm -rf "$prefix"
mv "$prefix.partial" "$prefix"
rm -rf "$work"
echo "Qt for WebAssembly installed into $prefix"
