# Reads the JSON of the benchmark programs (Google Benchmark's layout, one
# key a line, as they write it) and prints the side-by-side table of
# scripts/bench.sh: the renderer against llvmpipe, 16 bits against 8, the
# Windows module against the native build, the whole Theatre frame and the
# curved modes, each ratio with its target.
#
#   awk -f scripts/bench-table.awk tag=raster raster_bench.json tag=peer1 ...
#
# Each file is preceded by its tag. A figure is the median of the
# repetitions a program ran (the spread, least to largest, beside it when
# there were several); "-" marks a figure that is missing or whose case
# failed.

function ms(value, unit) {
  if (unit == "ns") return value / 1e6
  if (unit == "us") return value / 1e3
  if (unit == "s") return value * 1e3
  return value
}

# The case name without the options Google Benchmark appends.
function base(name) {
  sub(/\/min_time:[^\/]*/, "", name)
  sub(/\/real_time$/, "", name)
  return name
}

/"run_name":/ { split($0, q, "\""); run = base(q[4]) }
/"error_occurred": true/ { failed = 1 }
/"run_type":/ { split($0, q, "\""); type = q[4] }
/"real_time":/ { value = $2; sub(/,$/, "", value); value += 0 }
/"cpu_time":/ { cpu = $2; sub(/,$/, "", cpu); cpu += 0 }
/"time_unit":/ { split($0, q, "\""); unit = q[4] }
/^    }/ {
  if (type == "iteration" && run != "" && !failed && value != "") {
    key = tag "|" run
    n = ++count[key]
    sample[key, n] = ms(value, unit)
    cpusum[key] += ms(cpu, unit)
  }
  run = ""; type = ""; value = ""; cpu = 0; failed = 0
}

function median(key,    n, i, j, t, a) {
  n = count[key]
  if (n == 0) return -1
  for (i = 1; i <= n; ++i) a[i] = sample[key, i]
  for (i = 2; i <= n; ++i)
    for (j = i; j > 1 && a[j - 1] > a[j]; --j) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
  least[key] = a[1]
  largest[key] = a[n]
  return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
}

function figure(key,    m) {
  m = median(key)
  if (m < 0) return sprintf("%7s %10s", "-", "")
  if (count[key] > 1) return sprintf("%7.1f %-10s", m, sprintf("(%.0f-%.0f)", least[key], largest[key]))
  return sprintf("%7.1f %10s", m, "")
}

# One row: label, the figures of up to three keys (or, for the third, the
# text `shown`), and the ratio of the first two against a target (0: none).
function row(label, a, b, c, target, shown,    ma, mb, ratio, verdict, third, goal) {
  ma = median(a); mb = median(b)
  ratio = (ma > 0 && mb > 0) ? sprintf("%6.2f", ma / mb) : sprintf("%6s", "-")
  verdict = ""
  if (target > 0 && ma > 0 && mb > 0) verdict = (ma / mb <= target) ? "met" : "missed"
  third = (shown != "") ? shown : (c == "") ? sprintf("%18s", "") : figure(c)
  goal = (target > 0) ? sprintf("<= %.2f", target) : ""
  printf "  %-30s %s %s %s %s  %-9s %s\n", label, figure(a), figure(b), third, ratio, goal, verdict
}

# A row of the module section: the wall-clock medians, their ratio against
# the target, and beside them the ratio of the CPU times, which waiting for
# a processor on a shared machine does not inflate.
function modulerow(label, a, b, target,    ca, cb, third) {
  ca = count[a] ? cpusum[a] / count[a] : 0
  cb = count[b] ? cpusum[b] / count[b] : 0
  third = (ca > 0 && cb > 0) ? sprintf("%18.2f", ca / cb) : sprintf("%18s", "-")
  row(label, a, b, "", target, third)
}

function limit(label, key, most,    m, goal, verdict) {
  m = median(key)
  goal = (most > 0) ? sprintf("<= %d ms", most) : ""
  verdict = (most > 0 && m >= 0) ? ((m <= most) ? "met" : "missed") : ""
  printf "  %-30s %s %18s %18s %6s  %-9s %s\n", label, figure(key), "", "", "", goal, verdict
}

