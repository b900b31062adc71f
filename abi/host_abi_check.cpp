// Compile-time check of the host's binary interface on 64-bit Windows: the
// offsets, sizes, kinds and values of every record, callback and constant
// that the plug-ins or our test host rely on. The native build asserts the
// same figures: the records have no member wider than 8 bytes, so the two
// platforms lay them out alike, and a native test that passes a record
// passes it as the modules do.
//
// Kinds: an integer type stands for its width and signedness (char is
// signed), Ptr for a data pointer, Fn for a function pointer, Rec for an
// embedded record or union; arrays are checked by their element.
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "host/host.h"
#include "sdk/AE_EffectSuites.h"
#include "testhost/host_context.h"
#include "testhost/panel_host.h"

namespace {
struct Ptr;
struct Fn;
struct Rec;

template <typename F, typename K>
constexpr bool KindIs() {
  using T = std::remove_cv_t<std::remove_all_extents_t<F>>;
  if constexpr (std::is_same_v<K, Ptr>) {
    return std::is_pointer_v<T> && !std::is_function_v<std::remove_pointer_t<T>>;
  } else if constexpr (std::is_same_v<K, Fn>) {
    return std::is_pointer_v<T> && std::is_function_v<std::remove_pointer_t<T>>;
  } else if constexpr (std::is_same_v<K, Rec>) {
    return std::is_class_v<T> || std::is_union_v<T>;
  } else {
    return (std::is_integral_v<T> || std::is_floating_point_v<T>) && sizeof(T) == sizeof(K) &&
           std::is_floating_point_v<T> == std::is_floating_point_v<K> && std::is_signed_v<T> == std::is_signed_v<K>;
  }
}

constexpr bool Same(const char* a, const char* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}
}  // namespace

