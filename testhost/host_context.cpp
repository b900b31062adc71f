#include "testhost/host_context.h"

#include "testhost/host_traps.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
constexpr uint32_t HANDLE_MAGIC = 0x48444C45;  // 'HDLE'
constexpr uint32_t DEAD_MAGIC = 0x44454144;    // 'DEAD'
constexpr int HANDLE_FILL = 0xA5;
// Handles larger than this are refused like a failed allocation.
constexpr uint64_t HANDLE_LIMIT = uint64_t(1) << 32;

HostContext* Active = nullptr;

HostContext* FromRef(PF_ProgPtr ref) { return reinterpret_cast<HostContext*>(ref); }

// The plug-in's record `def` in the checkout records, or null.
std::pair<const PF_ParamDef*, PF_ParamIndex>* CheckoutRecord(HostContext& ctx, const PF_ParamDef* def) {
  for (auto& r : ctx.checkout_records)
    if (r.first == def) return &r;
  return nullptr;
}

void Misuse(HostContext* ctx, const std::string& what) {
  if (ctx) HostContextMisuse(*ctx, what);
}

// The handle record whose `block` field h points at, if it is live.
HostHandle* Find(HostContext* ctx, PF_Handle h) {
  if (!ctx || !h) return nullptr;
  for (HostHandle* rec : ctx->handles)
    if (reinterpret_cast<PF_Handle>(&rec->block) == h) return rec;
  return nullptr;
}

PF_Handle NewHandle(A_HandleSize size) {
  HostContext* ctx = Active;
  if (!ctx) return nullptr;
  ++ctx->handle_allocs;
  if (ctx->fail_new_handle.Fires(ctx->handle_allocs)) return nullptr;
  if (size > HANDLE_LIMIT) return nullptr;
  HostHandle* rec = static_cast<HostHandle*>(std::calloc(1, sizeof(HostHandle)));
  if (!rec) return nullptr;
  rec->block = std::malloc(size ? static_cast<size_t>(size) : 1);
  if (!rec->block) {
    std::free(rec);
    return nullptr;
  }
  // The host promises nothing about a new handle's contents: a pattern
  // instead of zeros shows up a plug-in that reads what it never wrote.
  std::memset(rec->block, HANDLE_FILL, size ? static_cast<size_t>(size) : 1);
  rec->size = size;
  rec->magic = HANDLE_MAGIC;
  ctx->handles.push_back(rec);
  ++ctx->handles_made;
  return reinterpret_cast<PF_Handle>(&rec->block);
}

void* LockHandle(PF_Handle h) {
  HostContext* ctx = Active;
  HostHandle* rec = Find(ctx, h);
  if (!rec) {
    Misuse(ctx, "host_lock_handle of a handle that is not live");
    return nullptr;
  }
  ++rec->locks;
  return rec->block;
}

void UnlockHandle(PF_Handle h) {
  HostContext* ctx = Active;
  HostHandle* rec = Find(ctx, h);
  if (!rec) {
    Misuse(ctx, "host_unlock_handle of a handle that is not live");
    return;
  }
  if (rec->locks <= 0) {
    Misuse(ctx, "host_unlock_handle of a handle that is not locked");
    return;
  }
  --rec->locks;
}

void DisposeHandle(PF_Handle h) {
  HostContext* ctx = Active;
  HostHandle* rec = Find(ctx, h);
  if (!rec) {
    Misuse(ctx, "host_dispose_handle of a handle that is not live");
    return;
  }
  ctx->handles.erase(std::find(ctx->handles.begin(), ctx->handles.end(), rec));
  ++ctx->handles_disposed;
  rec->magic = DEAD_MAGIC;
  std::free(rec->block);
  std::free(rec);
}

A_char* StrCopy(A_char* dst, const A_char* src) {
  if (!dst || !src) {
    Misuse(Active, "strcpy with a null pointer");
    return dst;
  }
  return std::strcpy(dst, src);
}

PF_Err AddParam(PF_ProgPtr ref, PF_ParamIndex index, PF_ParamDefPtr def) {
  HostContext* ctx = FromRef(ref);
  if (!ctx || !def) return PF_Err_BAD_CALLBACK_PARAM;
  ++ctx->add_param_calls;
  if (ctx->fail_add_param.Fires(ctx->add_param_calls)) return ctx->fail_add_param.error;
  if (index != -1) Misuse(ctx, "add_param with an index other than -1");
  ctx->registered.push_back(*def);
  return PF_Err_NONE;
}

PF_Err RegisterUi(PF_ProgPtr ref, PF_CustomUIInfo* info) {
  HostContext* ctx = FromRef(ref);
  if (!ctx || !info) return PF_Err_BAD_CALLBACK_PARAM;
  ++ctx->register_ui_calls;
  ctx->num_params_at_register_ui = ctx->out_data.num_params;
  ctx->ui_registrations.push_back(*info);
  return ctx->register_ui_result;
}

