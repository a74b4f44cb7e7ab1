#!/usr/bin/env bash
# Installs the program from a configured build (make install) into PREFIX,
# or, without one, into the prefix the build was configured with
# (/usr/local unless told otherwise). That default belongs to root: an
# ordinary user installs there through sudo, but into a prefix of their own
# without it. The install command is printed before it runs.
#
# Usage: install-program.sh BUILD [PREFIX]
set -euo pipefail
build=${1:?usage: install-program.sh BUILD [PREFIX]}
prefix=${2:-}
# shellcheck source=as-root.sh source-path=SCRIPTDIR
. "$(dirname "$0")/as-root.sh"

[ -n "$prefix" ] || prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
[ -n "$prefix" ] || { echo "install-program.sh: $build/CMakeCache.txt names no install prefix" >&2; exit 1; }

# The program goes into PREFIX/bin: whether it may be written is decided
# by the nearest folder of that path that already exists.
dir=$prefix/bin
while [ ! -e "$dir" ]; do dir=$(dirname "$dir"); done
run=()
[ -w "$dir" ] || run=("${as_root[@]}")

echo "${run[*]:+${run[*]} }cmake --install $build --prefix $prefix"
"${run[@]}" cmake --install "$build" --prefix "$prefix"
