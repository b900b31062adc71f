#include "testhost/panel_host.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "testhost/image_io.h"

namespace {
PanelHost* Active = nullptr;

// Drawing objects are handed out as addresses of these records; a kind
// field tells a supplier from a surface from an image.
enum ObjectKind : uint32_t {
  KIND_DRAW_REF = 0x44524546,
  KIND_SUPPLIER = 0x53555050,
  KIND_SURFACE = 0x53555246
};
struct Tagged {
  uint32_t kind;
};
Tagged DrawRefTag = {KIND_DRAW_REF};
Tagged SupplierTag = {KIND_SUPPLIER};
Tagged SurfaceTag = {KIND_SURFACE};

void Misuse(const std::string& what) {
  if (!Active) return;
  ++Active->misuse;
  if (Active->misuse_log.size() < 100) Active->misuse_log.push_back(what);
}

bool Fails(const char* function) { return Active && Active->failing.count(function) != 0; }

PanelHostImage* FindImage(const void* ref) {
  if (!Active) return nullptr;
  for (PanelHostImage* image : Active->images)
    if (image == ref && !image->released) return image;
  return nullptr;
}

// ---- the custom UI suite ---------------------------------------------------
PF_Err GetDrawingReference(const PF_ContextH contextH, DRAWBOT_DrawRef* ref) {
  if (!Active || !ref) return PF_Err_BAD_CALLBACK_PARAM;
  *ref = nullptr;
  if (contextH != Active->contextH) {
    Misuse("PF_GetDrawingReference of a context the host did not hand out");
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  if (Fails("PF_GetDrawingReference")) return PF_Err_INTERNAL_STRUCT_DAMAGED;
  if (Active->no_drawing_reference) return PF_Err_NONE;
  *ref = reinterpret_cast<DRAWBOT_DrawRef>(&DrawRefTag);
  return PF_Err_NONE;
}

// ---- the draw suite ----------------------------------------------------------
SPErr GetSupplier(DRAWBOT_DrawRef ref, DRAWBOT_SupplierRef* out) {
  if (!out) return kSPBadParameterError;
  *out = nullptr;
  if (ref != reinterpret_cast<DRAWBOT_DrawRef>(&DrawRefTag)) {
    Misuse("GetSupplier of something that is not a drawing reference");
    return kSPBadParameterError;
  }
  if (Fails("GetSupplier")) return kSPBadParameterError;
  *out = reinterpret_cast<DRAWBOT_SupplierRef>(&SupplierTag);
  return kSPNoError;
}

SPErr GetSurface(DRAWBOT_DrawRef ref, DRAWBOT_SurfaceRef* out) {
  if (!out) return kSPBadParameterError;
  *out = nullptr;
  if (ref != reinterpret_cast<DRAWBOT_DrawRef>(&DrawRefTag)) {
    Misuse("GetSurface of something that is not a drawing reference");
    return kSPBadParameterError;
  }
  if (Fails("GetSurface")) return kSPBadParameterError;
  *out = reinterpret_cast<DRAWBOT_SurfaceRef>(&SurfaceTag);
  return kSPNoError;
}

// ---- the supplier suite ------------------------------------------------------
SPErr NewPen(DRAWBOT_SupplierRef, const DRAWBOT_ColorRGBA*, float, DRAWBOT_PenRef* out) {
  if (out) *out = nullptr;
  Misuse("NewPen: pens are not supported by this host");
  return kSPBadParameterError;
}

SPErr NewBrush(DRAWBOT_SupplierRef, const DRAWBOT_ColorRGBA*, DRAWBOT_BrushRef* out) {
  if (out) *out = nullptr;
  Misuse("NewBrush: brushes are not supported by this host");
  return kSPBadParameterError;
}

SPErr NewPath(DRAWBOT_SupplierRef, DRAWBOT_PathRef* out) {
  if (out) *out = nullptr;
  Misuse("NewPath: paths are not supported by this host");
  return kSPBadParameterError;
}

// Pixel layouts this host reads: 24-bit blue, green, red only.
SPErr NewImageFromBuffer(DRAWBOT_SupplierRef supplier, int32_t width, int32_t height,
                         int32_t row_bytes, DRAWBOT_PixelLayout layout, const void* data,
                         DRAWBOT_ImageRef* out) {
  if (!out) return kSPBadParameterError;
  *out = nullptr;
  if (!Active) return kSPBadParameterError;
  if (supplier != reinterpret_cast<DRAWBOT_SupplierRef>(&SupplierTag)) {
    Misuse("NewImageFromBuffer with something that is not a supplier");
    return kSPBadParameterError;
  }
  if (width < 1 || height < 1 || width > 16384 || height > 16384 || !data ||
      int64_t(row_bytes) < int64_t(width) * 3 || layout != kDRAWBOT_PixelLayout_24BGR) {
    Misuse("NewImageFromBuffer with a bad size, row length, layout or buffer");
    return kSPBadParameterError;
  }
  if (Fails("NewImageFromBuffer")) return kSPBadParameterError;
  PanelHostImage* image = new PanelHostImage;
  image->width = width;
  image->height = height;
  image->rgb.resize(size_t(width) * size_t(height) * 3);
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  for (int32_t y = 0; y < height; ++y) {
    const int32_t source_row = VELARRA_CHOSEN_DRAWBOT_BUFFER_BOTTOM_UP ? height - 1 - y : y;
    const uint8_t* src = bytes + size_t(source_row) * size_t(row_bytes);
    uint8_t* dst = &image->rgb[size_t(y) * size_t(width) * 3];
    for (int32_t x = 0; x < width; ++x) {
      dst[3 * x + 0] = src[3 * x + 2];
      dst[3 * x + 1] = src[3 * x + 1];
      dst[3 * x + 2] = src[3 * x + 0];
    }
  }
  Active->images.push_back(image);
  ++Active->live_images;
  *out = reinterpret_cast<DRAWBOT_ImageRef>(image);
  return kSPNoError;
}

SPErr ReleaseObject(DRAWBOT_ObjectRef object) {
  PanelHostImage* image = FindImage(object);
  if (!image) {
    Misuse("ReleaseObject of an object that is not a live image");
    return kSPBadParameterError;
  }
  if (Fails("ReleaseObject")) return kSPBadParameterError;
  image->released = true;
  image->rgb.clear();
  --Active->live_images;
  return kSPNoError;
}

// ---- the surface suite -------------------------------------------------------
bool IsSurface(DRAWBOT_SurfaceRef surface) {
  if (surface == reinterpret_cast<DRAWBOT_SurfaceRef>(&SurfaceTag)) return true;
  Misuse("a surface call with something that is not a surface");
  return false;
}

SPErr PushStateStack(DRAWBOT_SurfaceRef surface) {
  return IsSurface(surface) ? kSPNoError : kSPBadParameterError;
}
SPErr PopStateStack(DRAWBOT_SurfaceRef surface) {
  return IsSurface(surface) ? kSPNoError : kSPBadParameterError;
}

SPErr PaintRect(DRAWBOT_SurfaceRef surface, const DRAWBOT_ColorRGBA*, const DRAWBOT_RectF32*) {
  if (!IsSurface(surface)) return kSPBadParameterError;
  Misuse("PaintRect: not supported by this host");
  return kSPBadParameterError;
}

uint8_t Blend(uint8_t under, uint8_t over, float alpha) {
  float v = under + (over - under) * alpha;
  return static_cast<uint8_t>(std::lround(std::min(255.0f, std::max(0.0f, v))));
}

// The image's top-left pixel lands on the window point origin (whole pixels:
// the origin is rounded down); alpha blends it over the canvas.
SPErr DrawImage(DRAWBOT_SurfaceRef surface, DRAWBOT_ImageRef image_ref,
                const DRAWBOT_PointF32* origin, float alpha) {
  if (!IsSurface(surface)) return kSPBadParameterError;
  PanelHostImage* image = FindImage(image_ref);
  if (!image || !origin || !(alpha >= 0.0f && alpha <= 1.0f) || !std::isfinite(origin->x) ||
      !std::isfinite(origin->y) || std::fabs(origin->x) > 1e9f || std::fabs(origin->y) > 1e9f) {
    Misuse("DrawImage of an object that is not a live image, or with a bad origin or opacity");
    return kSPBadParameterError;
  }
  if (Fails("DrawImage")) return kSPBadParameterError;
  PanelHost& host = *Active;
  host.draws.push_back({image->width, image->height, origin->x, origin->y, alpha});
  const int64_t x0 = int64_t(std::floor(origin->x)) - host.left;
  const int64_t y0 = int64_t(std::floor(origin->y)) - host.top;
  for (int32_t y = 0; y < image->height; ++y) {
    const int64_t cy = y0 + y;
    if (cy < 0 || cy >= host.height) continue;
    for (int32_t x = 0; x < image->width; ++x) {
      const int64_t cx = x0 + x;
      if (cx < 0 || cx >= host.width) continue;
      uint8_t* dst = &host.canvas[(size_t(cy) * size_t(host.width) + size_t(cx)) * 3];
      const uint8_t* src = &image->rgb[(size_t(y) * size_t(image->width) + size_t(x)) * 3];
      for (int c = 0; c < 3; ++c) dst[c] = Blend(dst[c], src[c], alpha);
    }
  }
  return kSPNoError;
}

// ---- drawing paths: taken and given back, never used by the panel -----------
SPErr MoveTo(DRAWBOT_PathRef, float, float) { return kSPBadParameterError; }
SPErr LineTo(DRAWBOT_PathRef, float, float) { return kSPBadParameterError; }
SPErr ClosePath(DRAWBOT_PathRef) { return kSPBadParameterError; }

// ---- the App suite -----------------------------------------------------------
PF_Err InvalidateRect(const PF_ContextH contextH, const PF_Rect* rect) {
  if (!Active) return PF_Err_BAD_CALLBACK_PARAM;
  if (contextH != Active->contextH) {
    Misuse("PF_InvalidateRect of a context the host did not hand out");
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  if (Fails("PF_InvalidateRect")) return PF_Err_INTERNAL_STRUCT_DAMAGED;
  Active->invalidated.push_back(rect ? *rect : PF_Rect{0, 0, 0, 0});
  return PF_Err_NONE;
}

PF_Err Unsupported() {
  Misuse("an App suite function this host does not offer");
  return PF_Err_BAD_CALLBACK_PARAM;
}

const PF_EffectCustomUISuite1 CustomUiSuite = {GetDrawingReference};
const DRAWBOT_DrawbotSuite1 DrawSuite = {GetSupplier, GetSurface};
const DRAWBOT_SupplierSuite1 SupplierSuite = {NewPen, NewBrush, NewImageFromBuffer, NewPath,
                                              ReleaseObject};
const DRAWBOT_SurfaceSuite1 SurfaceSuite = {PushStateStack, PopStateStack, PaintRect, DrawImage};
const DRAWBOT_PathSuite1 PathSuite = {MoveTo, LineTo, ClosePath};
const PFAppSuite6 AppSuite = {
    [](void*) { return Unsupported(); },
    [](A_long, void*) { return Unsupported(); },
    [](void*) { return Unsupported(); },
    [](A_long, void*, A_short*, A_short*, A_short*) { return Unsupported(); },
    [](A_long) { return Unsupported(); },
    [](PF_Boolean*) { return Unsupported(); },
    [](const A_char*, const void*, PF_Boolean, void*) { return Unsupported(); },
    [](PF_Point*) { return Unsupported(); },
    InvalidateRect,
    [](const PF_Point*, PF_Point*) { return Unsupported(); },
};

struct OfferedSuite {
  const char* name;
  int32_t version;
  const void* table;
};
const OfferedSuite Offered[] = {
    {kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1, &CustomUiSuite},
    {kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1, &DrawSuite},
    {kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1, &SupplierSuite},
    {kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version1, &SurfaceSuite},
    {kDRAWBOT_PathSuite, kDRAWBOT_PathSuite_Version1, &PathSuite},
    {kPFAppSuite, kPFAppSuiteVersion6, &AppSuite},
};

const OfferedSuite* FindOffered(const char* name, int32_t version) {
  for (const OfferedSuite& s : Offered)
    if (std::strcmp(s.name, name) == 0 && s.version == version) return &s;
  return nullptr;
}

// ---- the basic suite in front of the context's ----------------------------
SPErr AcquireSuite(const char* name, int32_t version, const void** suite) {
  if (suite) *suite = nullptr;
  if (!Active || !name || !suite) return kSPBadParameterError;
  const OfferedSuite* offered = FindOffered(name, version);
  if (!offered) return Active->ctx->basic.AcquireSuite(name, version, suite);
  Active->requests.push_back(std::string(name) + "/" + std::to_string(version));
  if (Active->missing.count(name)) return kSPSuiteNotFoundError;
  *suite = offered->table;
  ++Active->held[name];
  ++Active->acquisitions;
  return kSPNoError;
}

SPErr ReleaseSuite(const char* name, int32_t version) {
  if (!Active || !name) return kSPBadParameterError;
  if (!FindOffered(name, version)) return Active->ctx->basic.ReleaseSuite(name, version);
  int64_t& held = Active->held[name];
  if (held <= 0) {
    Misuse(std::string("ReleaseSuite of ") + name + ", which is not held");
    return kSPBadParameterError;
  }
  if (Active->unreleasable.count(name)) return kSPBadParameterError;
  --held;
  return kSPNoError;
}
}  // namespace

PanelHost::~PanelHost() {
  if (Active == this) PanelHostDone(*this);
  for (PanelHostImage* image : images) delete image;
}

void PanelHostInit(PanelHost& host, HostContext& ctx) {
  host.ctx = &ctx;
  host.basic = ctx.basic;
  host.basic.AcquireSuite = AcquireSuite;
  host.basic.ReleaseSuite = ReleaseSuite;
  ctx.in_data.pica_basicP = &host.basic;
  std::memset(&host.context, 0, sizeof host.context);
  host.context.magic = VELARRA_CHOSEN_CONTEXT_MAGIC;
  host.context.w_type = PF_Window_EFFECT;
  host.context_ptr = &host.context;
  host.contextH = &host.context_ptr;
  PanelHostClearCanvas(host);
  Active = &host;
}

void PanelHostDone(PanelHost& host) {
  if (host.ctx && host.ctx->in_data.pica_basicP == &host.basic)
    host.ctx->in_data.pica_basicP = &host.ctx->basic;
  if (Active == &host) Active = nullptr;
}

void PanelHostClearCanvas(PanelHost& host) {
  host.canvas.resize(size_t(host.width) * size_t(host.height) * 3);
  for (size_t i = 0; i < host.canvas.size(); i += 3)
    std::memcpy(&host.canvas[i], host.background, 3);
}

int64_t PanelHostSuitesHeld(const PanelHost& host) {
  int64_t n = 0;
  for (const auto& kv : host.held) n += kv.second;
  return n;
}

PF_EventExtra PanelHostEvent(const PanelHost& host, PF_EventType type) {
  PF_EventExtra e;
  std::memset(&e, 0, sizeof e);
  e.contextH = host.contextH;
  e.e_type = type;
  e.effect_win.index = 1;
  e.effect_win.area = PF_EA_CONTROL;
  e.effect_win.current_frame = {host.left, host.top, host.left + PANEL_HOST_WIDTH,
                                host.top + PANEL_HOST_HEIGHT};
  return e;
}

PF_EventExtra PanelHostDrawEvent(const PanelHost& host) {
  PF_EventExtra e = PanelHostEvent(host, PF_Event_DRAW);
  e.u.draw.update_rect = e.effect_win.current_frame;
  return e;
}

PF_EventExtra PanelHostCursorEvent(const PanelHost& host, A_long x, A_long y) {
  PF_EventExtra e = PanelHostEvent(host, PF_Event_ADJUST_CURSOR);
  e.u.adjust_cursor.screen_point = {x, y};
  return e;
}

PF_EventExtra PanelHostClickEvent(const PanelHost& host, A_long x, A_long y) {
  PF_EventExtra e = PanelHostEvent(host, PF_Event_DO_CLICK);
  e.u.do_click.screen_point = {x, y};
  e.u.do_click.num_clicks = 1;
  return e;
}

PF_Err PanelHostSend(PanelHost& host, PF_EntryPointFunc entry, PF_ParamDef* params[],
                     PF_EventExtra& event) {
  return entry(PF_Cmd_EVENT, &host.ctx->in_data, &host.ctx->out_data, params, nullptr, &event);
}

uint32_t PanelHostPixel(const PanelHost& host, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= host.width || y >= host.height) return 0;
  const uint8_t* p = &host.canvas[(size_t(y) * size_t(host.width) + size_t(x)) * 3];
  return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

bool PanelHostWritePng(const PanelHost& host, const std::string& path, std::string& error) {
  HostWorld w;
  if (!AllocWorld(w, host.width, host.height, false)) {
    error = "the canvas has no pixels";
    return false;
  }
  for (int32_t y = 0; y < host.height; ++y) {
    PF_Pixel* row =
        reinterpret_cast<PF_Pixel*>(w.pixels.data() + size_t(y) * size_t(w.world.rowbytes));
    for (int32_t x = 0; x < host.width; ++x) {
      const uint8_t* p = &host.canvas[(size_t(y) * size_t(host.width) + size_t(x)) * 3];
      row[x] = {255, p[0], p[1], p[2]};
    }
  }
  return WritePng(w, path, error);
}
