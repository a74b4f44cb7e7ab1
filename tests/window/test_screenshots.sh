#!/bin/bash
# The software-centre screenshots in packaging/screenshots/ are the program's
# own current pictures: made again, they match the committed files pixel for
# pixel, and the metainfo states each one's true size. After a change of the
# look, `make screenshots` brings them up to date.
set -u
prog=${1:?usage: test_screenshots.sh <path of kansu-envelope>}
root=$(cd "$(dirname "$0")/../.." && pwd)
committed=$root/packaging/screenshots
metainfo=$root/packaging/jp.velmora.KansuEnvelope.metainfo.xml
fresh=$(mktemp -d "${TMPDIR:-/tmp}/kansu-screenshots.XXXXXX")
trap 'rm -rf "$fresh"' EXIT
fails=0
fail() { echo "FAIL: $*"; fails=$((fails + 1)); }

"$root/packaging/screenshots/make-screenshots.sh" "$prog" "$fresh" || fail "make-screenshots.sh failed"

declared=$(grep -o '<image [^>]*>[^<]*</image>' "$metainfo" |
    sed 's/.*width="\([0-9]*\)" height="\([0-9]*\)">.*\/\([^/<]*\)<\/image>/\3 \1 \2/')
[ -n "$declared" ] || fail "the metainfo names no screenshot"
while read -r name width height; do
    [ -f "$committed/$name" ] || { fail "$name is named in the metainfo but not in packaging/screenshots"; continue; }
    size=$(identify -format '%w %h' "$committed/$name")
    [ "$size" = "$width $height" ] || fail "$name is $size, the metainfo says $width $height"
    if [ -f "$fresh/$name" ]; then
        differing=$(compare -metric AE "$committed/$name" "$fresh/$name" null: 2>&1)
        [ "$differing" = 0 ] || fail "$name differs from the program's picture in $differing pixels (run make screenshots)"
    else
        fail "make-screenshots.sh made no $name"
    fi
done <<<"$declared"

[ "$fails" = 0 ] && echo "test_screenshots.sh: all checks passed"
[ "$fails" = 0 ]
