#!/usr/bin/env bash
# Runs the accessibility suite on a real X display with the assistive
# technology bus running, so that announcements can be observed.
set -euo pipefail
suite=$(dirname "$1")/tests/tst_accessibility
lib=$(cd "$(dirname "$0")" && pwd)/lib.sh
xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash -c '
  . "$2" # kt_poll, which waits for a state
  /usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!
  trap "kill $launcher 2>/dev/null" EXIT
  bus_answers() { dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1; }
  kt_poll 5 bus_answers || { echo "the assistive technology bus did not start"; exit 1; }
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$1" everyControlHasAName changesAreAnnounced 2>&1 | tee /dev/stderr | grep -q "^SKIP" && { echo "announcements were not observed"; exit 1; }
  exit ${PIPESTATUS[0]}
' _ "$suite" "$lib"
