#!/usr/bin/env bash
# Installs into a temporary prefix, validates the desktop entry and the
# AppStream metainfo, and starts the installed program under Xvfb as the
# entry, its two actions for big screens and its contrast view start it.
set -euo pipefail
program=$1
build=$(dirname "$program")
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
id=jp.velmora.KansuEnvelope
for f in bin/kansu-envelope share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/scalable/apps/$id.svg; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"

# The installed program opens its window, as the entry starts it and as its
# actions for big screens do: there the window is 1.5 and 2 times the
# compact size (from the design's facts), give or take the rounding of a
# pixel; the contrast view's action (--contrast) opens it at the compact
# size. One virtual display serves all four.
read -r COMPACT_W COMPACT_H < <(python3 -c 'import json, sys; print(*json.load(open(sys.argv[1]))["client"]["compact"])' \
    "${KANSU_DESIGN_FACTS:?must name the build design-facts.json}")
export COMPACT_W COMPACT_H
entry=$prefix/share/applications/$id.desktop
sed -n 's/^Exec=//p' "$entry" | sed "s|kansu-envelope|$prefix/bin/kansu-envelope|" >"$prefix/commands"
[ "$(wc -l <"$prefix/commands")" -eq 4 ] || { echo "expected the entry and three actions in $entry"; exit 1; }
cat >"$prefix/launch.sh" <<'SCRIPT'
. "$3" # the window tests' kt_poll, which waits for a state
while read -r command; do
  factor=$(sed -n 's/.*QT_SCALE_FACTOR=\([0-9.]*\).*/\1/p' <<<"$command")
  $command 2>"$2" & pid=$!
  win= size=
  # The window shows, or the program has ended.
  shown() {
    win=$(xdotool search --onlyvisible --pid $pid 2>/dev/null | head -1)
    [ -n "$win" ] || ! kill -0 $pid 2>/dev/null
  }
  # The window has the size the command calls for (a window manager or
  # the toolkit may settle its size after it is first shown).
  sized() {
    size=$(xdotool getwindowgeometry --shell "$win" | sed -n 's/^\(WIDTH\|HEIGHT\)=//p' | tr '\n' ' ')
    awk -v s="$size" -v f="${factor:-1}" -v w="$COMPACT_W" -v h="$COMPACT_H" 'BEGIN { split(s, v, " ");
        dw = v[1] - w * f; dh = v[2] - h * f; exit !(dw * dw <= 1 && dh * dh <= 1) }'
  }
  kt_poll 10 shown && [ -n "$win" ] && kt_poll 3 sized
  ok=$?
  kill $pid 2>/dev/null; wait $pid 2>/dev/null
  [ -n "$win" ] || { echo "'$command' showed no window; it wrote:"; tail -n 20 "$2"; exit 1; }
  [ $ok -eq 0 ] || { echo "'$command' opened a window of $size, expected $COMPACT_W $COMPACT_H times ${factor:-1}"; exit 1; }
  echo "'$command': $size"
done <"$1"
SCRIPT
# -noreset: the server must not reset when one program has ended and the
# next is about to start, or the next may find no display.
xvfb-run -a -s "-screen 0 2560x1600x24 -noreset" bash "$prefix/launch.sh" "$prefix/commands" "$prefix/program.log" \
  "$(dirname "$0")/lib.sh"
echo "install test passed"
