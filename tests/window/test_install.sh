#!/usr/bin/env bash
# Installs into a temporary prefix, validates the desktop entry and the
# AppStream metainfo, and starts the installed program under Xvfb.
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

# The installed program opens its window.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$1" & pid=$!
  for _ in $(seq 100); do
    if xdotool search --onlyvisible --pid $pid >/dev/null 2>&1; then kill $pid; exit 0; fi
    sleep 0.1
  done
  kill $pid 2>/dev/null; echo "the installed program showed no window"; exit 1
' _ "$prefix/bin/kansu-envelope"
echo "install test passed"
