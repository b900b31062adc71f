#!/bin/sh
# Remakes the panel's pictures (resources/panel/*.bmp) from
# scripts/panel_art.cpp: builds it natively and runs it.
# Usage: scripts/make-panel-art.sh [OUT_DIR]
set -eu
cd "$(dirname "$0")/.."
out=${1:-resources/panel}
fonts=/usr/share/fonts/truetype/liberation
tool=$(mktemp -d)
trap 'rm -rf "$tool"' EXIT
g++ -std=c++17 -O2 -w -I/usr/include/stb -o "$tool/panel_art" scripts/panel_art.cpp -lm
mkdir -p "$out"
"$tool/panel_art" "$fonts" "$out"
echo "make-panel-art: pictures written to $out"
