# Sourced by the scripts that run the Windows program under Wine (with `root`
# set to the source tree): one prefix of its own under build-windows/, Wine's
# messages off, its .NET and browser installers never offered, and the bounded
# runner the tests and the launcher start programs with. Every Wine call is
# bounded in time.

export WINEPREFIX=$root/build-windows/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LUM_WINE_RUN=$root/tools/windows/wine-run.sh
mkdir -p "$WINEPREFIX"

wine_stop_server() {
  timeout 20 wineserver -k 2>/dev/null || true
}

# A server kept up until the next one, so that no program waits for a server
# to start or stop. Wine's desktop process belongs to the X server it was
# started on: a run on another display needs a new server.
wine_fresh_server() {
  wine_stop_server
  timeout 10 wineserver -p
}

# The first boot of a fresh prefix takes several seconds; later ones are quick.
wine_boot() {
  timeout 120 wineboot --init >/dev/null 2>&1
}
