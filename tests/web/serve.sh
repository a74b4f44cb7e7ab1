# Shared by run.sh and bench.sh: their two arguments, the node modules from
# the lock file, and a server of one folder (the page's) on the loopback
# interface. Source it, then call web_arguments, web_modules and web_serve
# DIR; web_serve sets WEB_URL and WEB_SERVER (the server's process id, which
# web_stop ends).
web_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# web_arguments USAGE TOOL_NAME "$@": the script's first argument must be a
# page build (a folder configured and built by 'make web', whose page folder
# holds index.html) and its second the desktop build's program TOOL_NAME;
# else prints the script's USAGE (its arguments) and exits 2. Sets
# WEB_BUILD_DIR to the build's absolute path and WEB_PAGE_DIR to its page's.
web_arguments() {
    local usage=$1 tool_name=$2 dir=${3:-} tool=${4:-} page=""
    [ -z "$dir" ] || page=$("$web_here/../../tools/web-page-dir.sh" "$dir" 2>/dev/null)
    if [ -z "$page" ] || [ ! -f "$page/index.html" ] || [ -z "$tool" ] || [ ! -x "$tool" ]; then
        echo "usage: $0 $usage" >&2
        echo "  (a build folder of 'make web' with its page, the desktop build's $tool_name)" >&2
        exit 2
    fi
    WEB_BUILD_DIR=$(cd "$dir" && pwd)
    WEB_PAGE_DIR=$(cd "$page" && pwd)
}

# Installed again when the lock file has changed since (npm ci records what
# it installed in node_modules/.package-lock.json).
web_modules() {
    if [ ! -f "$web_here/node_modules/.package-lock.json" ] ||
       [ "$web_here/package-lock.json" -nt "$web_here/node_modules/.package-lock.json" ]; then
        (cd "$web_here" && npm ci --no-audit --no-fund) || { echo "npm ci failed" >&2; return 1; }
    fi
}

web_serve() {
    local port
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    python3 -m http.server --bind 127.0.0.1 --directory "$1" "$port" >/dev/null 2>&1 &
    WEB_SERVER=$!
    WEB_URL="http://127.0.0.1:$port/index.html"
    # Waits for the server to answer.
    for _ in $(seq 1 50); do
        python3 -c "import urllib.request; urllib.request.urlopen('$WEB_URL')" 2>/dev/null && return 0
        sleep 0.1
    done
    echo "the server on port $port does not answer" >&2
    return 1
}

web_stop() {
    if [ -n "${WEB_SERVER:-}" ]; then
        kill "$WEB_SERVER" 2>/dev/null
        wait "$WEB_SERVER" 2>/dev/null
        WEB_SERVER=""
    fi
}
