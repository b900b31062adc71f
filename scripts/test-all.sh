#!/bin/sh
# Builds both presets (native with the sanitizers, win64 with the modules)
# and runs every test, then the short fuzz pass: every fuzz target over its
# seed corpus and 20 seconds of fuzzing (scripts/fuzz.sh). Exits non-zero
# when anything fails.
set -eu
cd "$(dirname "$0")/.."
sh scripts/ensure-packages.sh
status=0
cmake --workflow --preset native || status=1
cmake --workflow --preset win64 || status=1
sh scripts/fuzz.sh 20 --fresh || status=1
if [ "$status" -ne 0 ]; then
  echo "test-all: FAILED" >&2
else
  echo "test-all: every build and test passed"
fi
exit "$status"
