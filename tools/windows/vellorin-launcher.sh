#!/usr/bin/env bash
# Starts vellorin.exe beside this script under Wine, as `vellorin` does on
# Linux, so the desktop end-to-end scenarios drive the Windows program too.
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"
exec "${LUM_WINE_RUN:?}" ./vellorin.exe "$@"
