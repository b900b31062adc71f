#!/bin/sh
# Installs the Debian packages the builds need, if any is missing.
# Usage: scripts/ensure-packages.sh [extra packages...]
# (scripts/fuzz.sh adds clang-14 and libclang-rt-14-dev, which hold clang's
# libFuzzer and sanitizer runtimes, for the fuzz preset)
set -eu
packages="g++ cmake ninja-build g++-mingw-w64-x86-64-posix wine64 fonts-wine fonts-liberation
googletest libgtest-dev libbenchmark-dev libstb-dev llvm $*"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
  sudo=""
elif command -v sudo >/dev/null 2>&1; then
  sudo="sudo"
else
  echo "ensure-packages: need root (or sudo) to install:$missing" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing
