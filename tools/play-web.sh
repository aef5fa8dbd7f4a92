#!/usr/bin/env bash
# Builds the web version (tools/build-web.sh) and serves build-web/site/ on
# 127.0.0.1 for a browser on this machine: open the address printed. Ctrl+C
# stops the server.
#   tools/play-web.sh [port]   (8000 unless given)
set -euo pipefail
cd "$(dirname "$0")/.."
port=${1:-8000}

site=$(./tools/build-web.sh | tail -n 1)
echo "Vellorin is served at http://127.0.0.1:$port/ - open it in a browser; Ctrl+C stops the server."
cd "$site"
exec /usr/bin/python3 -m http.server --bind 127.0.0.1 "$port"
