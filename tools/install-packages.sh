#!/usr/bin/env bash
# Installs those of the given Debian packages that are not installed yet
# (make deps). apt-get and dpkg write their progress to LOG; the terminal
# gets one line, or the log's tail when the installation fails (status 1).
# Nothing happens, and nothing is written, when every package is there.
#
# Usage: install-packages.sh LOG PACKAGE...
set -euo pipefail
log=${1:?usage: install-packages.sh LOG PACKAGE...}
shift
# shellcheck source=as-root.sh source-path=SCRIPTDIR
. "$(dirname "$0")/as-root.sh"

missing=()
for package in "$@"; do
  # A package unknown to dpkg prints nothing and counts as missing.
  status=$(dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null || true)
  grep -q '^install ok installed' <<<"$status" || missing+=("$package")
done
[ ${#missing[@]} -gt 0 ] || exit 0

mkdir -p "$(dirname "$log")"
echo "Installing Debian packages: ${missing[*]} (progress in $log)"
apt=("${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get)
if { "${apt[@]}" update && "${apt[@]}" install -y --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  echo "Installed the Debian packages."
else
  tail -n 30 "$log"
  echo "Installing the Debian packages failed; the whole log is $log."
  exit 1
fi