function header(title, a, b, c) {
  printf "\n%s\n  %-30s %18s %18s %18s %6s  %-9s\n", title, "case (ms a frame)", a, b, c, "ratio", "target"
}

END {
  print "Velarra renderer benchmarks, 1920 x 1080, the folded 60 x 60 sheet (bench/wave_sheet.h); wall-clock"
  print "medians, spread least-largest over the repetitions run."

  header("__RasterScene against Mesa llvmpipe (the same vertices, frame and light; ratio: renderer / llvmpipe, 1 thread)",
         "renderer", "llvmpipe 1 thread", "llvmpipe 8")
  # Targets at 8 bits; at 16 bits the next section judges them.
  split("Phong, quality off|Phong, quality on|Flat, quality off", cases, "|")
  split("1.0 2.0 1.0", targets, " ")
  for (deep = 0; deep <= 1; ++deep)
    for (k = 1; k <= 3; ++k) {
      mode = (k == 3) ? 3 : 6
      peer = "BM_Peer/" mode "/" deep "/0/lp_threads:"
      row(cases[k] ", " (deep ? 16 : 8) " bits", "raster|BM_RasterScene/" mode "/" deep "/" (k == 2 ? 1 : 0),
          "peer0|" peer "0", "peer8|" peer "8", deep ? 0 : targets[k] + 0)
    }

  header("16 bits against 8 bits (__RasterScene)", "16 bits", "8 bits", "")
  row("Phong, quality off", "raster|BM_RasterScene/6/1/0", "raster|BM_RasterScene/6/0/0", "", 1.25)
  row("Phong, quality on", "raster|BM_RasterScene/6/1/1", "raster|BM_RasterScene/6/0/1", "", 1.25)
  row("Flat, quality off", "raster|BM_RasterScene/3/1/0", "raster|BM_RasterScene/3/0/0", "", 1.25)
  row("Flat, quality on", "raster|BM_RasterScene/3/1/1", "raster|BM_RasterScene/3/0/1", "", 1.25)

  header("The Windows module under Wine against the native build (raster_timer, __RasterScene)",
         "module", "native", "CPU time ratio")
  split("Flat|Flat, quality on|Flat, 16 bits|Flat, 16 bits, quality on|Phong|Phong, quality on|Phong, 16 bits|Phong, 16 bits, quality on", names, "|")
  k = 0
  for (mode = 3; mode <= 6; mode += 3)
    for (deep = 0; deep <= 1; ++deep)
      for (quality = 0; quality <= 1; ++quality) {
        name = "RasterScene/" mode "/" deep "/" quality
        modulerow(names[++k], "module|" name, "native|" name, 1.25)
      }

  header("A whole Theatre render at 1920 x 1080, the defaults, and its parts on the same frame (render_theatre_bench)", "", "", "")
  limit("8 bits", "render|BM_Render/8", 80)
  limit("16 bits", "render|BM_Render/16", 110)
  limit("of it: conversions, 16 bits", "render|BM_TheatreConversions/16", 15)
  limit("of it: conversions, 8 bits", "render|BM_TheatreConversions/8", 0)
  limit("of it: __RasterScene, 8 bits", "render|BM_TheatreRasterScene/8", 0)
  limit("of it: __RasterScene, 16 bits", "render|BM_TheatreRasterScene/16", 0)
  limit("of it: simulation, 4 steps", "render|BM_TheatreSimulation", 0)
  limit("of it: mesh", "render|BM_TheatreMesh", 0)
  limit("of it: depth sort", "render|BM_TheatreSort", 0)

  header("Curved modes, quality on, 8 bits (curved_bench, the same sheet)", "", "", "")
  limit("Wire", "curved|CurvedScene/mode:2", 0)
  limit("Patches", "curved|CurvedScene/mode:8", 0)
  limit("Bezier", "curved|CurvedScene/mode:9", 0)
}
