#!/usr/bin/env bash
# Builds the web version and the platform demo's page (tools/build-web.sh)
# and plays them in headless Chromium through Selenium (tests/web/test_web.py),
# served on 127.0.0.1. The browser and its driver are bounded in time;
# Debian's own Python runs the test, as python3-selenium is installed for it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

"$root/tools/build-web.sh" --tests >/dev/null
echo "== The web version in headless Chromium =="
timeout 300 /usr/bin/python3 "$root/tests/web/test_web.py" "$root/build-web"
