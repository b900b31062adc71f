#!/bin/sh
# Renders the default animation of each plug-in to PNG files: the built
# modules, loaded by the Windows test host under Wine. Theatre first.
# Usage: scripts/render-demo.sh [OUTPUT_DIR] [FRAMES] [SIZE]
#        (default demo/, 0-47 and 1280x720)
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/demo}"
frames="${2:-0-47}"
size="${3:-1280x720}"
cd "$root"
sh scripts/ensure-packages.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target velarra-host VelarraTheatre VelarraTableau VelarraDrape
mkdir -p "$out"
out="$(cd "$out" && pwd)"
build="$root/build/win64"
sh cmake/wine-prefix.sh start "$build/wineprefix"
status=0
for plugin in VelarraTheatre VelarraTableau VelarraDrape; do
  echo "$plugin: frames $frames at $size -> $out/${plugin}_NNNN.png"
  sh cmake/wine-run.sh --live "$build/wineprefix" "$build/testhost/velarra-host.exe" --frames "$frames" \
    --size "$size" --out "$out" --prefix "$plugin" "$build/modules/$plugin.AEX" || status=1
done
[ "$status" -eq 0 ] && echo "render-demo: the frames are in $out (VelarraTheatre_0000.png ...)"
sh cmake/wine-prefix.sh stop "$build/wineprefix"
exit "$status"
