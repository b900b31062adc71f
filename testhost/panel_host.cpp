#include "testhost/panel_host.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "testhost/host_traps.h"
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
    const int32_t source_row = height - 1 - y;  // bottom-up
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

// The full tables: the panel's functions here, traps in every other slot.
void FillSuites(PanelHost& host) {
  host.custom_ui.PF_GetDrawingReference = GetDrawingReference;

  host.draw.GetSupplier = GetSupplier;
  host.draw.GetSurface = GetSurface;

  DRAWBOT_SupplierSuite1& sp = host.supplier;
  HOST_TRAP(sp, NewPen);
  HOST_TRAP(sp, NewBrush);
  HOST_TRAP(sp, SupportsText);
  HOST_TRAP(sp, GetDefaultFontSize);
  HOST_TRAP(sp, NewDefaultFont);
  sp.NewImageFromBuffer = NewImageFromBuffer;
  HOST_TRAP(sp, NewPath);
  HOST_TRAP(sp, SupportsPixelLayoutBGRA);
  HOST_TRAP(sp, PrefersPixelLayoutBGRA);
  HOST_TRAP(sp, SupportsPixelLayoutARGB);
  HOST_TRAP(sp, PrefersPixelLayoutARGB);
  HOST_TRAP(sp, RetainObject);
  sp.ReleaseObject = ReleaseObject;

  DRAWBOT_SurfaceSuite1& sf = host.surface;
  HOST_TRAP(sf, PushStateStack);
  HOST_TRAP(sf, PopStateStack);
  HOST_TRAP(sf, PaintRect);
  HOST_TRAP(sf, FillPath);
  HOST_TRAP(sf, StrokePath);
  HOST_TRAP(sf, Clip);
  HOST_TRAP(sf, GetClipBounds);
  HOST_TRAP(sf, IsWithinClipBounds);
  HOST_TRAP(sf, Transform);
  HOST_TRAP(sf, DrawString);
  sf.DrawImage = DrawImage;
  HOST_TRAP(sf, SetInterpolationPolicy);
  HOST_TRAP(sf, GetInterpolationPolicy);
  HOST_TRAP(sf, SetAntiAliasPolicy);
  HOST_TRAP(sf, GetAntiAliasPolicy);
  HOST_TRAP(sf, Flush);
  HOST_TRAP(sf, GetTransformToScreenScale);

  // Taken and given back with the others, never used by the panel.
  DRAWBOT_PathSuite1& pa = host.path;
  HOST_TRAP(pa, MoveTo);
  HOST_TRAP(pa, LineTo);
  HOST_TRAP(pa, BezierTo);
  HOST_TRAP(pa, AddRect);
  HOST_TRAP(pa, AddArc);
  HOST_TRAP(pa, Close);

  PFAppSuite4& ap = host.app;
  HOST_TRAP(ap, PF_AppGetBgColor);
  HOST_TRAP(ap, PF_AppGetColor);
  HOST_TRAP(ap, PF_GetPersonalInfo);
  HOST_TRAP(ap, PF_GetFontStyleSheet);
  HOST_TRAP(ap, PF_SetCursor);
  HOST_TRAP(ap, PF_IsRenderEngine);
  HOST_TRAP(ap, PF_AppColorPickerDialog);
  HOST_TRAP(ap, PF_GetMouse);
  ap.PF_InvalidateRect = InvalidateRect;
  HOST_TRAP(ap, PF_ConvertLocalToGlobal);
  HOST_TRAP(ap, PF_GetColorAtGlobalPoint);
}

// The host's event callbacks: the panel calls none of them.
void FillEventCallbacks(const PanelHost& host, PF_EventCallbacks& cbs) {
  cbs.refcon = const_cast<PanelHost*>(&host);
  HOST_TRAP(cbs, layer_to_comp);
  HOST_TRAP(cbs, comp_to_layer);
  HOST_TRAP(cbs, get_comp2layer_xform);
  HOST_TRAP(cbs, get_layer2comp_xform);
  HOST_TRAP(cbs, source_to_frame);
  HOST_TRAP(cbs, frame_to_source);
  HOST_TRAP(cbs, info_draw_color);
  HOST_TRAP(cbs, info_draw_text);
}

// The active host's table of suite `name` at `version`, or null.
const void* FindOffered(const char* name, int32_t version) {
  if (!Active) return nullptr;
  const struct {
    const char* name;
    int32_t version;
    const void* table;
  } offered[] = {
      {kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1, &Active->custom_ui},
      {kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1, &Active->draw},
      {kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1, &Active->supplier},
      {kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version1, &Active->surface},
      {kDRAWBOT_PathSuite, kDRAWBOT_PathSuite_Version1, &Active->path},
      {kPFAppSuite, kPFAppSuiteVersion4, &Active->app},
  };
  for (const auto& s : offered)
    if (std::strcmp(s.name, name) == 0 && s.version == version) return s.table;
  return nullptr;
}

// ---- the basic suite in front of the context's ----------------------------
SPErr AcquireSuite(const char* name, int32_t version, const void** suite) {
  if (suite) *suite = nullptr;
  if (!Active || !name || !suite) return kSPBadParameterError;
  const void* offered = FindOffered(name, version);
  if (!offered) return Active->ctx->basic.AcquireSuite(name, version, suite);
  Active->requests.push_back(std::string(name) + "/" + std::to_string(version));
  if (Active->missing.count(name)) return kSPSuiteNotFoundError;
  *suite = offered;
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
  FillSuites(host);
  std::memset(&host.context, 0, sizeof host.context);
  host.context.magic = PANEL_HOST_CONTEXT_MAGIC;
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
  FillEventCallbacks(host, e.cbs);
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

PF_Err PanelHostSend(PanelHost& host, PF_FilterProc entry, PF_ParamDef* params[],
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
