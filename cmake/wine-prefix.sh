#!/bin/sh
# Wine for the test runs: one quiet, headless prefix inside the build tree.
#
#   wine-prefix.sh ensure PREFIX   make the prefix once (idempotent, locked)
#   wine-prefix.sh start PREFIX    ensure it, then start one persistent
#                                  wineserver for the whole test run
#   wine-prefix.sh stop PREFIX     stop that wineserver
#
# The prefix uses Wine's null graphics driver, so windows, dialogs, tooltips
# and mouse capture work without an X server; the driver is read when the
# desktop starts, so the server is stopped once after setting it.
set -eu
cmd="$1"
prefix="$2"
case "$prefix" in /*) ;; *) prefix="$(pwd)/$prefix" ;; esac
WINE64="${VELARRA_WINE64:-/usr/lib/wine/wine64}"
WINESERVER="${VELARRA_WINESERVER:-/usr/lib/wine/wineserver}"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
export WINELOADER="$WINE64" WINESERVER
unset DISPLAY WAYLAND_DISPLAY || true

ensure() {
  [ -f "$prefix/.velarra-ready" ] && return 0
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/.velarra-ready" ]; then
      rm -rf "$prefix"
      "$WINE64" wineboot -i </dev/null >/dev/null 2>&1
      "$WINE64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
      "$WINE64" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d /bin/true /f </dev/null >/dev/null 2>&1
      "$WINESERVER" -k >/dev/null 2>&1 || true
      "$WINESERVER" -w >/dev/null 2>&1 || true
      touch "$prefix/.velarra-ready"
    fi
  ) 9>"$prefix.lock"
}

case "$cmd" in
  ensure) ensure ;;
  start)
    ensure
    "$WINESERVER" -p </dev/null >/dev/null 2>&1 &
    # wait until the server answers, so the tests do not race its start-up
    "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
    ;;
  stop)
    "$WINESERVER" -k >/dev/null 2>&1 || true
    ;;
  *) echo "wine-prefix.sh: unknown command '$cmd'" >&2; exit 2 ;;
esac
