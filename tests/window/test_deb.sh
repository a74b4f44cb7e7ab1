#!/usr/bin/env bash
# The Debian package: made by CPack from the build, its files where Debian
# keeps them, its dependencies read off the program's libraries, and no
# error from lintian.
set -euo pipefail
program=$1
build=$(dirname "$program")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/kansu-envelope_*.deb)
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/kansu-envelope ./usr/share/applications/jp.velmora.KansuEnvelope.desktop \
         ./usr/share/metainfo/jp.velmora.KansuEnvelope.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/jp.velmora.KansuEnvelope.svg \
         ./usr/share/doc/kansu-envelope/copyright ./usr/share/doc/kansu-envelope/changelog.gz \
         ./usr/share/man/man1/kansu-envelope.1.gz; do
  grep -qxF "$f" <<<"$files" || { echo "not in the package: $f"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 fonts-ipafont-gothic; do
  grep -q "$lib" <<<"$depends" || { echo "the package does not depend on $lib: $depends"; exit 1; }
done
report=$(lintian "$deb" 2>&1 | grep -v 'running with root privileges' || true)
[ -z "$report" ] || echo "$report"
if grep -q '^E:' <<<"$report"; then echo "lintian reports errors"; exit 1; fi
echo "deb test passed: $(basename "$deb")"
