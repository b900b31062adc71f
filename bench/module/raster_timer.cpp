// __RasterScene timed through the renderer's interface on the benchmarks'
// sheet (bench/wave_sheet.h) at 1920 x 1080: Flat and Phong, 8 and 16 bits,
// quality off and on, with the default per-pixel function and light, double-
// sided and without multiple refraction as the effect renders (the cases of
// raster_bench).
//
// The Windows build takes a module (.AEX) and reaches the renderer through
// its exports, looked up by their decorated names with the platform's module
// services, so the figures are the delivered module's under Wine; the native
// build calls the renderer linked in. Both take the same steps, so their
// medians compare the two builds of the same code.
//
//   raster_timer [--runs N] [--out FILE] [MODULE]
//
// Each case runs twice untimed (the page cache fills), then N times (default
// 11); the console shows the median, least and largest wall-clock time and
// the mean CPU time of the calling thread (steadier on a shared machine),
// and FILE gets them in Google Benchmark's JSON layout (real_time is the
// median, cpu_time the CPU mean).
// Exit status 1 for bad arguments, 2 for a module without the interface or
// a sheet that does not suit.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>
#endif

#include "bench/wave_sheet.h"
#include "platform/module_services.h"
#include "platform/page_memory.h"

namespace {

constexpr int W = 1920, H = 1080, GRID = 60;

using RasterSceneFn = decltype(&__RasterScene);
using SortFn = decltype(&__Sort);
using SwitchFn = void (*)(unsigned char);

struct Renderer {
  RasterSceneFn rasterScene;
  SortFn sort;
  SwitchFn setDrawMode, setQuality, setDeep, setDubleSide, setUseMultyRefract;
};

#if defined(_WIN32)
// The module exports the interface under the names the Windows compiler
// gives these declarations (renderer/renderer_exports.def).
bool FindRenderer(const char* path, Renderer& r) {
  PlatformModule module = PlatformLoadModule(path);
  if (!module) return false;
  auto find = [module](const char* name) { return PlatformFindExport(module, name); };
  r.rasterScene = reinterpret_cast<RasterSceneFn>(
      find("?__RasterScene@@YAXPEAE0HHHHHPEAU__Triangle3ds@@PEAU__Point3ds@@HHHPEAUmaterial3ds@@PEAU__Texture@@"
           "HPEAUlight3ds@@PEAUGlassProp@@@Z"));
  r.sort = reinterpret_cast<SortFn>(find("?__Sort@@YAXHPEAU__Triangle3ds@@PEAU__Point3ds@@@Z"));
  r.setDrawMode = reinterpret_cast<SwitchFn>(find("?__SetDrawMode@@YAXE@Z"));
  r.setQuality = reinterpret_cast<SwitchFn>(find("?__SetQuality@@YAXE@Z"));
  r.setDeep = reinterpret_cast<SwitchFn>(find("?__SetDeep@@YAXE@Z"));
  r.setDubleSide = reinterpret_cast<SwitchFn>(find("?__SetDubleSide@@YAXE@Z"));
  r.setUseMultyRefract = reinterpret_cast<SwitchFn>(find("?__SetUseMultyRefract@@YAXE@Z"));
  return r.rasterScene && r.sort && r.setDrawMode && r.setQuality && r.setDeep && r.setDubleSide &&
         r.setUseMultyRefract;
}
constexpr const char* kBuild = "module";
#else
bool FindRenderer(const char*, Renderer& r) {
  r = Renderer{__RasterScene, __Sort, __SetDrawMode, __SetQuality, __SetDeep, __SetDubleSide, __SetUseMultyRefract};
  return true;
}
constexpr const char* kBuild = "native";
#endif

// FNV-1a over the sorted mesh: equal in both builds when they drew the same
// vertices in the same order.
uint64_t MeshHash(const std::vector<__Point3ds>& points, const std::vector<__Triangle3ds>& triangles) {
  uint64_t h = 1469598103934665603ull;
  auto add = [&h](const void* data, size_t bytes) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < bytes; ++i) h = (h ^ p[i]) * 1099511628211ull;
  };
  add(points.data(), points.size() * sizeof(__Point3ds));
  add(triangles.data(), triangles.size() * sizeof(__Triangle3ds));
  return h;
}

