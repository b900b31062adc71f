// Drawing the frame: the packed working buffers, the material's texture
// slots, the mesh and its placement, the renderer call, the write-back and
// the release of everything one render allocated.
//
// Buffers: the working target and source hold width x height pixels of 4
// channel values at the output's depth. The input is copied over the part
// of the frame it covers; the rest of the source stays transparent black.
#include <cstdio>

#include "cloth/mesh.h"
#include "host/pixel_convert.h"
#include "host/render_frame.h"
#include "platform/page_memory.h"

namespace {

// Map block of each slot and its name.
constexpr int SLOT_BLOCK[SLOT_COUNT] = {0, 2, 3, 7};
const char* const SLOT_NAME[SLOT_COUNT] = {"Texture", "Opacity", "Bump", "Reflect"};
// Fill order: texture, opacity, reflection, bump; release order: texture,
// bump, opacity, reflection.
constexpr int FILL_ORDER[SLOT_COUNT] = {SLOT_TEXTURE, SLOT_OPACITY, SLOT_REFLECTION, SLOT_BUMP};
constexpr int RELEASE_ORDER[SLOT_COUNT] = {SLOT_TEXTURE, SLOT_BUMP, SLOT_OPACITY, SLOT_REFLECTION};

uint64_t FrameBytes(const RenderFrame& f) {
  return uint64_t(f.width) * uint64_t(f.height) * 4u * (f.deep ? 2u : 1u);
}

template <typename T>
void Release(T*& p) {
  PageFree(p);
  p = nullptr;
}

// A layer is used only at the output's depth (the shader reads texels at the
// frame's depth) and with rows that hold its width.
bool LayerUsable(const RenderFrame& f, RenderLayer& layer) {
  if (!layer.present) return false;
  const PF_LayerDef& w = layer.def.u.ld;
  if (((w.world_flags & PF_WorldFlag_DEEP) != 0) != f.deep || w.rowbytes <= 0) return false;
  layer.stride = f.deep ? w.rowbytes / 2 : w.rowbytes;
  return int64_t(layer.stride) >= 4 * int64_t(layer.width);
}

}  // namespace

bool MakeWorkingBuffers(RenderFrame& f, bool clearTarget) {
  const uint64_t bytes = FrameBytes(f);
  // The cloth is drawn on transparent black: a cleared target is a zeroed
  // block, since the output converted into it would be cleared at once.
  // Every other buffer is written whole here.
  f.target = static_cast<unsigned char*>(clearTarget ? PageAlloc(bytes) : PageAllocForOverwrite(bytes));
  f.source = static_cast<unsigned char*>(f.inPixels ? PageAllocForOverwrite(bytes) : PageAlloc(bytes));
  if (!f.target || !f.source) {
    f.outOfMemory = true;
    return false;
  }
  if (!clearTarget) CopyRectARGBtoRGBA(f.target, f.width, f.outPixels, f.width, f.height, f.outStride);
  if (f.inPixels) {
    CopyRectARGBtoRGBA(f.source, f.width, f.inPixels, f.inWidth, f.inHeight, f.inStride);
    ClearRect(f.source, f.width, f.height, 4 * f.width, f.inWidth, 0, f.width, f.inHeight);
    ClearRect(f.source, f.width, f.height, 4 * f.width, 0, f.inHeight, f.width, f.height);
  }
  return true;
}

bool FillTextureSlots(RenderFrame& f) {
  for (int k = 0; k < SLOT_COUNT; ++k) {
    const int s = FILL_ORDER[k];
    RenderLayer& layer = f.layers[s];
    map3ds& block = f.material.maps[SLOT_BLOCK[s]];
    if (!LayerUsable(f, layer)) continue;  // empty name, slot disabled
    std::snprintf(block.name, sizeof block.name, "%s", SLOT_NAME[s]);
    block.amount = f.mapAmount[s];
    block.uScale = 1.0f;
    block.vScale = 1.0f;
    block.uOffset = 0.0f;
    block.vOffset = 0.0f;
    __Texture& slot = f.slots[s];
    unsigned char* pixels = nullptr;
    if (!CopyPixelsARGBtoBGRA(&pixels, layer.data, layer.width, layer.height, layer.stride)) {
      f.outOfMemory = true;
      return false;
    }
    slot.enabled = 1;
    slot.width = layer.width;
    slot.height = layer.height;
    slot.pixels = pixels;
    slot.deep = OutputDeep;
  }
  return true;
}

uint8_t MeshTextured(const RenderFrame& f) {
  // The reflection map alone does not make the mesh textured.
  return f.slots[SLOT_TEXTURE].enabled | f.slots[SLOT_BUMP].enabled | f.slots[SLOT_OPACITY].enabled;
}

void PlaceMesh(RenderFrame& f) {
  const int32_t n = f.vertexCount;
  if (f.rotation[0] != 0.0f) RotatePointsX(0, 0, f.rotation[0], n, f.points);
  if (f.rotation[1] != 0.0f) RotatePointsY(0, 0, f.rotation[1], n, f.points);
  if (f.rotation[2] != 0.0f) RotatePointsZ(0, 0, f.rotation[2], n, f.points);
  // "Position" is where the cloth's origin lands; the renderer adds the
  // frame centre.
  if (f.px != 0.0f || f.py != 0.0f) TranslatePoints(f.px, f.py, 0, n, f.points);
}

bool DrawMesh(RenderFrame& f) {
  __SetUseMultyRefract(0);
  __SetDubleSide(1);
  if (__GetDrawMode() != 0) __Sort(f.triangleCount, f.triangles, f.points);
  __RasterScene(f.target, f.source, f.width, f.height, f.width * 4, f.vertexCount, f.triangleCount, f.triangles,
                f.points, f.width / 2, f.height / 2, 1, &f.material, f.slots, 1, &f.light, &f.glass);
  if (RasterSceneOutOfMemory()) {
    f.outOfMemory = true;
    return false;
  }
  return true;
}

void WriteBack(RenderFrame& f) {
  void* out = f.outPixels;
  CopyPixelsRGBAtoARGB(&out, f.target, f.width, f.height, f.outStride);
}

void ReleaseFrameBuffers(RenderFrame& f) {
  Release(f.target);
  Release(f.source);
  Release(f.triangles);
  Release(f.points);
  f.vertexCount = 0;
  f.triangleCount = 0;
}

void ReleaseTextures(RenderFrame& f) {
  for (int k = 0; k < SLOT_COUNT; ++k) {
    __Texture& slot = f.slots[RELEASE_ORDER[k]];
    Release(slot.pixels);
    slot.enabled = 0;
  }
}

void DrawClothFrame(RenderFrame& f, bool clearTarget) {
  if (f.drawable && !f.outOfMemory && MakeWorkingBuffers(f, clearTarget) && FillTextureSlots(f)) {
    if (!BuildClothMesh(&f.vertexCount, &f.triangleCount, &f.triangles, &f.points, MeshTextured(f))) {
      f.outOfMemory = true;
    } else {
      PlaceMesh(f);
      if (DrawMesh(f)) WriteBack(f);
    }
  }
  ReleaseFrameBuffers(f);
}

PF_Err FinishRender(RenderFrame& f) {
  if (!f.outOfMemory) return f.result;
  ClearOutputWorld(f);
  return PF_Err_OUT_OF_MEMORY;
}
