#!/bin/bash
# Serves a build of the lesson for the browser on the loopback interface and
# drives it in headless Chromium: tests/web/run.sh BUILD_WEB_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
dir=${1:-}
if [ -z "$dir" ] || [ ! -f "$dir/index.html" ]; then
    echo "usage: $0 BUILD_WEB_DIR (a folder with index.html from 'make web')" >&2
    exit 2
fi
dir=$(cd "$dir" && pwd)

if [ ! -d "$here/node_modules" ]; then
    (cd "$here" && npm ci --no-audit --no-fund) || { echo "npm ci failed" >&2; exit 1; }
fi

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$dir" "$port" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null' EXIT

# Waits for the server to answer.
for _ in $(seq 1 50); do
    python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/index.html')" 2>/dev/null && break
    sleep 0.1
done

KANSU_WEB_URL="http://127.0.0.1:$port/index.html" node --test "$here/lesson.test.mjs"
