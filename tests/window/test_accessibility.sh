#!/usr/bin/env bash
# Runs the accessibility suite on a real X display with the assistive
# technology bus running, so that announcements can be observed.
set -euo pipefail
suite=$(dirname "$1")/tests/tst_accessibility
xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately & launcher=$!
  trap "kill $launcher 2>/dev/null" EXIT
  sleep 0.5
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$1" everyControlHasAName changesAreAnnounced 2>&1 | tee /dev/stderr | grep -q "^SKIP" && { echo "announcements were not observed"; exit 1; }
  exit ${PIPESTATUS[0]}
' _ "$suite"