PF_Err CheckoutParam(PF_ProgPtr ref, PF_ParamIndex index, A_long what_time, A_long time_step, A_u_long time_scale,
                     PF_ParamDef* def) {
  HostContext* ctx = FromRef(ref);
  if (!ctx || !def) return PF_Err_BAD_CALLBACK_PARAM;
  ++ctx->checkout_calls;
  if (ctx->record_checkouts) {
    ctx->checkout_log.emplace_back(index, what_time);
    if (auto* r = CheckoutRecord(*ctx, def)) r->second = index;
    else ctx->checkout_records.emplace_back(def, index);
  }
  if (ctx->fail_checkout.Fires(ctx->checkout_calls)) {
    std::memset(def, 0, sizeof *def);
    return ctx->fail_checkout.error;
  }
  if (!ctx->checkout) {
    std::memset(def, 0, sizeof *def);
    return PF_Err_INVALID_INDEX;
  }
  PF_Err err = ctx->checkout(index, what_time, time_step, time_scale, def);
  if (!err) ++ctx->checkouts_open;
  return err;
}

PF_Err CheckinParam(PF_ProgPtr ref, PF_ParamDef* def) {
  HostContext* ctx = FromRef(ref);
  if (!ctx || !def) return PF_Err_BAD_CALLBACK_PARAM;
  ++ctx->checkin_calls;
  if (ctx->record_checkouts) {
    const auto* r = CheckoutRecord(*ctx, def);
    ctx->checkin_log.push_back(r ? r->second : -1);
  }
  // A check-in of a failed checkout is allowed and answers 0, as the host
  // does; only successful checkouts are counted as open.
  if (ctx->checkouts_open > 0) --ctx->checkouts_open;
  return PF_Err_NONE;
}

PF_Err GetPlatformData(PF_ProgPtr ref, PF_PlatDataID which, void* data) {
  HostContext* ctx = FromRef(ref);
  if (!ctx || !data) return PF_Err_BAD_CALLBACK_PARAM;
  ++ctx->platform_data_calls;
  if (ctx->fail_platform_data.Fires(ctx->platform_data_calls)) return ctx->fail_platform_data.error;
  if (which != PF_PlatData_MAIN_WND) return PF_Err_BAD_CALLBACK_PARAM;
  std::memcpy(data, &ctx->main_window, sizeof(void*));
  return PF_Err_NONE;
}

SPErr AcquireSuite(const char* name, int32_t version, const void** suite) {
  HostContext* ctx = Active;
  if (suite) *suite = nullptr;
  if (!ctx || !name || !suite) return kSPBadParameterError;
  ctx->suite_requests.push_back(std::string(name) + "/" + std::to_string(version));
  for (const HostSuite& s : ctx->suites) {
    if (s.name == name && s.version == version) {
      *suite = s.table;
      ++ctx->suites_acquired;
      return kSPNoError;
    }
  }
  return kSPSuiteNotFoundError;
}

SPErr ReleaseSuite(const char* name, int32_t version) {
  HostContext* ctx = Active;
  if (!ctx || !name) return kSPBadParameterError;
  for (const HostSuite& s : ctx->suites) {
    if (s.name == name && s.version == version) {
      ++ctx->suites_released;
      return kSPNoError;
    }
  }
  return kSPSuiteNotFoundError;
}

