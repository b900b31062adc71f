#!/bin/sh
# Runs a Windows program under Wine: wine-run.sh [--live] PREFIX PROGRAM ARGS...
#
# Wine's background processes inherit the program's standard streams; if they
# were CTest's pipe, CTest would wait for them. So the program writes into a
# file, which is handed back once it exits, and the exit code is passed on.
# --live (for a terminal) leaves the streams as they are.
set -u
live=0
if [ "${1:-}" = "--live" ]; then
  live=1
  shift
fi
prefix="$1"
shift
case "$prefix" in /*) ;; *) prefix="$(pwd)/$prefix" ;; esac
here="$(dirname "$0")"
sh "$here/wine-prefix.sh" ensure "$prefix" || { echo "wine-run.sh: cannot prepare the Wine prefix $prefix" >&2; exit 1; }
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
export WINELOADER="${VELARRA_WINE64:-/usr/lib/wine/wine64}" WINESERVER="${VELARRA_WINESERVER:-/usr/lib/wine/wineserver}"
unset DISPLAY WAYLAND_DISPLAY || true
if [ "$live" -eq 1 ]; then
  exec "$WINELOADER" "$@" </dev/null
fi
out="$(mktemp "${TMPDIR:-/tmp}/velarra-wine.XXXXXX")"
"$WINELOADER" "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