// CPU time of the calling thread in ms. Windows (and Wine) count it in
// ticks of 10 ms or so, which is why it is summed over every timed run.
double ThreadCpuMs() {
#if defined(_WIN32)
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0.0;
  auto ticks = [](const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return double(ticks(kernel) + ticks(user)) / 1.0e4;  // 100 ns units
#else
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1.0e3 + double(t.tv_nsec) / 1.0e6;
#endif
}

struct Timing {
  std::string name, label;
  double median, least, largest;  // wall-clock ms of one call
  double cpu;                     // CPU ms of one call, the mean of the timed runs
};

Timing TimeCase(const Renderer& r, std::vector<__Point3ds>& points, std::vector<__Triangle3ds>& triangles,
                unsigned char mode, bool deep, bool quality, int runs) {
  const uint64_t bytes = uint64_t(W) * H * (deep ? 8 : 4);
  unsigned char* dst = static_cast<unsigned char*>(PageAlloc(bytes));
  unsigned char* src = static_cast<unsigned char*>(PageAlloc(bytes));
  r.setDrawMode(mode);
  r.setDeep(deep ? 1 : 0);
  r.setQuality(quality ? 1 : 0);
  r.setUseMultyRefract(0);
  r.setDubleSide(1);
  std::vector<double> ms;
  double cpuStart = 0.0;
  for (int k = -2; k < runs; ++k) {
    if (k == 0) cpuStart = ThreadCpuMs();
    const auto start = std::chrono::steady_clock::now();
    r.rasterScene(dst, src, W, H, 4 * W, int(points.size()), int(triangles.size()), triangles.data(),
                  points.data(), W / 2, H / 2, 0, nullptr, nullptr, 0, nullptr, nullptr);
    const auto end = std::chrono::steady_clock::now();
    if (k >= 0) ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  const double cpu = (ThreadCpuMs() - cpuStart) / runs;
  PageFree(dst);
  PageFree(src);
  std::sort(ms.begin(), ms.end());
  Timing t;
  t.cpu = cpu;
  t.name = "RasterScene/" + std::to_string(mode) + "/" + (deep ? "1" : "0") + "/" + (quality ? "1" : "0");
  t.label = std::string(mode == 3 ? "flat" : "phong") + (deep ? " 16-bit" : " 8-bit") + (quality ? " quality" : "");
  t.median = ms[ms.size() / 2];
  t.least = ms.front();
  t.largest = ms.back();
  return t;
}

// Google Benchmark's JSON layout, one key a line, each case one iteration
// entry whose real_time is the median and cpu_time the CPU mean.
bool WriteJson(const char* path, const std::vector<Timing>& timings, uint64_t hash, int runs) {
  FILE* f = std::fopen(path, "w");
  if (!f) return false;
  std::fprintf(f, "{\n  \"context\": {\n    \"build\": \"%s\",\n    \"mesh_hash\": \"%016llx\",\n", kBuild,
               static_cast<unsigned long long>(hash));
  std::fprintf(f, "    \"runs\": %d\n  },\n  \"benchmarks\": [\n", runs);
  for (size_t i = 0; i < timings.size(); ++i) {
    const Timing& t = timings[i];
    std::fprintf(f,
                 "    {\n      \"name\": \"%s\",\n      \"run_name\": \"%s\",\n      \"run_type\": \"iteration\",\n"
                 "      \"iterations\": %d,\n      \"real_time\": %.6e,\n      \"cpu_time\": %.6e,\n"
                 "      \"time_unit\": \"ms\",\n      \"least\": %.6e,\n      \"largest\": %.6e,\n"
                 "      \"label\": \"%s\"\n    }%s\n",
                 t.name.c_str(), t.name.c_str(), runs, t.median, t.cpu, t.least, t.largest, t.label.c_str(),
                 i + 1 < timings.size() ? "," : "");
  }
  std::fprintf(f, "  ]\n}\n");
  return std::fclose(f) == 0;
}

int Usage() {
  std::fprintf(stderr, "usage: raster_timer [--runs N] [--out FILE] [MODULE]\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 11;
  const char* out = nullptr;
  const char* module = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::atoi(argv[++i]);
      if (runs < 1 || runs > 1000) return Usage();
    } else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      out = argv[++i];
    } else if (argv[i][0] != '-' && !module) {
      module = argv[i];
    } else {
      return Usage();
    }
  }
#if defined(_WIN32)
  if (!module) return Usage();
#endif
  Renderer r{};
  if (!FindRenderer(module, r)) {
    std::fprintf(stderr, "raster_timer: %s does not export the renderer's interface\n", module ? module : "");
    return 2;
  }
  std::vector<__Point3ds> points;
  std::vector<__Triangle3ds> triangles;
  BuildWaveSheet(GRID, W, H, points, triangles);
  if (const char* fault = WaveSheetFault(points, triangles)) {
    std::fprintf(stderr, "raster_timer: %s\n", fault);
    return 2;
  }
  r.sort(int(triangles.size()), triangles.data(), points.data());
  const uint64_t hash = MeshHash(points, triangles);

  std::printf("__RasterScene through the %s build, 1920 x 1080, %zu triangles (mesh %016llx), median of %d\n",
              kBuild, triangles.size(), static_cast<unsigned long long>(hash), runs);
  std::printf("%-22s %-22s %10s %10s %10s %10s\n", "case", "", "median ms", "least", "largest", "cpu ms");
  std::vector<Timing> timings;
  for (unsigned char mode : {3, 6})
    for (bool deep : {false, true})
      for (bool quality : {false, true}) {
        timings.push_back(TimeCase(r, points, triangles, mode, deep, quality, runs));
        const Timing& t = timings.back();
        std::printf("%-22s %-22s %10.2f %10.2f %10.2f %10.2f\n", t.name.c_str(), t.label.c_str(), t.median, t.least,
                    t.largest, t.cpu);
        std::fflush(stdout);
      }
  if (out && !WriteJson(out, timings, hash, runs)) {
    std::fprintf(stderr, "raster_timer: cannot write %s\n", out);
    return 1;
  }
  return 0;
}