// Every slot the plug-ins have no use for: a trap of its own signature.
void SetTraps(HostContext& ctx) {
  PF_InteractCallbacks& inter = ctx.in_data.inter;
  HOST_TRAP(inter, abort);
  HOST_TRAP(inter, progress);
  HOST_TRAP(inter, checkout_layer_audio);
  HOST_TRAP(inter, checkin_layer_audio);
  HOST_TRAP(inter, get_audio_data);

  PF_UtilCallbacks& u = ctx.utils;
  HOST_TRAP(u, begin_sampling);
  HOST_TRAP(u, subpixel_sample);
  HOST_TRAP(u, area_sample);
  HOST_TRAP(u, end_sampling);
  HOST_TRAP(u, composite_rect);
  HOST_TRAP(u, blend);
  HOST_TRAP(u, convolve);
  HOST_TRAP(u, copy);
  HOST_TRAP(u, fill);
  HOST_TRAP(u, gaussian_kernel);
  HOST_TRAP(u, iterate);
  HOST_TRAP(u, premultiply);
  HOST_TRAP(u, premultiply_color);
  HOST_TRAP(u, new_world);
  HOST_TRAP(u, dispose_world);
  HOST_TRAP(u, iterate_origin);
  HOST_TRAP(u, iterate_lut);
  HOST_TRAP(u, transfer_rect);
  HOST_TRAP(u, transform_world);
  HOST_TRAP(u, get_callback_addr);
  HOST_TRAP(u, app);
  HOST_TRAP(u, ansi.atan);
  HOST_TRAP(u, ansi.atan2);
  HOST_TRAP(u, ansi.ceil);
  HOST_TRAP(u, ansi.cos);
  HOST_TRAP(u, ansi.exp);
  HOST_TRAP(u, ansi.fabs);
  HOST_TRAP(u, ansi.floor);
  HOST_TRAP(u, ansi.fmod);
  HOST_TRAP(u, ansi.hypot);
  HOST_TRAP(u, ansi.log);
  HOST_TRAP(u, ansi.log10);
  HOST_TRAP(u, ansi.pow);
  HOST_TRAP(u, ansi.sin);
  HOST_TRAP(u, ansi.sqrt);
  HOST_TRAP(u, ansi.tan);
  HOST_TRAP(u, ansi.sprintf);
  HOST_TRAP(u, ansi.asin);
  HOST_TRAP(u, ansi.acos);
  HOST_TRAP(u, colorCB.RGBtoHLS);
  HOST_TRAP(u, colorCB.HLStoRGB);
  HOST_TRAP(u, colorCB.RGBtoYIQ);
  HOST_TRAP(u, colorCB.YIQtoRGB);
  HOST_TRAP(u, colorCB.Luminance);
  HOST_TRAP(u, colorCB.Hue);
  HOST_TRAP(u, colorCB.Lightness);
  HOST_TRAP(u, colorCB.Saturation);
  HOST_TRAP(u, host_get_handle_size);
  HOST_TRAP(u, iterate_origin_non_clip_src);
  HOST_TRAP(u, iterate_generic);
  HOST_TRAP(u, host_resize_handle);
  HOST_TRAP(u, subpixel_sample16);
  HOST_TRAP(u, area_sample16);
  HOST_TRAP(u, fill16);
  HOST_TRAP(u, premultiply_color16);
  HOST_TRAP(u, iterate16);
  HOST_TRAP(u, iterate_origin16);
  HOST_TRAP(u, iterate_origin_non_clip_src16);
  HOST_TRAP(u, get_pixel_data8);
  HOST_TRAP(u, get_pixel_data16);

  SPBasicSuite& b = ctx.basic;
  HOST_TRAP(b, IsEqual);
  HOST_TRAP(b, AllocateBlock);
  HOST_TRAP(b, FreeBlock);
  HOST_TRAP(b, ReallocateBlock);
  HOST_TRAP(b, Undefined);
}
}  // namespace

void HostContextInit(HostContext& ctx) {
  ctx = HostContext();
  std::memset(&ctx.in_data, 0, sizeof ctx.in_data);
  std::memset(&ctx.out_data, 0, sizeof ctx.out_data);
  std::memset(&ctx.utils, 0, sizeof ctx.utils);
  std::memset(&ctx.basic, 0, sizeof ctx.basic);

  SetTraps(ctx);
  ctx.utils.host_new_handle = NewHandle;
  ctx.utils.host_lock_handle = LockHandle;
  ctx.utils.host_unlock_handle = UnlockHandle;
  ctx.utils.host_dispose_handle = DisposeHandle;
  ctx.utils.ansi.strcpy = StrCopy;
  ctx.utils.get_platform_data = GetPlatformData;

  ctx.basic.AcquireSuite = AcquireSuite;
  ctx.basic.ReleaseSuite = ReleaseSuite;

  PF_InData& in = ctx.in_data;
  in.inter.add_param = AddParam;
  in.inter.register_ui = RegisterUi;
  in.inter.checkout_param = CheckoutParam;
  in.inter.checkin_param = CheckinParam;
  in.utils = &ctx.utils;
  in.effect_ref = reinterpret_cast<PF_ProgPtr>(&ctx);
  in.pica_basicP = &ctx.basic;
  in.version.major = 13;
  in.version.minor = 2;
  in.quality = PF_Quality_HI;
  in.time_scale = 2500;
  in.time_step = 100;
  in.local_time_step = 100;
  in.downsample_x = {1, 1};
  in.downsample_y = {1, 1};
  in.pixel_aspect_ratio = {1, 1};
  HostContextActivate(&ctx);
}

void HostContextActivate(HostContext* ctx) { Active = ctx; }
HostContext* HostContextActive() { return Active; }

int64_t HostContextReleaseHandles(HostContext& ctx) {
  int64_t n = static_cast<int64_t>(ctx.handles.size());
  for (HostHandle* rec : ctx.handles) {
    std::free(rec->block);
    std::free(rec);
  }
  ctx.handles.clear();
  return n;
}

HostHandle* HostFindHandle(HostContext& ctx, PF_Handle h) { return Find(&ctx, h); }

void HostContextMisuse(HostContext& ctx, const std::string& what) {
  ++ctx.misuse;
  if (ctx.misuse_log.size() < 100) ctx.misuse_log.push_back(what);
}
