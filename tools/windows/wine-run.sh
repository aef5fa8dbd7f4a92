#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest (the cross build's emulator),
# bounded in time. The caller's environment chooses the prefix and display
# (tools/test-windows.sh sets them and keeps a wineserver running).
set -euo pipefail
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec timeout -k 5 "${LUM_WINE_TIMEOUT:-120}" wine "$@"
