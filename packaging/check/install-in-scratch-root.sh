#!/usr/bin/env bash
# Installs the Debian package into a brand-new minimal Debian 12 root (made
# with mmdebstrap from Debian's archive) with `apt install ./file.deb`, starts
# the installed program there under Xvfb, finds its window by its process and
# takes a screenshot. Usage: install-in-scratch-root.sh FILE.deb SHOT.png
# Needs root, mmdebstrap and Debian's archive; takes a few minutes.
set -euo pipefail
deb=$(realpath "$1")
shot=$(realpath -m "$2")
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
rmdir "$root"
mmdebstrap --variant=apt --include=xvfb,xauth,xdotool,x11-apps,imagemagick \
  --customize-hook="copy-in '$deb' /tmp" \
  --customize-hook='chroot "$1" env DEBIAN_FRONTEND=noninteractive apt-get install -y /tmp/'"$(basename "$deb")" \
  --customize-hook='chroot "$1" xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
      kansu-envelope & pid=\$!
      for _ in \$(seq 100); do
        win=\$(xdotool search --onlyvisible --pid \$pid 2>/dev/null | head -1)
        [ -n \"\$win\" ] && break
        sleep 0.1
      done
      [ -n \"\$win\" ] || { echo the installed program showed no window; exit 1; }
      sleep 1
      echo window \$win: \$(xdotool getwindowgeometry \$win | tail -1)
      import -window root /tmp/installed.png
      kill \$pid"' \
  --customize-hook="copy-out /tmp/installed.png '$(dirname "$shot")'" \
  bookworm "$root" "deb $mirror bookworm main"
mv "$(dirname "$shot")/installed.png" "$shot"
echo "installed and started; screenshot in $shot"
