// Shared set-up of the curved-mode tests: a small frame with its depth
// buffer and layers installed in the renderer's globals, a recording
// per-pixel function, and vertex builders.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/page_memory.h"
#include "renderer/raster/patch_net.h"
#include "renderer/raster/raster_internal.h"
#include "renderer/raster/rasterize.h"
#include "renderer/renderer.h"

namespace curved {

// One call of the per-pixel function, as the recorder saw it.
struct ShadeCall {
  float x, y, z;
  float nx, ny, nz;
  unsigned char textured;
  float u, v;
  bool hasPrev;
  __PrevInfo prev;
  unsigned char* dst;
  int material;
  float plane[4];
};

// What the recorder returns: a fixed colour and an opacity by material
// (materials[0] of the table below when no table entry is set).
struct Recorder {
  std::vector<ShadeCall> calls;
  float colour[3] = {100.0f, 150.0f, 200.0f};
  float opacityByMaterial[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};
extern Recorder* gRecorder;

float RecordingPixel(float centerX, float centerY, unsigned char* dst, unsigned char* src, float px,
                     float py, float pz, __Triangle3ds* tri, material3ds* materials,
                     int materialCount, float& out0, float& out1, float& out2, __Point* normal,
                     unsigned char textured, float u, float v, __Texture* textures, int lightCount,
                     light3ds* lights, __PrevInfo* prev, GlassProp* glass, float planeA,
                     float planeB, float planeC, float planeD);

inline __Point3ds Vertex(float x, float y, float z, float nx, float ny, float nz,
                         unsigned char textured = 0, float u = 0.0f, float v = 0.0f) {
  __Point3ds p;
  std::memset(&p, 0, sizeof p);
  p.x = x, p.y = y, p.z = z;
  p.nx = nx, p.ny = ny, p.nz = nz;
  p.textured = textured, p.u = u, p.v = v;
  return p;
}

inline __Triangle3ds Tri(uint32_t a, uint32_t b, uint32_t c, uint16_t material = 0) {
  __Triangle3ds t;
  t.vert[0] = a, t.vert[1] = b, t.vert[2] = c;
  t.flags = 0;
  t.material = material;
  return t;
}

// A frame of width x height at 8 bits, installed as the renderer's current
// frame (Zwidth, Zheight, _Stride, MaxChannel, ZBuff cleared, the layers)
// with the recorder as the per-pixel function. Restores everything after.
class CurvedFrame : public ::testing::Test {
 protected:
  int width = 64, height = 48;
  unsigned char* dst = nullptr;
  unsigned char* src = nullptr;
  Recorder recorder;

  void SetUp() override { Install(64, 48); }
  void TearDown() override { Release(); }

  void Install(int w, int h);
  void Release();
  // Every depth entry back to the cleared value.
  void ClearDepth();
  int64_t At(int x, int y, int c) const { return (int64_t(y) * width + x) * 4 + c; }
  int Channel(const unsigned char* buffer, int x, int y, int c) const {
    return GetChannel(buffer, At(x, y, c));
  }
  // Number of dst pixels whose alpha is not 0.
  int DrawnPixels() const;
};

}  // namespace curved
