#!/bin/sh
# Builds both presets (native with the sanitizers, win64 with the modules)
# and runs every test; exits non-zero when anything fails.
set -eu
cd "$(dirname "$0")/.."
sh scripts/ensure-packages.sh
status=0
cmake --workflow --preset native || status=1
cmake --workflow --preset win64 || status=1
if [ "$status" -ne 0 ]; then
  echo "test-all: FAILED" >&2
else
  echo "test-all: every build and test passed"
fi
exit "$status"
