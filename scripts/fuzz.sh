#!/bin/sh
# Builds the fuzz preset and runs every libFuzzer target (build/fuzz/fuzz/
# *_fuzzer) for SECONDS seconds (default 60), all at once or JOBS at a time:
# each first replays its seed corpus (fuzz/corpus/<target>/, the regression
# inputs of past findings among them; render_fuzzer/ for the three render
# targets), then fuzzes with its dictionary
# (fuzz/dict/<target>.dict, when there is one).
#
# New inputs go to build/fuzz/corpus/<target>/ (--fresh empties it first),
# findings (crash-*, leak-*, timeout-*, oom-*) to build/fuzz/findings/<target>/
# and the log to build/fuzz/logs/<target>.log. Prints per target the
# executions, coverage, corpus and findings; exits non-zero when a target
# found anything.
#
# --merge afterwards adds to the seed corpora the new inputs that reach
# code (edges) the seeds do not, each target's in turn (libFuzzer's
# -merge=1 without hit counts or value profiles, so few inputs are added).
#
# Usage: scripts/fuzz.sh [SECONDS] [--fresh] [--jobs N] [--merge]
# FUZZ_TIMEOUT (default 25): seconds after which one input counts as a hang
# (generous: a machine shared with parallel builds slows every input; the
# summary shows each target's slowest input, which stays far below a second).
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
seconds=60
fresh=0
merge=0
jobs=$(nproc 2>/dev/null || echo 4)
while [ $# -gt 0 ]; do
  case "$1" in
    --fresh) fresh=1 ;;
    --jobs) shift; jobs="$1" ;;
    --merge) merge=1 ;;
    *) seconds="$1" ;;
  esac
  shift
done
timeout="${FUZZ_TIMEOUT:-25}"

sh scripts/ensure-packages.sh clang-14 libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build="$root/build/fuzz"
targets=$(find "$build/fuzz" -maxdepth 1 -type f -name '*_fuzzer' | sort)
[ -n "$targets" ] || { echo "fuzz: no targets under $build/fuzz" >&2; exit 1; }
[ "$fresh" -eq 1 ] && rm -rf "$build/corpus"
mkdir -p "$build/logs"

# The seed corpus of a target; the three plug-ins' render targets share one
# harness and its seeds.
seeds_of() {
  case "$1" in
    render_*_fuzzer) seeds="fuzz/corpus/render_fuzzer" ;;
    *) seeds="fuzz/corpus/$1" ;;
  esac
  [ -d "$seeds" ] && echo "$seeds" || echo ""
}

run() {
  name=$(basename "$1")
  mkdir -p "$build/corpus/$name" "$build/findings/$name"
  dict=""
  [ -f "fuzz/dict/$name.dict" ] && dict="-dict=fuzz/dict/$name.dict"
  seeds=$(seeds_of "$name")
  rc=0
  # shellcheck disable=SC2086
  "$1" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$name/" $dict "$build/corpus/$name" $seeds \
    > "$build/logs/$name.log" 2>&1 || rc=$?
  echo "$rc" > "$build/logs/$name.status"
}

echo "fuzz: $(echo "$targets" | wc -l) targets, $seconds s each, $jobs at a time"
running=0
for t in $targets; do
  run "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait
    running=0
  fi
done
wait

status=0
printf '%-24s %12s %8s %8s %8s %8s  %s\n' target executions cov ft corpus slowest findings
for t in $targets; do
  name=$(basename "$t")
  log="$build/logs/$name.log"
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
  cov=$(echo "$last" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')
  ft=$(echo "$last" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')
  corp=$(echo "$last" | sed -n 's/.* corp: \([0-9]*\).*/\1/p')
  slowest=$(sed -n 's/^stat::slowest_unit_time_sec: *//p' "$log" | tail -n 1)
  rc=$(cat "$build/logs/$name.status")
  verdict="none"
  if [ "$rc" -ne 0 ]; then
    verdict="FOUND (exit $rc): $(grep -m 1 -E 'ERROR:|runtime error|check failed' "$log" || echo "see $log")"
    status=1
  fi
  printf '%-24s %12s %8s %8s %8s %7ss  %s\n' "$name" "${execs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" \
    "${slowest:-?}" "$verdict"
  [ "$rc" -ne 0 ] && echo "    log: $log; inputs: $build/findings/$name/"
done
if [ "$merge" -eq 1 ]; then
  for t in $targets; do
    name=$(basename "$t")
    seeds=$(seeds_of "$name")
    [ -n "$seeds" ] || { seeds="fuzz/corpus/$name"; mkdir -p "$seeds"; }
    before=$(ls "$seeds" | wc -l)
    "$t" -merge=1 -use_counters=0 -use_value_profile=0 -timeout="$timeout" -rss_limit_mb=2048 \
      "$seeds" "$build/corpus/$name" > "$build/logs/$name.merge.log" 2>&1 || status=1
    echo "merge $name: $before -> $(ls "$seeds" | wc -l) seeds"
  done
fi
[ "$status" -eq 0 ] && echo "fuzz: no findings" || echo "fuzz: FINDINGS (see above)" >&2
exit "$status"
