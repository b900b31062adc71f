#!/bin/sh
# Builds the bench preset and runs every benchmark program under
# build/bench/bench/, then the Windows module's timing program under Wine,
# and prints the side-by-side table of scripts/bench-table.awk (renderer
# against llvmpipe, 16 bits against 8, the module against the native build,
# the whole Theatre frame, the curved modes); then the replay runs of
# scripts/replay-bench.sh (replay.txt). Each program's results go to
# bench-results/ (or the folder given) as JSON and as its console table; the
# side-by-side table also to table.txt there.
#
# The peer (peer_bench, Mesa's llvmpipe) runs twice, with LP_NUM_THREADS=0
# and 8; its packages (EGL and Mesa's drivers) are installed here only.
# BENCH_REPETITIONS=3 repeats every Google Benchmark case three times (the
# table then shows medians and their spread).
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/bench-results}"
repetitions="${BENCH_REPETITIONS:-1}"
cd "$root"
sh scripts/ensure-packages.sh libegl-mesa0 libgl1-mesa-dri libegl-dev libgl-dev
cmake --preset bench >/dev/null
cmake --build --preset bench
mkdir -p "$out"
out="$(cd "$out" && pwd)"
status=0
found=0
run_gbench() {  # name program [environment...]
  name="$1"
  program="$2"
  shift 2
  echo "== $name"
  env "$@" "$program" --benchmark_repetitions="$repetitions" --benchmark_out="$out/$name.json" \
    --benchmark_out_format=json | tee "$out/$name.txt" || status=1
}
for program in $(find build/bench/bench -type f -perm -u+x ! -name '*.so' 2>/dev/null | sort); do
  found=1
  name="$(basename "$program")"
  case "$name" in
    peer_bench)
      for threads in 0 8; do run_gbench "peer_bench.lp$threads" "$program" LP_NUM_THREADS=$threads; done ;;
    raster_timer)
      echo "== $name (native)"
      "$program" --out "$out/raster_timer.native.json" | tee "$out/raster_timer.native.txt" || status=1 ;;
    *)
      run_gbench "$name" "$program" ;;
  esac
done
[ "$found" -eq 1 ] || echo "bench: no benchmark programs under build/bench/bench"

# The delivered module, timed through its exports under Wine.
echo "== raster_timer (Windows module under Wine)"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target VelarraTheatre raster_timer
sh cmake/wine-run.sh build/win64/wineprefix build/win64/bench/module/raster_timer.exe \
  --out "Z:$out/raster_timer.module.json" "Z:$root/build/win64/modules/VelarraTheatre.AEX" |
  tee "$out/raster_timer.module.txt" || status=1

tagged() {  # tag file: the awk arguments for a file that exists
  [ -f "$out/$2" ] && printf '%s\n%s\n' "tag=$1" "$out/$2"
}
# shellcheck disable=SC2046
IFS='
'
awk -f scripts/bench-table.awk $(tagged raster raster_bench.json; tagged peer0 peer_bench.lp0.json
  tagged peer8 peer_bench.lp8.json; tagged module raster_timer.module.json
  tagged native raster_timer.native.json; tagged render render_theatre_bench.json
  tagged curved curved_bench.json) | tee "$out/table.txt"

# The preview's replay over 300 frames at 1920 x 1080, through the test host.
echo "== replay"
sh scripts/replay-bench.sh "$out" || status=1
exit "$status"
