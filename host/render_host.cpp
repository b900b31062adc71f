// The render's exchanges with the host: texture layer checkouts and
// check-ins, the renderer switches, the output's geometry and clearing, and
// the instance record's lock.
#include <cstring>

#include "host/render_frame.h"

namespace {

// Checkout order: texture, bump, opacity, reflection; check-in order:
// texture, opacity, bump, reflection.
constexpr int CHECKOUT_ORDER[SLOT_COUNT] = {SLOT_TEXTURE, SLOT_BUMP, SLOT_OPACITY, SLOT_REFLECTION};
constexpr int CHECKIN_ORDER[SLOT_COUNT] = {SLOT_TEXTURE, SLOT_OPACITY, SLOT_BUMP, SLOT_REFLECTION};

bool SideUsable(int32_t side) { return side > 0 && side <= RENDER_MAX_SIDE; }

// rowbytes of a world in channel values; 0 when not positive.
int32_t ChannelStride(A_long rowbytes, bool deep) {
  if (rowbytes <= 0) return 0;
  return deep ? rowbytes / 2 : rowbytes;
}

}  // namespace

void CheckoutTextureLayers(RenderFrame& f, const RenderParamIndices& ix) {
  PF_InData* in = f.in;
  for (int k = 0; k < SLOT_COUNT; ++k) {
    RenderLayer& layer = f.layers[CHECKOUT_ORDER[k]];
    layer = RenderLayer{};
    if (!in->inter.checkout_param) {
      f.result = PF_Err_INVALID_CALLBACK;
      continue;
    }
    f.result = in->inter.checkout_param(in->effect_ref, ix.layer[CHECKOUT_ORDER[k]], in->current_time,
                                        in->local_time_step, in->time_scale, &layer.def);
    const PF_LayerDef& world = layer.def.u.ld;
    if (f.result == PF_Err_NONE && world.data && SideUsable(world.width) && SideUsable(world.height)) {
      layer.present = true;
      layer.data = world.data;
      layer.width = world.width;
      layer.height = world.height;
    }
  }
}

void CheckinTextureLayers(RenderFrame& f, const RenderParamIndices&) {
  PF_InData* in = f.in;
  for (int k = 0; k < SLOT_COUNT; ++k) {
    RenderLayer& layer = f.layers[CHECKIN_ORDER[k]];
    f.result = in->inter.checkin_param ? in->inter.checkin_param(in->effect_ref, &layer.def)
                                       : PF_Err_INVALID_CALLBACK;
  }
}

void SetRendererSwitches(const RenderFrame& f) {
  __SetQuality(f.in->quality == PF_Quality_HI ? 1 : 0);
  __SetDrawMode(f.drawMode);
}

void TakeOutputGeometry(RenderFrame& f, const PF_ParamDef* input) {
  const PF_LayerDef* out = f.output;
  f.deep = out && (out->world_flags & PF_WorldFlag_DEEP) != 0;
  OutputDeep = f.deep ? 1 : 0;
  __SetDeep(OutputDeep);
  if (out) {
    f.outPixels = reinterpret_cast<unsigned char*>(out->data);
    f.width = out->width;
    f.height = out->height;
    f.outStride = ChannelStride(out->rowbytes, f.deep);
  }
  f.px = f.px - float(f.width) / 2.0f;
  f.py = f.py - float(f.height) / 2.0f;
  MeshScaleX = MeshScaleX * (float(f.width) / 500.0f);
  MeshScaleY = MeshScaleY * (float(f.height) / 500.0f);

  const bool shaped = f.outPixels && f.width > 0 && f.height > 0 && int64_t(f.outStride) >= 4 * int64_t(f.width);
  f.drawable = shaped && SideUsable(f.width) && SideUsable(f.height);
  // A frame too large to draw: it is cleared and reported out of memory.
  if (shaped && !f.drawable) f.outOfMemory = true;

  // The input as far as it overlaps the output, at the output's depth.
  if (input && input->u.ld.data && ((input->u.ld.world_flags & PF_WorldFlag_DEEP) != 0) == f.deep) {
    const PF_LayerDef& in = input->u.ld;
    const int32_t w = in.width < f.width ? in.width : f.width;
    const int32_t h = in.height < f.height ? in.height : f.height;
    const int32_t stride = ChannelStride(in.rowbytes, f.deep);
    if (w > 0 && h > 0 && int64_t(stride) >= 4 * int64_t(in.width)) {
      f.inPixels = in.data;
      f.inWidth = w;
      f.inHeight = h;
      f.inStride = stride;
    }
  }
}

void ClearOutputWorld(const RenderFrame& f) {
  const PF_LayerDef* out = f.output;
  if (!out || !out->data || out->width <= 0 || out->height <= 0 || out->rowbytes <= 0) return;
  // Every row whole, padding included: rows x rowbytes bytes.
  std::memset(out->data, 0, size_t(out->height) * size_t(out->rowbytes));
}

void LockInstanceRecord(RenderFrame& f) {
  f.handle = f.out ? f.out->sequence_data : nullptr;
  const PF_UtilCallbacks* u = f.in->utils;
  if (f.handle && u && u->host_lock_handle) f.record = u->host_lock_handle(f.handle);
}

void UnlockInstanceRecord(RenderFrame& f) {
  const PF_UtilCallbacks* u = f.in->utils;
  if (f.handle && u && u->host_unlock_handle) u->host_unlock_handle(f.handle);
  f.record = nullptr;
}
