#include "tests/curved/curved_fixture.h"

namespace curved {

Recorder* gRecorder = nullptr;

float RecordingPixel(float /*centerX*/, float /*centerY*/, unsigned char* dst,
                     unsigned char* /*src*/, float px, float py, float pz, __Triangle3ds* tri,
                     material3ds* /*materials*/, int /*materialCount*/, float& out0, float& out1,
                     float& out2, __Point* normal, unsigned char textured, float u, float v,
                     __Texture* /*textures*/, int /*lightCount*/, light3ds* /*lights*/,
                     __PrevInfo* prev, GlassProp* /*glass*/, float planeA, float planeB,
                     float planeC, float planeD) {
  ShadeCall call;
  std::memset(&call, 0, sizeof call);
  call.x = px, call.y = py, call.z = pz;
  call.nx = normal->x, call.ny = normal->y, call.nz = normal->z;
  call.textured = textured, call.u = u, call.v = v;
  call.hasPrev = prev != nullptr;
  if (prev) call.prev = *prev;
  call.dst = dst;
  call.material = tri->material;
  call.plane[0] = planeA, call.plane[1] = planeB, call.plane[2] = planeC, call.plane[3] = planeD;
  gRecorder->calls.push_back(call);
  out0 = gRecorder->colour[0];
  out1 = gRecorder->colour[1];
  out2 = gRecorder->colour[2];
  return gRecorder->opacityByMaterial[tri->material & 3];
}

void CurvedFrame::Install(int w, int h) {
  Release();
  width = w, height = h;
  _Deep = 0;
  MaxChannel = 255;
  _Stride = 4 * w;
  Zwidth = w, Zheight = h;
  _DrawBackFaces1 = 0;
  _DrawBackFaces = 0;
  _DubleSide = 0;
  _UseMultyRefract = 0;
  _Quality = 0;
  const uint64_t pixels = uint64_t(w) * uint64_t(h);
  dst = static_cast<unsigned char*>(PageAlloc(pixels * 4));
  src = static_cast<unsigned char*>(PageAlloc(pixels * 4));
  ZBuff = static_cast<float*>(PageAlloc(pixels * 4));
  _EdgeLayer = static_cast<unsigned char*>(PageAlloc(pixels * 4));
  _FragLayer = static_cast<unsigned char*>(PageAlloc(pixels * 4));
  _UnderLayer = static_cast<unsigned char*>(PageAlloc(pixels * 4));
  ClearDepth();
  gRecorder = &recorder;
  __SetNewRenderOnePixel(RecordingPixel);
}

void CurvedFrame::Release() {
  PageFree(dst);
  PageFree(src);
  PageFree(ZBuff);
  PageFree(_EdgeLayer);
  PageFree(_FragLayer);
  PageFree(_UnderLayer);
  dst = src = nullptr;
  ZBuff = nullptr;
  _EdgeLayer = _FragLayer = _UnderLayer = nullptr;
  Zwidth = Zheight = 0;
  __SetDefRenderOnePixel();
  gRecorder = nullptr;
  // The switches the tests touch go back to their initial values.
  _DrawMode = 6;
  _Quality = 1;
  _DubleSide = 0;
  _DrawBackFaces = 0;
  _DrawBackFaces1 = 0;
  _UseMultyRefract = 1;
  _WireSize = 1.0f;
}

void CurvedFrame::ClearDepth() {
  std::memset(ZBuff, 0xFE, size_t(width) * size_t(height) * sizeof(float));
}

int CurvedFrame::DrawnPixels() const {
  int n = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) n += Channel(dst, x, y, 3) != 0;
  return n;
}

}  // namespace curved