#define RECORD(T, size, align)                                   \
  static_assert(sizeof(T) == (size), #T " has " #size " bytes"); \
  static_assert(alignof(T) == (align), #T " is aligned to " #align)

#define FIELD(T, f, off, size, K)                                                      \
  static_assert(offsetof(T, f) == (off), #T "." #f " lies at " #off);                  \
  static_assert(sizeof(static_cast<T*>(nullptr)->f) == (size), #T "." #f " has " #size " bytes"); \
  static_assert(KindIs<decltype(static_cast<T*>(nullptr)->f), K>(), #T "." #f " is " #K)

#define SIGNATURE(T, f, ...) \
  static_assert(std::is_same_v<decltype(static_cast<T*>(nullptr)->f), __VA_ARGS__>, #T "." #f " signature")

#define VALUE(name, value) static_assert((name) == (value), #name " is " #value)
#define NAME(name, text) static_assert(Same(name, text), #name " is \"" text "\"")

// ---- platform ----------------------------------------------------------------
static_assert(sizeof(void*) == 8 && sizeof(void (*)()) == 8, "64-bit pointers");
static_assert(std::is_signed_v<char>, "plain char is signed");

// ---- scalar and pointer typedefs ---------------------------------------------
#define SCALAR(T, K) static_assert(KindIs<T, K>(), #T " is " #K)
SCALAR(A_Boolean, uint8_t);
SCALAR(A_FpLong, double);
SCALAR(A_FpShort, float);
SCALAR(A_HandleSize, uint64_t);
SCALAR(A_char, char);
SCALAR(A_long, int32_t);
SCALAR(A_short, int16_t);
SCALAR(A_u_char, uint8_t);
SCALAR(A_u_long, uint32_t);
SCALAR(A_u_longlong, uint64_t);
SCALAR(A_u_short, uint16_t);
SCALAR(A_intptr_t, int64_t);
SCALAR(PF_Boolean, char);
SCALAR(PF_ChangeFlags, int32_t);
SCALAR(PF_Cmd, int32_t);
SCALAR(PF_CustomEventFlags, int32_t);
SCALAR(PF_EffectArea, int32_t);
SCALAR(PF_Err, int32_t);
SCALAR(PF_EventInFlags, int32_t);
SCALAR(PF_EventOutFlags, int32_t);
SCALAR(PF_EventType, int32_t);
SCALAR(PF_Fixed, int32_t);
SCALAR(PF_FpLong, double);
SCALAR(PF_FpShort, float);
SCALAR(PF_OutFlags, int32_t);
SCALAR(PF_ParamFlags, int32_t);
SCALAR(PF_ParamIndex, int32_t);
SCALAR(PF_ParamType, int32_t);
SCALAR(PF_ParamUIFlags, int32_t);
SCALAR(PF_ParamValue, int32_t);
SCALAR(PF_PlatDataID, int32_t);
SCALAR(PF_Quality, int32_t);
SCALAR(PF_WindowType, int32_t);
SCALAR(PF_WorldFlags, int32_t);
SCALAR(PF_CursorType, int32_t);
SCALAR(PF_Field, int32_t);
SCALAR(PF_InFlags, int32_t);
SCALAR(PF_KeyCode, uint32_t);
SCALAR(PF_Modifiers, int32_t);
SCALAR(PF_OutFlags2, int32_t);
SCALAR(PF_SoundChannels, int16_t);
SCALAR(PF_SoundFormat, int16_t);
SCALAR(PF_SoundSampleSize, int16_t);
SCALAR(PF_UIAlignment, int32_t);
SCALAR(PF_ValueDisplayFlags, int16_t);
SCALAR(SPBoolean, int32_t);
SCALAR(SPErr, int32_t);
SCALAR(DRAWBOT_PixelLayout, int32_t);
SCALAR(PF_ContextH, Ptr);
SCALAR(PF_ContextPtr, Ptr);
SCALAR(PF_ContextRefcon, Ptr);
SCALAR(PF_Handle, Ptr);
SCALAR(PF_ParamDefH, Ptr);
SCALAR(PF_ParamDefPtr, Ptr);
SCALAR(PF_ParamList, Ptr);
SCALAR(PF_PixelPtr, Ptr);
SCALAR(PF_ProgPtr, Ptr);
SCALAR(DRAWBOT_BrushRef, Ptr);
SCALAR(DRAWBOT_DrawRef, Ptr);
SCALAR(DRAWBOT_ImageRef, Ptr);
SCALAR(DRAWBOT_ObjectRef, Ptr);
SCALAR(DRAWBOT_PathRef, Ptr);
SCALAR(DRAWBOT_PenRef, Ptr);
SCALAR(DRAWBOT_SupplierRef, Ptr);
SCALAR(DRAWBOT_SurfaceRef, Ptr);

// ---- geometry, pixels, worlds ------------------------------------------------
RECORD(PF_Rect, 16, 4);
FIELD(PF_Rect, left, 0, 4, int32_t);
FIELD(PF_Rect, top, 4, 4, int32_t);
FIELD(PF_Rect, right, 8, 4, int32_t);
FIELD(PF_Rect, bottom, 12, 4, int32_t);
static_assert(std::is_same_v<PF_LRect, PF_Rect> && std::is_same_v<PF_UnionableRect, PF_Rect>, "one rectangle");

RECORD(PF_Point, 8, 4);
FIELD(PF_Point, h, 0, 4, int32_t);
FIELD(PF_Point, v, 4, 4, int32_t);

RECORD(PF_RationalScale, 8, 4);
FIELD(PF_RationalScale, num, 0, 4, int32_t);
FIELD(PF_RationalScale, den, 4, 4, uint32_t);

RECORD(PF_Pixel, 4, 1);
FIELD(PF_Pixel, alpha, 0, 1, uint8_t);
FIELD(PF_Pixel, red, 1, 1, uint8_t);
FIELD(PF_Pixel, green, 2, 1, uint8_t);
FIELD(PF_Pixel, blue, 3, 1, uint8_t);

RECORD(PF_Pixel16, 8, 2);
FIELD(PF_Pixel16, alpha, 0, 2, uint16_t);
FIELD(PF_Pixel16, red, 2, 2, uint16_t);
FIELD(PF_Pixel16, green, 4, 2, uint16_t);
FIELD(PF_Pixel16, blue, 6, 2, uint16_t);

RECORD(PF_SpecVersion, 4, 2);
FIELD(PF_SpecVersion, major, 0, 2, int16_t);
FIELD(PF_SpecVersion, minor, 2, 2, int16_t);

RECORD(PF_LayerDef, 120, 8);
static_assert(std::is_same_v<PF_EffectWorld, PF_LayerDef>, "a world is a layer record");
FIELD(PF_LayerDef, reserved0, 0, 8, Ptr);
FIELD(PF_LayerDef, reserved1, 8, 8, Ptr);
FIELD(PF_LayerDef, world_flags, 16, 4, int32_t);
FIELD(PF_LayerDef, data, 24, 8, Ptr);
FIELD(PF_LayerDef, rowbytes, 32, 4, int32_t);
FIELD(PF_LayerDef, width, 36, 4, int32_t);
FIELD(PF_LayerDef, height, 40, 4, int32_t);
FIELD(PF_LayerDef, extent_hint, 44, 16, Rec);
FIELD(PF_LayerDef, platform_ref, 64, 8, Ptr);
FIELD(PF_LayerDef, reserved_long1, 72, 4, int32_t);
FIELD(PF_LayerDef, reserved_long4, 80, 8, Ptr);
FIELD(PF_LayerDef, pix_aspect_ratio, 88, 8, Rec);
FIELD(PF_LayerDef, reserved_long2, 96, 8, Ptr);
FIELD(PF_LayerDef, origin_x, 104, 4, int32_t);
FIELD(PF_LayerDef, origin_y, 108, 4, int32_t);
FIELD(PF_LayerDef, reserved_long3, 112, 4, int32_t);
FIELD(PF_LayerDef, dephault, 116, 4, int32_t);

// ---- parameters ----------------------------------------------------------------
RECORD(PF_SliderDef, 88, 4);
FIELD(PF_SliderDef, value, 0, 4, int32_t);
FIELD(PF_SliderDef, value_str, 4, 32, char);
FIELD(PF_SliderDef, value_desc, 36, 32, char);
FIELD(PF_SliderDef, valid_min, 68, 4, int32_t);
FIELD(PF_SliderDef, valid_max, 72, 4, int32_t);
FIELD(PF_SliderDef, slider_min, 76, 4, int32_t);
FIELD(PF_SliderDef, slider_max, 80, 4, int32_t);
FIELD(PF_SliderDef, dephault, 84, 4, int32_t);

RECORD(PF_FixedSliderDef, 92, 4);
FIELD(PF_FixedSliderDef, value, 0, 4, int32_t);
FIELD(PF_FixedSliderDef, value_str, 4, 32, char);
FIELD(PF_FixedSliderDef, value_desc, 36, 32, char);
FIELD(PF_FixedSliderDef, valid_min, 68, 4, int32_t);
FIELD(PF_FixedSliderDef, valid_max, 72, 4, int32_t);
FIELD(PF_FixedSliderDef, slider_min, 76, 4, int32_t);
FIELD(PF_FixedSliderDef, slider_max, 80, 4, int32_t);
FIELD(PF_FixedSliderDef, dephault, 84, 4, int32_t);
FIELD(PF_FixedSliderDef, precision, 88, 2, int16_t);
FIELD(PF_FixedSliderDef, display_flags, 90, 2, int16_t);

RECORD(PF_AngleDef, 16, 4);
FIELD(PF_AngleDef, value, 0, 4, int32_t);
FIELD(PF_AngleDef, dephault, 4, 4, int32_t);
FIELD(PF_AngleDef, valid_min, 8, 4, int32_t);
FIELD(PF_AngleDef, valid_max, 12, 4, int32_t);

RECORD(PF_CheckBoxDef, 16, 8);
FIELD(PF_CheckBoxDef, value, 0, 4, int32_t);
FIELD(PF_CheckBoxDef, dephault, 4, 1, char);
FIELD(PF_CheckBoxDef, reserved, 5, 1, char);
FIELD(PF_CheckBoxDef, reserved1, 6, 2, int16_t);
FIELD(PF_CheckBoxDef, u, 8, 8, Rec);
FIELD(PF_CheckBoxDef, u.nameptr, 8, 8, Ptr);

RECORD(PF_ColorDef, 8, 1);
FIELD(PF_ColorDef, value, 0, 4, Rec);
FIELD(PF_ColorDef, dephault, 4, 4, Rec);

RECORD(PF_PointDef, 20, 4);
FIELD(PF_PointDef, x_value, 0, 4, int32_t);
FIELD(PF_PointDef, y_value, 4, 4, int32_t);
FIELD(PF_PointDef, reserved, 8, 3, char);
FIELD(PF_PointDef, restrict_bounds, 11, 1, char);
FIELD(PF_PointDef, x_dephault, 12, 4, int32_t);
FIELD(PF_PointDef, y_dephault, 16, 4, int32_t);

RECORD(PF_PopupDef, 16, 8);
FIELD(PF_PopupDef, value, 0, 4, int32_t);
FIELD(PF_PopupDef, num_choices, 4, 2, int16_t);
FIELD(PF_PopupDef, dephault, 6, 2, int16_t);
FIELD(PF_PopupDef, u, 8, 8, Rec);
FIELD(PF_PopupDef, u.namesptr, 8, 8, Ptr);

RECORD(PF_ParamDefUnion, 120, 8);
FIELD(PF_ParamDefUnion, ld, 0, 120, Rec);
FIELD(PF_ParamDefUnion, sd, 0, 88, Rec);
FIELD(PF_ParamDefUnion, fd, 0, 92, Rec);
FIELD(PF_ParamDefUnion, ad, 0, 16, Rec);
FIELD(PF_ParamDefUnion, bd, 0, 16, Rec);
FIELD(PF_ParamDefUnion, cd, 0, 8, Rec);
FIELD(PF_ParamDefUnion, td, 0, 20, Rec);
FIELD(PF_ParamDefUnion, pd, 0, 16, Rec);

RECORD(PF_ParamDef, 176, 8);
FIELD(PF_ParamDef, uu, 0, 4, Rec);
FIELD(PF_ParamDef, uu.id, 0, 4, int32_t);
FIELD(PF_ParamDef, uu.change_flags, 0, 4, int32_t);
FIELD(PF_ParamDef, ui_flags, 4, 4, int32_t);
FIELD(PF_ParamDef, ui_width, 8, 2, int16_t);
FIELD(PF_ParamDef, ui_height, 10, 2, int16_t);
FIELD(PF_ParamDef, param_type, 12, 4, int32_t);
FIELD(PF_ParamDef, name, 16, 32, char);
FIELD(PF_ParamDef, flags, 48, 4, int32_t);
FIELD(PF_ParamDef, unused, 52, 4, int32_t);
FIELD(PF_ParamDef, u, 56, 120, Rec);
static_assert(std::is_same_v<PF_ParamList, PF_ParamDef**>, "the parameter list is an array of pointers");

RECORD(PF_CustomUIInfo, 44, 4);
FIELD(PF_CustomUIInfo, reserved, 0, 4, int32_t);
FIELD(PF_CustomUIInfo, events, 4, 4, int32_t);
FIELD(PF_CustomUIInfo, comp_ui_width, 8, 4, int32_t);
FIELD(PF_CustomUIInfo, comp_ui_height, 12, 4, int32_t);
FIELD(PF_CustomUIInfo, comp_ui_alignment, 16, 4, int32_t);
FIELD(PF_CustomUIInfo, layer_ui_width, 20, 4, int32_t);
FIELD(PF_CustomUIInfo, layer_ui_height, 24, 4, int32_t);
FIELD(PF_CustomUIInfo, layer_ui_alignment, 28, 4, int32_t);
FIELD(PF_CustomUIInfo, preview_ui_width, 32, 4, int32_t);
FIELD(PF_CustomUIInfo, preview_ui_height, 36, 4, int32_t);
FIELD(PF_CustomUIInfo, preview_ui_alignment, 40, 4, int32_t);

// ---- command records -------------------------------------------------------------
RECORD(PF_SoundFormatInfo, 16, 8);
FIELD(PF_SoundFormatInfo, rateF, 0, 8, double);
FIELD(PF_SoundFormatInfo, num_channels, 8, 2, int16_t);
FIELD(PF_SoundFormatInfo, format, 10, 2, int16_t);
FIELD(PF_SoundFormatInfo, sample_size, 12, 2, int16_t);

RECORD(PF_SoundWorld, 32, 8);
FIELD(PF_SoundWorld, fi, 0, 16, Rec);
FIELD(PF_SoundWorld, num_samples, 16, 4, int32_t);
FIELD(PF_SoundWorld, dataP, 24, 8, Ptr);

RECORD(PF_InData, 408, 8);
FIELD(PF_InData, inter, 0, 176, Rec);
FIELD(PF_InData, utils, 176, 8, Ptr);
FIELD(PF_InData, effect_ref, 184, 8, Ptr);
FIELD(PF_InData, quality, 192, 4, int32_t);
FIELD(PF_InData, version, 196, 4, Rec);
FIELD(PF_InData, serial_num, 200, 4, int32_t);
FIELD(PF_InData, appl_id, 204, 4, int32_t);
FIELD(PF_InData, num_params, 208, 4, int32_t);
FIELD(PF_InData, reserved, 212, 4, int32_t);
FIELD(PF_InData, what_cpu, 216, 4, int32_t);
FIELD(PF_InData, what_fpu, 220, 4, int32_t);
FIELD(PF_InData, current_time, 224, 4, int32_t);
FIELD(PF_InData, time_step, 228, 4, int32_t);
FIELD(PF_InData, total_time, 232, 4, int32_t);
FIELD(PF_InData, local_time_step, 236, 4, int32_t);
FIELD(PF_InData, time_scale, 240, 4, uint32_t);
FIELD(PF_InData, field, 244, 4, int32_t);
FIELD(PF_InData, shutter_angle, 248, 4, int32_t);
FIELD(PF_InData, width, 252, 4, int32_t);
FIELD(PF_InData, height, 256, 4, int32_t);
FIELD(PF_InData, extent_hint, 260, 16, Rec);
FIELD(PF_InData, output_origin_x, 276, 4, int32_t);
FIELD(PF_InData, output_origin_y, 280, 4, int32_t);
FIELD(PF_InData, downsample_x, 284, 8, Rec);
FIELD(PF_InData, downsample_y, 292, 8, Rec);
FIELD(PF_InData, pixel_aspect_ratio, 300, 8, Rec);
FIELD(PF_InData, in_flags, 308, 4, int32_t);
FIELD(PF_InData, global_data, 312, 8, Ptr);
FIELD(PF_InData, sequence_data, 320, 8, Ptr);
FIELD(PF_InData, frame_data, 328, 8, Ptr);
FIELD(PF_InData, start_sampL, 336, 4, int32_t);
FIELD(PF_InData, dur_sampL, 340, 4, int32_t);
FIELD(PF_InData, total_sampL, 344, 4, int32_t);
FIELD(PF_InData, src_snd, 352, 32, Rec);
FIELD(PF_InData, pica_basicP, 384, 8, Ptr);
FIELD(PF_InData, pre_effect_source_origin_x, 392, 4, int32_t);
FIELD(PF_InData, pre_effect_source_origin_y, 396, 4, int32_t);
FIELD(PF_InData, shutter_phase, 400, 4, int32_t);
static_assert(std::is_same_v<decltype(PF_InData::utils), PF_UtilCallbacks*>, "utils points at the utility table");
static_assert(std::is_same_v<decltype(PF_InData::pica_basicP), SPBasicSuite*>, "pica_basicP points at the basic suite");

RECORD(PF_OutData, 408, 8);
FIELD(PF_OutData, my_version, 0, 4, uint32_t);
FIELD(PF_OutData, name, 4, 32, char);
FIELD(PF_OutData, global_data, 40, 8, Ptr);
FIELD(PF_OutData, num_params, 48, 4, int32_t);
FIELD(PF_OutData, sequence_data, 56, 8, Ptr);
FIELD(PF_OutData, flat_sdata_size, 64, 4, int32_t);
FIELD(PF_OutData, frame_data, 72, 8, Ptr);
FIELD(PF_OutData, width, 80, 4, int32_t);
FIELD(PF_OutData, height, 84, 4, int32_t);
FIELD(PF_OutData, origin, 88, 8, Rec);
FIELD(PF_OutData, out_flags, 96, 4, int32_t);
FIELD(PF_OutData, return_msg, 100, 256, char);
FIELD(PF_OutData, start_sampL, 356, 4, int32_t);
FIELD(PF_OutData, dur_sampL, 360, 4, int32_t);
FIELD(PF_OutData, dest_snd, 368, 32, Rec);
FIELD(PF_OutData, out_flags2, 400, 4, int32_t);

// ---- callback tables -------------------------------------------------------------
RECORD(PF_InteractCallbacks, 176, 8);
FIELD(PF_InteractCallbacks, checkout_param, 0, 8, Fn);
FIELD(PF_InteractCallbacks, checkin_param, 8, 8, Fn);
FIELD(PF_InteractCallbacks, add_param, 16, 8, Fn);
FIELD(PF_InteractCallbacks, abort, 24, 8, Fn);
FIELD(PF_InteractCallbacks, progress, 32, 8, Fn);
FIELD(PF_InteractCallbacks, register_ui, 40, 8, Fn);
FIELD(PF_InteractCallbacks, checkout_layer_audio, 48, 8, Fn);
FIELD(PF_InteractCallbacks, checkin_layer_audio, 56, 8, Fn);
FIELD(PF_InteractCallbacks, get_audio_data, 64, 8, Fn);
FIELD(PF_InteractCallbacks, reserved_str, 72, 24, Ptr);
FIELD(PF_InteractCallbacks, reserved, 96, 80, Ptr);
SIGNATURE(PF_InteractCallbacks, checkout_param,
          int32_t (*)(PF_ProgPtr, int32_t, int32_t, int32_t, uint32_t, PF_ParamDef*));
SIGNATURE(PF_InteractCallbacks, checkin_param, int32_t (*)(PF_ProgPtr, PF_ParamDef*));
SIGNATURE(PF_InteractCallbacks, add_param, int32_t (*)(PF_ProgPtr, int32_t, PF_ParamDef*));
SIGNATURE(PF_InteractCallbacks, register_ui, int32_t (*)(PF_ProgPtr, PF_CustomUIInfo*));

RECORD(PF_ANSICallbacks, 160, 8);
FIELD(PF_ANSICallbacks, atan, 0, 8, Fn);
FIELD(PF_ANSICallbacks, atan2, 8, 8, Fn);
FIELD(PF_ANSICallbacks, ceil, 16, 8, Fn);
FIELD(PF_ANSICallbacks, cos, 24, 8, Fn);
FIELD(PF_ANSICallbacks, exp, 32, 8, Fn);
FIELD(PF_ANSICallbacks, fabs, 40, 8, Fn);
FIELD(PF_ANSICallbacks, floor, 48, 8, Fn);
FIELD(PF_ANSICallbacks, fmod, 56, 8, Fn);
FIELD(PF_ANSICallbacks, hypot, 64, 8, Fn);
FIELD(PF_ANSICallbacks, log, 72, 8, Fn);
FIELD(PF_ANSICallbacks, log10, 80, 8, Fn);
FIELD(PF_ANSICallbacks, pow, 88, 8, Fn);
FIELD(PF_ANSICallbacks, sin, 96, 8, Fn);
FIELD(PF_ANSICallbacks, sqrt, 104, 8, Fn);
FIELD(PF_ANSICallbacks, tan, 112, 8, Fn);
FIELD(PF_ANSICallbacks, sprintf, 120, 8, Fn);
FIELD(PF_ANSICallbacks, strcpy, 128, 8, Fn);
FIELD(PF_ANSICallbacks, asin, 136, 8, Fn);
FIELD(PF_ANSICallbacks, acos, 144, 8, Fn);
FIELD(PF_ANSICallbacks, ansi_procs, 152, 4, int32_t);
SIGNATURE(PF_ANSICallbacks, strcpy, char* (*)(char*, const char*));

RECORD(PF_ColorCallbacks, 64, 8);
FIELD(PF_ColorCallbacks, RGBtoHLS, 0, 8, Fn);
FIELD(PF_ColorCallbacks, HLStoRGB, 8, 8, Fn);
FIELD(PF_ColorCallbacks, RGBtoYIQ, 16, 8, Fn);
FIELD(PF_ColorCallbacks, YIQtoRGB, 24, 8, Fn);
FIELD(PF_ColorCallbacks, Luminance, 32, 8, Fn);
FIELD(PF_ColorCallbacks, Hue, 40, 8, Fn);
FIELD(PF_ColorCallbacks, Lightness, 48, 8, Fn);
FIELD(PF_ColorCallbacks, Saturation, 56, 8, Fn);

RECORD(PF_UtilCallbacks, 552, 8);
FIELD(PF_UtilCallbacks, begin_sampling, 0, 8, Fn);
FIELD(PF_UtilCallbacks, subpixel_sample, 8, 8, Fn);
FIELD(PF_UtilCallbacks, area_sample, 16, 8, Fn);
FIELD(PF_UtilCallbacks, get_batch_func_is_deprecated, 24, 8, Ptr);
FIELD(PF_UtilCallbacks, end_sampling, 32, 8, Fn);
FIELD(PF_UtilCallbacks, composite_rect, 40, 8, Fn);
FIELD(PF_UtilCallbacks, blend, 48, 8, Fn);
FIELD(PF_UtilCallbacks, convolve, 56, 8, Fn);
FIELD(PF_UtilCallbacks, copy, 64, 8, Fn);
FIELD(PF_UtilCallbacks, fill, 72, 8, Fn);
FIELD(PF_UtilCallbacks, gaussian_kernel, 80, 8, Fn);
FIELD(PF_UtilCallbacks, iterate, 88, 8, Fn);
FIELD(PF_UtilCallbacks, premultiply, 96, 8, Fn);
FIELD(PF_UtilCallbacks, premultiply_color, 104, 8, Fn);
FIELD(PF_UtilCallbacks, new_world, 112, 8, Fn);
FIELD(PF_UtilCallbacks, dispose_world, 120, 8, Fn);
FIELD(PF_UtilCallbacks, iterate_origin, 128, 8, Fn);
FIELD(PF_UtilCallbacks, iterate_lut, 136, 8, Fn);
FIELD(PF_UtilCallbacks, transfer_rect, 144, 8, Fn);
FIELD(PF_UtilCallbacks, transform_world, 152, 8, Fn);
FIELD(PF_UtilCallbacks, host_new_handle, 160, 8, Fn);
FIELD(PF_UtilCallbacks, host_lock_handle, 168, 8, Fn);
FIELD(PF_UtilCallbacks, host_unlock_handle, 176, 8, Fn);
FIELD(PF_UtilCallbacks, host_dispose_handle, 184, 8, Fn);
FIELD(PF_UtilCallbacks, get_callback_addr, 192, 8, Fn);
FIELD(PF_UtilCallbacks, app, 200, 8, Fn);
FIELD(PF_UtilCallbacks, ansi, 208, 160, Rec);
FIELD(PF_UtilCallbacks, ansi.strcpy, 336, 8, Fn);
FIELD(PF_UtilCallbacks, colorCB, 368, 64, Rec);
FIELD(PF_UtilCallbacks, get_platform_data, 432, 8, Fn);
FIELD(PF_UtilCallbacks, host_get_handle_size, 440, 8, Fn);
FIELD(PF_UtilCallbacks, iterate_origin_non_clip_src, 448, 8, Fn);
FIELD(PF_UtilCallbacks, iterate_generic, 456, 8, Fn);
FIELD(PF_UtilCallbacks, host_resize_handle, 464, 8, Fn);
FIELD(PF_UtilCallbacks, subpixel_sample16, 472, 8, Fn);
FIELD(PF_UtilCallbacks, area_sample16, 480, 8, Fn);
FIELD(PF_UtilCallbacks, fill16, 488, 8, Fn);
FIELD(PF_UtilCallbacks, premultiply_color16, 496, 8, Fn);
FIELD(PF_UtilCallbacks, iterate16, 504, 8, Fn);
FIELD(PF_UtilCallbacks, iterate_origin16, 512, 8, Fn);
FIELD(PF_UtilCallbacks, iterate_origin_non_clip_src16, 520, 8, Fn);
FIELD(PF_UtilCallbacks, get_pixel_data8, 528, 8, Fn);
FIELD(PF_UtilCallbacks, get_pixel_data16, 536, 8, Fn);
FIELD(PF_UtilCallbacks, reserved, 544, 4, int32_t);
SIGNATURE(PF_UtilCallbacks, host_new_handle, PF_Handle (*)(uint64_t));
SIGNATURE(PF_UtilCallbacks, host_lock_handle, void* (*)(PF_Handle));
SIGNATURE(PF_UtilCallbacks, host_unlock_handle, void (*)(PF_Handle));
SIGNATURE(PF_UtilCallbacks, host_dispose_handle, void (*)(PF_Handle));
SIGNATURE(PF_UtilCallbacks, get_platform_data, int32_t (*)(PF_ProgPtr, int32_t, void*));

// ---- custom UI events ------------------------------------------------------------
RECORD(PF_Context, 72, 8);
FIELD(PF_Context, magic, 0, 4, uint32_t);
FIELD(PF_Context, w_type, 4, 4, int32_t);
FIELD(PF_Context, reserved_flt, 8, 8, Ptr);
FIELD(PF_Context, plugin_state, 16, 32, int64_t);
FIELD(PF_Context, reserved_drawref, 48, 8, Ptr);
FIELD(PF_Context, reserved_paneP, 56, 8, Ptr);
FIELD(PF_Context, reserved_job_manageP, 64, 8, Ptr);
static_assert(std::is_same_v<PF_ContextH, PF_Context**>, "a context handle points at the context's address");

RECORD(PF_DoClickEventInfo, 64, 8);
FIELD(PF_DoClickEventInfo, when, 0, 4, uint32_t);
FIELD(PF_DoClickEventInfo, screen_point, 4, 8, Rec);
FIELD(PF_DoClickEventInfo, num_clicks, 12, 4, int32_t);
FIELD(PF_DoClickEventInfo, modifiers, 16, 4, int32_t);
FIELD(PF_DoClickEventInfo, continue_refcon, 24, 32, int64_t);
FIELD(PF_DoClickEventInfo, send_drag, 56, 1, char);
FIELD(PF_DoClickEventInfo, last_time, 57, 1, char);

RECORD(PF_DrawEventInfo, 20, 4);
FIELD(PF_DrawEventInfo, update_rect, 0, 16, Rec);
FIELD(PF_DrawEventInfo, depth, 16, 4, int32_t);

RECORD(PF_AdjustCursorEventInfo, 16, 4);
FIELD(PF_AdjustCursorEventInfo, screen_point, 0, 8, Rec);
FIELD(PF_AdjustCursorEventInfo, modifiers, 8, 4, int32_t);
FIELD(PF_AdjustCursorEventInfo, set_cursor, 12, 4, int32_t);

RECORD(PF_KeyDownEvent, 20, 4);
FIELD(PF_KeyDownEvent, when, 0, 4, uint32_t);
FIELD(PF_KeyDownEvent, screen_point, 4, 8, Rec);
FIELD(PF_KeyDownEvent, keycode, 12, 4, uint32_t);
FIELD(PF_KeyDownEvent, modifiers, 16, 4, int32_t);

RECORD(PF_EventUnion, 64, 8);
FIELD(PF_EventUnion, do_click, 0, 64, Rec);
FIELD(PF_EventUnion, draw, 0, 20, Rec);
FIELD(PF_EventUnion, key_down, 0, 20, Rec);
FIELD(PF_EventUnion, adjust_cursor, 0, 16, Rec);

RECORD(PF_EffectWindowInfo, 44, 4);
FIELD(PF_EffectWindowInfo, index, 0, 4, int32_t);
FIELD(PF_EffectWindowInfo, area, 4, 4, int32_t);
FIELD(PF_EffectWindowInfo, current_frame, 8, 16, Rec);
FIELD(PF_EffectWindowInfo, param_title_frame, 24, 16, Rec);
FIELD(PF_EffectWindowInfo, horiz_offset, 40, 4, int32_t);

RECORD(PF_EventCallbacks, 72, 8);
FIELD(PF_EventCallbacks, refcon, 0, 8, Ptr);
FIELD(PF_EventCallbacks, layer_to_comp, 8, 8, Fn);
FIELD(PF_EventCallbacks, comp_to_layer, 16, 8, Fn);
FIELD(PF_EventCallbacks, get_comp2layer_xform, 24, 8, Fn);
FIELD(PF_EventCallbacks, get_layer2comp_xform, 32, 8, Fn);
FIELD(PF_EventCallbacks, source_to_frame, 40, 8, Fn);
FIELD(PF_EventCallbacks, frame_to_source, 48, 8, Fn);
FIELD(PF_EventCallbacks, info_draw_color, 56, 8, Fn);
FIELD(PF_EventCallbacks, info_draw_text, 64, 8, Fn);

RECORD(PF_EventExtra, 208, 8);
FIELD(PF_EventExtra, contextH, 0, 8, Ptr);
FIELD(PF_EventExtra, e_type, 8, 4, int32_t);
FIELD(PF_EventExtra, u, 16, 64, Rec);
FIELD(PF_EventExtra, u.do_click.screen_point, 20, 8, Rec);
FIELD(PF_EventExtra, u.adjust_cursor.screen_point, 16, 8, Rec);
FIELD(PF_EventExtra, u.draw.update_rect, 16, 16, Rec);
FIELD(PF_EventExtra, effect_win, 80, 44, Rec);
FIELD(PF_EventExtra, effect_win.index, 80, 4, int32_t);
FIELD(PF_EventExtra, effect_win.area, 84, 4, int32_t);
FIELD(PF_EventExtra, effect_win.current_frame, 88, 16, Rec);
FIELD(PF_EventExtra, cbs, 128, 72, Rec);
FIELD(PF_EventExtra, evt_in_flags, 200, 4, int32_t);
FIELD(PF_EventExtra, evt_out_flags, 204, 4, int32_t);

// ---- suites ------------------------------------------------------------------------
RECORD(SPBasicSuite, 56, 8);
FIELD(SPBasicSuite, AcquireSuite, 0, 8, Fn);
FIELD(SPBasicSuite, ReleaseSuite, 8, 8, Fn);
FIELD(SPBasicSuite, IsEqual, 16, 8, Fn);
FIELD(SPBasicSuite, AllocateBlock, 24, 8, Fn);
FIELD(SPBasicSuite, FreeBlock, 32, 8, Fn);
FIELD(SPBasicSuite, ReallocateBlock, 40, 8, Fn);
FIELD(SPBasicSuite, Undefined, 48, 8, Fn);
SIGNATURE(SPBasicSuite, AcquireSuite, int32_t (*)(const char*, int32_t, const void**));
SIGNATURE(SPBasicSuite, ReleaseSuite, int32_t (*)(const char*, int32_t));
SIGNATURE(SPBasicSuite, IsEqual, int32_t (*)(const char*, const char*));

RECORD(PF_EffectCustomUISuite1, 8, 8);
FIELD(PF_EffectCustomUISuite1, PF_GetDrawingReference, 0, 8, Fn);
SIGNATURE(PF_EffectCustomUISuite1, PF_GetDrawingReference, int32_t (*)(PF_ContextH, DRAWBOT_DrawRef*));

RECORD(PFAppSuite4, 88, 8);
FIELD(PFAppSuite4, PF_AppGetBgColor, 0, 8, Fn);
FIELD(PFAppSuite4, PF_AppGetColor, 8, 8, Fn);
FIELD(PFAppSuite4, PF_GetPersonalInfo, 16, 8, Fn);
FIELD(PFAppSuite4, PF_GetFontStyleSheet, 24, 8, Fn);
FIELD(PFAppSuite4, PF_SetCursor, 32, 8, Fn);
FIELD(PFAppSuite4, PF_IsRenderEngine, 40, 8, Fn);
FIELD(PFAppSuite4, PF_AppColorPickerDialog, 48, 8, Fn);
FIELD(PFAppSuite4, PF_GetMouse, 56, 8, Fn);
FIELD(PFAppSuite4, PF_InvalidateRect, 64, 8, Fn);
FIELD(PFAppSuite4, PF_ConvertLocalToGlobal, 72, 8, Fn);
FIELD(PFAppSuite4, PF_GetColorAtGlobalPoint, 80, 8, Fn);
SIGNATURE(PFAppSuite4, PF_InvalidateRect, int32_t (*)(PF_ContextH, const PF_Rect*));
SIGNATURE(PFAppSuite4, PF_AppGetColor, int32_t (*)(int16_t, void*));
SIGNATURE(PFAppSuite4, PF_GetFontStyleSheet, int32_t (*)(char, void*, int16_t*, int16_t*, int16_t*));
SIGNATURE(PFAppSuite4, PF_GetColorAtGlobalPoint, int32_t (*)(const PF_Point*, int16_t, int16_t, void*));

RECORD(DRAWBOT_DrawbotSuite1, 16, 8);
FIELD(DRAWBOT_DrawbotSuite1, GetSupplier, 0, 8, Fn);
FIELD(DRAWBOT_DrawbotSuite1, GetSurface, 8, 8, Fn);
SIGNATURE(DRAWBOT_DrawbotSuite1, GetSupplier, int32_t (*)(DRAWBOT_DrawRef, DRAWBOT_SupplierRef*));
SIGNATURE(DRAWBOT_DrawbotSuite1, GetSurface, int32_t (*)(DRAWBOT_DrawRef, DRAWBOT_SurfaceRef*));

RECORD(DRAWBOT_SupplierSuite1, 104, 8);
FIELD(DRAWBOT_SupplierSuite1, NewPen, 0, 8, Fn);
FIELD(DRAWBOT_SupplierSuite1, NewBrush, 8, 8, Fn);
FIELD(DRAWBOT_SupplierSuite1, SupportsText, 16, 8, Fn);
FIELD(DRAWBOT_SupplierSuite1, GetDefaultFontSize, 24, 8, Fn);
FIELD(DRAWBOT_SupplierSuite1, NewDefaultFont, 32, 8, Fn);
FIELD(DRAWBOT_SupplierSuite1, NewImageFromBuffer, 40, 8, Fn);
FIELD(DRAWBOT_SupplierSuite1, NewPath, 48, 8, Fn);
FIELD(DRAWBOT_SupplierSuite1, SupportsPixelLayoutBGRA, 56, 8, Fn);
FIELD(DRAWBOT_SupplierSuite1, PrefersPixelLayoutBGRA, 64, 8, Fn);
FIELD(DRAWBOT_SupplierSuite1, SupportsPixelLayoutARGB, 72, 8, Fn);
FIELD(DRAWBOT_SupplierSuite1, PrefersPixelLayoutARGB, 80, 8, Fn);
FIELD(DRAWBOT_SupplierSuite1, RetainObject, 88, 8, Fn);
FIELD(DRAWBOT_SupplierSuite1, ReleaseObject, 96, 8, Fn);
SIGNATURE(DRAWBOT_SupplierSuite1, NewImageFromBuffer,
          int32_t (*)(DRAWBOT_SupplierRef, int32_t, int32_t, int32_t, int32_t, const void*, DRAWBOT_ImageRef*));
SIGNATURE(DRAWBOT_SupplierSuite1, ReleaseObject, int32_t (*)(DRAWBOT_ObjectRef));
SIGNATURE(DRAWBOT_SupplierSuite1, NewDefaultFont, int32_t (*)(DRAWBOT_SupplierRef, float, DRAWBOT_FontRef*));

// Version 1 ends with Flush at 120; the appended version-2 function is never
// read by the panel.
RECORD(DRAWBOT_SurfaceSuite1, 136, 8);
FIELD(DRAWBOT_SurfaceSuite1, PushStateStack, 0, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, PopStateStack, 8, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, PaintRect, 16, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, FillPath, 24, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, StrokePath, 32, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, Clip, 40, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, GetClipBounds, 48, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, IsWithinClipBounds, 56, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, Transform, 64, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, DrawString, 72, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, DrawImage, 80, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, SetInterpolationPolicy, 88, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, GetInterpolationPolicy, 96, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, SetAntiAliasPolicy, 104, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, GetAntiAliasPolicy, 112, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, Flush, 120, 8, Fn);
FIELD(DRAWBOT_SurfaceSuite1, GetTransformToScreenScale, 128, 8, Fn);
SIGNATURE(DRAWBOT_SurfaceSuite1, DrawImage,
          int32_t (*)(DRAWBOT_SurfaceRef, DRAWBOT_ImageRef, const DRAWBOT_PointF32*, float));
SIGNATURE(DRAWBOT_SurfaceSuite1, DrawString,
          int32_t (*)(DRAWBOT_SurfaceRef, DRAWBOT_BrushRef, DRAWBOT_FontRef, const void*, const DRAWBOT_PointF32*,
                      int32_t, int32_t, float));

RECORD(DRAWBOT_PathSuite1, 48, 8);
FIELD(DRAWBOT_PathSuite1, MoveTo, 0, 8, Fn);
FIELD(DRAWBOT_PathSuite1, LineTo, 8, 8, Fn);
FIELD(DRAWBOT_PathSuite1, BezierTo, 16, 8, Fn);
FIELD(DRAWBOT_PathSuite1, AddRect, 24, 8, Fn);
FIELD(DRAWBOT_PathSuite1, AddArc, 32, 8, Fn);
FIELD(DRAWBOT_PathSuite1, Close, 40, 8, Fn);

RECORD(DRAWBOT_PointF32, 8, 4);
FIELD(DRAWBOT_PointF32, x, 0, 4, float);
FIELD(DRAWBOT_PointF32, y, 4, 4, float);
RECORD(DRAWBOT_RectF32, 16, 4);
FIELD(DRAWBOT_RectF32, left, 0, 4, float);
FIELD(DRAWBOT_RectF32, top, 4, 4, float);
FIELD(DRAWBOT_RectF32, width, 8, 4, float);
FIELD(DRAWBOT_RectF32, height, 12, 4, float);
RECORD(DRAWBOT_ColorRGBA, 16, 4);
FIELD(DRAWBOT_ColorRGBA, red, 0, 4, float);
FIELD(DRAWBOT_ColorRGBA, green, 4, 4, float);
FIELD(DRAWBOT_ColorRGBA, blue, 8, 4, float);
FIELD(DRAWBOT_ColorRGBA, alpha, 12, 4, float);

// ---- entry point -------------------------------------------------------------------
static_assert(std::is_same_v<PF_FilterProc, int32_t (*)(int32_t, PF_InData*, PF_OutData*, PF_ParamDef**,
                                                         PF_LayerDef*, void*)>,
              "the entry point's type");
static_assert(std::is_same_v<decltype(&EntryPointFunc), PF_FilterProc>, "EntryPointFunc is a PF_FilterProc");

// ---- constants ---------------------------------------------------------------------
VALUE(PF_Cmd_ABOUT, 0);
VALUE(PF_Cmd_GLOBAL_SETUP, 1);
VALUE(PF_Cmd_UNUSED_0, 2);
VALUE(PF_Cmd_GLOBAL_SETDOWN, 3);
VALUE(PF_Cmd_PARAMS_SETUP, 4);
VALUE(PF_Cmd_SEQUENCE_SETUP, 5);
VALUE(PF_Cmd_SEQUENCE_RESETUP, 6);
VALUE(PF_Cmd_SEQUENCE_FLATTEN, 7);
VALUE(PF_Cmd_SEQUENCE_SETDOWN, 8);
VALUE(PF_Cmd_DO_DIALOG, 9);
VALUE(PF_Cmd_FRAME_SETUP, 10);
VALUE(PF_Cmd_RENDER, 11);
VALUE(PF_Cmd_FRAME_SETDOWN, 12);
VALUE(PF_Cmd_USER_CHANGED_PARAM, 13);
VALUE(PF_Cmd_UPDATE_PARAMS_UI, 14);
VALUE(PF_Cmd_EVENT, 15);
VALUE(PF_Cmd_GET_EXTERNAL_DEPENDENCIES, 16);
VALUE(PF_Cmd_COMPLETELY_GENERAL, 17);
VALUE(PF_Cmd_QUERY_DYNAMIC_FLAGS, 18);
VALUE(PF_Cmd_AUDIO_RENDER, 19);
VALUE(PF_Cmd_AUDIO_SETUP, 20);
VALUE(PF_Cmd_AUDIO_SETDOWN, 21);
VALUE(PF_Cmd_ARBITRARY_CALLBACK, 22);
VALUE(PF_Cmd_SMART_PRE_RENDER, 23);
VALUE(PF_Cmd_SMART_RENDER, 24);
VALUE(PF_Cmd_RESERVED1, 25);
VALUE(PF_Cmd_RESERVED2, 26);
VALUE(PF_Cmd_RESERVED3, 27);
VALUE(PF_Cmd_GET_FLATTENED_SEQUENCE_DATA, 28);
VALUE(PF_Cmd_TRANSLATE_PARAMS_TO_PREFS, 29);
VALUE(PF_Cmd_RESERVED4, 30);
VALUE(PF_Cmd_SMART_RENDER_GPU, 31);
VALUE(PF_Cmd_GPU_DEVICE_SETUP, 32);
VALUE(PF_Cmd_GPU_DEVICE_SETDOWN, 33);
VALUE(PF_Cmd_NUM_CMDS, 34);

VALUE(PF_Err_NONE, 0);
VALUE(PF_Err_OUT_OF_MEMORY, 4);
VALUE(PF_Err_INTERNAL_STRUCT_DAMAGED, 512);
VALUE(PF_Err_INVALID_INDEX, 513);
VALUE(PF_Err_UNRECOGNIZED_PARAM_TYPE, 514);
VALUE(PF_Err_INVALID_CALLBACK, 515);
VALUE(PF_Err_BAD_CALLBACK_PARAM, 516);
VALUE(PF_Err_CANNOT_PARSE_KEYFRAME_TEXT, 518);
VALUE(PF_Interrupt_CANCEL, 517);

VALUE(PF_OutFlag_NONE, 0);
VALUE(PF_OutFlag_KEEP_RESOURCE_OPEN, 1);
VALUE(PF_OutFlag_WIDE_TIME_INPUT, 2);
VALUE(PF_OutFlag_NON_PARAM_VARY, 4);
VALUE(PF_OutFlag_SEQUENCE_DATA_NEEDS_FLATTENING, 0x10);
VALUE(PF_OutFlag_I_DO_DIALOG, 0x20);
VALUE(PF_OutFlag_USE_OUTPUT_EXTENT, 0x40);
VALUE(PF_OutFlag_SEND_DO_DIALOG, 0x80);
VALUE(PF_OutFlag_DISPLAY_ERROR_MESSAGE, 0x100);
VALUE(PF_OutFlag_I_EXPAND_BUFFER, 0x200);
VALUE(PF_OutFlag_PIX_INDEPENDENT, 0x400);
VALUE(PF_OutFlag_I_WRITE_INPUT_BUFFER, 0x800);
VALUE(PF_OutFlag_I_SHRINK_BUFFER, 0x1000);
VALUE(PF_OutFlag_WORKS_IN_PLACE, 0x2000);
VALUE(PF_OutFlag_CUSTOM_UI, 0x8000);
VALUE(PF_OutFlag_REFRESH_UI, 0x20000);
VALUE(PF_OutFlag_NOP_RENDER, 0x40000);
VALUE(PF_OutFlag_I_USE_SHUTTER_ANGLE, 0x80000);
VALUE(PF_OutFlag_I_USE_AUDIO, 0x100000);
VALUE(PF_OutFlag_I_AM_OBSOLETE, 0x200000);
VALUE(PF_OutFlag_FORCE_RERENDER, 0x400000);
VALUE(PF_OutFlag_PiPL_OVERRIDES_OUTDATA_OUTFLAGS, 0x800000);
VALUE(PF_OutFlag_I_HAVE_EXTERNAL_DEPENDENCIES, 0x1000000);
VALUE(PF_OutFlag_DEEP_COLOR_AWARE, 0x2000000);
VALUE(PF_OutFlag_SEND_UPDATE_PARAMS_UI, 0x4000000);
VALUE(EFFECT_OUT_FLAGS, 0x6008454);

VALUE(PF_Param_RESERVED, -1);
VALUE(PF_Param_LAYER, 0);
VALUE(PF_Param_SLIDER, 1);
VALUE(PF_Param_FIX_SLIDER, 2);
VALUE(PF_Param_ANGLE, 3);
VALUE(PF_Param_CHECKBOX, 4);
VALUE(PF_Param_COLOR, 5);
VALUE(PF_Param_POINT, 6);
VALUE(PF_Param_POPUP, 7);
VALUE(PF_Param_CUSTOM, 8);
VALUE(PF_Param_NO_DATA, 9);
VALUE(PF_Param_FLOAT_SLIDER, 10);
VALUE(PF_Param_ARBITRARY_DATA, 11);
VALUE(PF_Param_PATH, 12);
VALUE(PF_Param_GROUP_START, 13);
VALUE(PF_Param_GROUP_END, 14);
VALUE(PF_Param_BUTTON, 15);
VALUE(PF_Param_POINT_3D, 18);

VALUE(PF_ParamFlag_RESERVED1, 1);
VALUE(PF_ParamFlag_CANNOT_TIME_VARY, 2);
VALUE(PF_ParamFlag_CANNOT_INTERP, 4);
VALUE(PF_ParamFlag_COLLAPSE_TWIRLY, 0x20);
VALUE(PF_ParamFlag_START_COLLAPSED, 0x20);
VALUE(PF_ParamFlag_SUPERVISE, 0x40);

VALUE(PF_PUI_NONE, 0);
VALUE(PF_PUI_TOPIC, 1);
VALUE(PF_PUI_CONTROL, 2);
VALUE(PF_PUI_STD_CONTROL_ONLY, 4);
VALUE(PF_PUI_NO_ECW_UI, 8);
VALUE(PF_PUI_ECW_SEPARATOR, 0x10);
VALUE(PF_PUI_DISABLED, 0x20);

VALUE(PF_ChangeFlag_NONE, 0);
VALUE(PF_ChangeFlag_CHANGED_VALUE, 1);
VALUE(PF_ValueDisplayFlag_NONE, 0);
VALUE(PF_ValueDisplayFlag_PERCENT, 1);
VALUE(PF_ValueDisplayFlag_PIXEL, 2);
VALUE(PF_CustomEFlag_NONE, 0);
VALUE(PF_CustomEFlag_COMP, 1);
VALUE(PF_CustomEFlag_LAYER, 2);
VALUE(PF_CustomEFlag_EFFECT, 4);
VALUE(PF_CustomEFlag_PREVIEW, 8);

VALUE(PF_WorldFlag_DEEP, 1);
VALUE(PF_WorldFlag_WRITEABLE, 2);
VALUE(PF_LayerDefault_MYSELF, -1);
VALUE(PF_LayerDefault_NONE, 0);
VALUE(PF_Quality_DRAWING_AUDIO, -1);
VALUE(PF_Quality_LO, 0);
VALUE(PF_Quality_HI, 1);
VALUE(PF_PlatData_MAIN_WND, 0);
VALUE(PF_PlatData_EXE_FILE_PATH_DEPRECATED, 1);
VALUE(PF_PlatData_RES_FILE_PATH_DEPRECATED, 2);

VALUE(PF_Event_NONE, -1);
VALUE(PF_Event_NEW_CONTEXT, 0);
VALUE(PF_Event_ACTIVATE, 1);
VALUE(PF_Event_DO_CLICK, 2);
VALUE(PF_Event_DRAG, 3);
VALUE(PF_Event_DRAW, 4);
VALUE(PF_Event_DEACTIVATE, 5);
VALUE(PF_Event_CLOSE_CONTEXT, 6);
VALUE(PF_Event_IDLE, 7);
VALUE(PF_Event_KEYDOWN_OBSOLETE, 8);
VALUE(PF_Event_ADJUST_CURSOR, 9);
VALUE(PF_Event_KEYDOWN, 10);
VALUE(PF_Event_MOUSE_EXITED, 11);
VALUE(PF_Event_NUM_EVENTS, 12);

VALUE(PF_Window_COMP, 0);
VALUE(PF_Window_LAYER, 1);
VALUE(PF_Window_EFFECT, 2);
VALUE(PF_Window_PREVIEW, 3);
VALUE(PF_EA_NONE, 0);
VALUE(PF_EA_PARAM_TITLE, 1);
VALUE(PF_EA_CONTROL, 2);
VALUE(PF_EI_NONE, 0);
VALUE(PF_EI_DONT_DRAW, 1);
VALUE(PF_EO_NONE, 0);
VALUE(PF_EO_HANDLED_EVENT, 1);
VALUE(PF_EO_ALWAYS_UPDATE, 2);
VALUE(PF_EO_NEVER_UPDATE, 4);
VALUE(PF_EO_UPDATE_NOW, 8);

VALUE(PF_MAX_EFFECT_NAME_LEN, 31);
VALUE(PF_MAX_EFFECT_PARAM_NAME_LEN, 31);
VALUE(PF_MAX_PARAM_DESCRIPTION_LEN, 31);
VALUE(PF_MAX_PARAM_VALUE_LEN, 31);
VALUE(PF_MAX_EFFECT_MSG_LEN, 255);

VALUE(PF_Stage_DEVELOP, 0);
VALUE(PF_Stage_ALPHA, 1);
VALUE(PF_Stage_BETA, 2);
VALUE(PF_Stage_RELEASE, 3);
VALUE(PF_Vers_BUGFIX_BITS, 0xF);
VALUE(PF_Vers_BUGFIX_SHIFT, 11);
VALUE(PF_Vers_BUILD_BITS, 0x1FF);
VALUE(PF_Vers_BUILD_SHIFT, 0);
VALUE(PF_Vers_STAGE_BITS, 3);
VALUE(PF_Vers_STAGE_SHIFT, 9);
VALUE(PF_Vers_SUBVERS_BITS, 0xF);
VALUE(PF_Vers_SUBVERS_SHIFT, 15);
VALUE(PF_Vers_VERS_BITS, 7);
VALUE(PF_Vers_VERS_HIGH_BITS, 0xF);
VALUE(PF_Vers_VERS_HIGH_SHIFT, 26);
VALUE(PF_Vers_VERS_LOW_SHIFT, 3);
VALUE(PF_Vers_VERS_SHIFT, 19);
VALUE(PF_VERSION(2, 0, 0, PF_Stage_DEVELOP, 1), 0x100001u);
VALUE(PF_VERSION(13, 2, 0, PF_Stage_RELEASE, 0), 0x4290600u);
VALUE(EFFECT_VERSION, 0x100001u);

VALUE(kDRAWBOT_PixelLayout_24RGB, 0);
VALUE(kDRAWBOT_PixelLayout_24BGR, 1);
VALUE(kDRAWBOT_PixelLayout_32RGB, 2);
VALUE(kDRAWBOT_PixelLayout_32BGR, 3);
VALUE(kDRAWBOT_PixelLayout_32ARGB_Straight, 4);
VALUE(kDRAWBOT_PixelLayout_32ARGB_Premul, 5);
VALUE(kDRAWBOT_PixelLayout_32BGRA_Straight, 6);
VALUE(kDRAWBOT_PixelLayout_32BGRA_Premul, 7);

VALUE(kSPNoError, 0);
VALUE(kSPSuiteNotFoundError, 0x53214664);  // 'S!Fd'
VALUE(kSPBadParameterError, 0x5061726D);   // 'Parm'

NAME(kPFEffectCustomUISuite, "PF Effect Custom UI Suite");
NAME(kPFAppSuite, "PF AE App Suite");
NAME(kDRAWBOT_DrawSuite, "DRAWBOT Draw Suite");
NAME(kDRAWBOT_SupplierSuite, "DRAWBOT Supplier Suite");
NAME(kDRAWBOT_SurfaceSuite, "DRAWBOT Surface Suite");
NAME(kDRAWBOT_PathSuite, "DRAWBOT Path Suite");
VALUE(kPFEffectCustomUISuiteVersion1, 1);
VALUE(kPFAppSuiteVersion4, 6);
VALUE(kDRAWBOT_DrawSuite_Version1, 1);
VALUE(kDRAWBOT_SupplierSuite_Version1, 1);
VALUE(kDRAWBOT_SurfaceSuite_Version1, 1);
VALUE(kDRAWBOT_PathSuite_Version1, 1);

// ---- the test host's records: the host's own, not copies ---------------------------
static_assert(std::is_same_v<decltype(HostContext::in_data), PF_InData>, "the test host's in_data");
static_assert(std::is_same_v<decltype(HostContext::out_data), PF_OutData>, "the test host's out_data");
static_assert(std::is_same_v<decltype(HostContext::utils), PF_UtilCallbacks>, "the test host's utilities");
static_assert(std::is_same_v<decltype(HostContext::basic), SPBasicSuite>, "the test host's basic suite");
static_assert(std::is_same_v<decltype(PanelHost::context), PF_Context>, "the test host's panel context");
static_assert(std::is_same_v<decltype(PanelHost::custom_ui), PF_EffectCustomUISuite1>, "custom UI suite");
static_assert(std::is_same_v<decltype(PanelHost::draw), DRAWBOT_DrawbotSuite1>, "draw suite");
static_assert(std::is_same_v<decltype(PanelHost::supplier), DRAWBOT_SupplierSuite1>, "supplier suite");
static_assert(std::is_same_v<decltype(PanelHost::surface), DRAWBOT_SurfaceSuite1>, "surface suite");
static_assert(std::is_same_v<decltype(PanelHost::path), DRAWBOT_PathSuite1>, "path suite");
static_assert(std::is_same_v<decltype(PanelHost::app), PFAppSuite4>, "App suite");
