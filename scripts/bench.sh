#!/bin/sh
# Builds the bench preset and runs every benchmark program under
# build/bench/bench/, writing each one's results as JSON (and the console
# table) into bench-results/ (or the folder given); then the replay runs of
# scripts/replay-bench.sh (replay.txt there).
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/bench-results}"
cd "$root"
sh scripts/ensure-packages.sh
cmake --preset bench >/dev/null
cmake --build --preset bench
mkdir -p "$out"
status=0
found=0
for program in $(find build/bench/bench -type f -perm -u+x ! -name '*.so' 2>/dev/null | sort); do
  found=1
  name="$(basename "$program")"
  echo "== $name"
  "$program" --benchmark_out="$out/$name.json" --benchmark_out_format=json | tee "$out/$name.txt" || status=1
done
[ "$found" -eq 1 ] || echo "bench: no benchmark programs under build/bench/bench"
# The preview's replay over 300 frames at 1920 x 1080, through the test host.
echo "== replay"
sh scripts/replay-bench.sh "$out" || status=1
exit "$status"
