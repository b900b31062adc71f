#!/bin/sh
# What "Time dependent preview" costs over a sequence, through the native
# test host of the bench build (Release): Velarra Theatre at its defaults
# plus "Check self intersection", 1920 x 1080, frames 0-299 rendered
#   - with the preview off (the baseline: four steps a frame),
#   - with it on in order, in reverse, and in a fixed random order.
# With FULL=1 the three preview runs are repeated with --full-replay (every
# frame replayed from rest, as before checkpoints; about half an hour).
# Prints processor seconds and the ratio to the baseline, and writes the
# same table to OUT/replay.txt.
#
#   scripts/replay-bench.sh [OUT]    (after cmake --build --preset bench)
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/bench-results}"
host="$root/build/bench/testhost/velarra-theatre-host"
frames="${FRAMES:-300}"
[ -x "$host" ] || { echo "replay-bench: no $host (cmake --build --preset bench)" >&2; exit 1; }
mkdir -p "$out"

last=$((frames - 1))
in_order="0-$last"
reverse="$(awk -v n="$frames" 'BEGIN { s = ""; for (f = n - 1; f >= 0; --f) s = s (f < n - 1 ? "," : "") f; print s }')"
# Fisher-Yates with the Park-Miller generator (exact in awk's doubles), so
# the order is the same on every machine.
random="$(awk -v n="$frames" 'BEGIN {
  x = 20240611; for (i = 0; i < n; ++i) a[i] = i
  for (i = n - 1; i > 0; --i) { x = (x * 16807) % 2147483647; j = x % (i + 1); t = a[i]; a[i] = a[j]; a[j] = t }
  s = a[0]; for (i = 1; i < n; ++i) s = s "," a[i]; print s }')"

# run PREVIEW(on|off) FRAMES [HOST OPTIONS...]: the run's processor seconds
# (user + system; steadier than wall-clock time on a shared machine).
run() {
  preview="$1"; list="$2"; shift 2
  perl -e 'system(@ARGV) == 0 or exit 1; my @t = times; printf "%.1f\n", $t[2] + $t[3]' -- \
    "$host" --quiet --size 1920x1080 --frames "$list" --set "Check self intersection=on" \
    --set "Time dependent preview=$preview" "$@"
}

table="$out/replay.txt"
{
  echo "Theatre defaults + \"Check self intersection\", 1920 x 1080, frames 0-$last (processor seconds; ratio to the preview off)"
  printf '%-28s %9s %7s\n' run seconds ratio
} >"$table"
line() { printf '%-28s %9s %7s\n' "$1" "$2" "$(awk -v a="$2" -v b="$base" 'BEGIN { printf "%.2f", a / b }')" | tee -a "$table"; }

base="$(run off "$in_order")"
cat "$table"
line "preview off" "$base"
line "preview on, in order" "$(run on "$in_order")"
line "preview on, reverse" "$(run on "$reverse")"
line "preview on, random order" "$(run on "$random")"
if [ "${FULL:-0}" = 1 ]; then
  line "full replay, in order" "$(run on "$in_order" --full-replay)"
  line "full replay, reverse" "$(run on "$reverse" --full-replay)"
  line "full replay, random order" "$(run on "$random" --full-replay)"
fi
