// Drawing suites for an effect's own panel: a drawing reference from the
// host gives a supplier (makes images) and a surface (draws them). Every
// table holds all of the host's functions in the host's order; the panel
// calls GetSupplier, GetSurface, NewImageFromBuffer, ReleaseObject and
// DrawImage. Records the panel never passes (fonts, text, matrices,
// integer rectangles, booleans) travel as plain pointers.
#pragma once
#include "sdk/AE_Effect.h"
#include "sdk/SPBasic.h"

typedef struct _DRAWBOT_DrawRef* DRAWBOT_DrawRef;
typedef struct _DRAWBOT_SupplierRef* DRAWBOT_SupplierRef;
typedef struct _DRAWBOT_SurfaceRef* DRAWBOT_SurfaceRef;
typedef struct _DRAWBOT_ObjectRef* DRAWBOT_ObjectRef;
typedef struct _DRAWBOT_ImageRef* DRAWBOT_ImageRef;
typedef struct _DRAWBOT_PathRef* DRAWBOT_PathRef;
typedef struct _DRAWBOT_BrushRef* DRAWBOT_BrushRef;
typedef struct _DRAWBOT_PenRef* DRAWBOT_PenRef;
typedef struct _DRAWBOT_FontRef* DRAWBOT_FontRef;

typedef struct {
  float x, y;
} DRAWBOT_PointF32;

typedef struct {
  float left, top, width, height;
} DRAWBOT_RectF32;

typedef struct {
  float red, green, blue, alpha;
} DRAWBOT_ColorRGBA;

// 24-bit layouts: three bytes a pixel in the order of the name. 32-bit: RGB
// is A, R, G, B with A ignored, BGR is B, G, R, A with A ignored; alpha
// straight or premultiplied.
enum {
  kDRAWBOT_PixelLayout_24RGB = 0,
  kDRAWBOT_PixelLayout_24BGR = 1,
  kDRAWBOT_PixelLayout_32RGB = 2,
  kDRAWBOT_PixelLayout_32BGR = 3,
  kDRAWBOT_PixelLayout_32ARGB_Straight = 4,
  kDRAWBOT_PixelLayout_32ARGB_Premul = 5,
  kDRAWBOT_PixelLayout_32BGRA_Straight = 6,
  kDRAWBOT_PixelLayout_32BGRA_Premul = 7
};
typedef int32_t DRAWBOT_PixelLayout;

#define kDRAWBOT_DrawSuite "DRAWBOT Draw Suite"
#define kDRAWBOT_DrawSuite_Version1 1
#define kDRAWBOT_SupplierSuite "DRAWBOT Supplier Suite"
#define kDRAWBOT_SupplierSuite_Version1 1
#define kDRAWBOT_SurfaceSuite "DRAWBOT Surface Suite"
#define kDRAWBOT_SurfaceSuite_Version1 1
#define kDRAWBOT_PathSuite "DRAWBOT Path Suite"
#define kDRAWBOT_PathSuite_Version1 1

typedef struct DRAWBOT_DrawbotSuite1 {
  SPErr(SPAPI* GetSupplier)(DRAWBOT_DrawRef in_drawbot_ref, DRAWBOT_SupplierRef* out_supplierP);
  SPErr(SPAPI* GetSurface)(DRAWBOT_DrawRef in_drawbot_ref, DRAWBOT_SurfaceRef* out_surfaceP);
} DRAWBOT_DrawbotSuite1;

typedef struct DRAWBOT_SupplierSuite1 {
  SPErr(SPAPI* NewPen)(DRAWBOT_SupplierRef in_supplier_ref, const DRAWBOT_ColorRGBA* in_colorP, float in_size,
                       DRAWBOT_PenRef* out_penP);
  SPErr(SPAPI* NewBrush)(DRAWBOT_SupplierRef in_supplier_ref, const DRAWBOT_ColorRGBA* in_colorP,
                         DRAWBOT_BrushRef* out_brushP);
  SPErr(SPAPI* SupportsText)(DRAWBOT_SupplierRef in_supplier_ref, void* out_supports_textB);
  SPErr(SPAPI* GetDefaultFontSize)(DRAWBOT_SupplierRef in_supplier_ref, float* out_font_sizeF);
  SPErr(SPAPI* NewDefaultFont)(DRAWBOT_SupplierRef in_supplier_ref, float in_font_sizeF, DRAWBOT_FontRef* out_fontP);
  // The host copies the pixels; the caller may release its buffer afterwards.
  SPErr(SPAPI* NewImageFromBuffer)(DRAWBOT_SupplierRef in_supplier_ref, int32_t in_width, int32_t in_height,
                                   int32_t in_row_bytes, DRAWBOT_PixelLayout in_pl, const void* in_dataP,
                                   DRAWBOT_ImageRef* out_imageP);
  SPErr(SPAPI* NewPath)(DRAWBOT_SupplierRef in_supplier_ref, DRAWBOT_PathRef* out_pathP);
  SPErr(SPAPI* SupportsPixelLayoutBGRA)(DRAWBOT_SupplierRef in_supplier_ref, void* out_supports_bgrPB);
  SPErr(SPAPI* PrefersPixelLayoutBGRA)(DRAWBOT_SupplierRef in_supplier_ref, void* out_prefers_bgrPB);
  SPErr(SPAPI* SupportsPixelLayoutARGB)(DRAWBOT_SupplierRef in_supplier_ref, void* out_supports_argbPB);
  SPErr(SPAPI* PrefersPixelLayoutARGB)(DRAWBOT_SupplierRef in_supplier_ref, void* out_prefers_argbPB);
  SPErr(SPAPI* RetainObject)(DRAWBOT_ObjectRef in_obj_ref);
  SPErr(SPAPI* ReleaseObject)(DRAWBOT_ObjectRef in_obj_ref);
} DRAWBOT_SupplierSuite1;

// Version 1 ends with Flush; a host of the newer interface declares one
// table for versions 1 and 2 with the version-2 function appended.
typedef struct DRAWBOT_SurfaceSuite1 {
  SPErr(SPAPI* PushStateStack)(DRAWBOT_SurfaceRef in_surface_ref);
  SPErr(SPAPI* PopStateStack)(DRAWBOT_SurfaceRef in_surface_ref);
  SPErr(SPAPI* PaintRect)(DRAWBOT_SurfaceRef in_surface_ref, const DRAWBOT_ColorRGBA* in_colorP,
                          const DRAWBOT_RectF32* in_rectP);
  SPErr(SPAPI* FillPath)(DRAWBOT_SurfaceRef in_surface_ref, DRAWBOT_BrushRef in_brush_ref,
                         DRAWBOT_PathRef in_path_ref, int32_t in_fill_type);
  SPErr(SPAPI* StrokePath)(DRAWBOT_SurfaceRef in_surface_ref, DRAWBOT_PenRef in_pen_ref, DRAWBOT_PathRef in_path_ref);
  SPErr(SPAPI* Clip)(DRAWBOT_SurfaceRef in_surface_ref, DRAWBOT_SupplierRef in_supplier_ref, const void* in_rectP);
  SPErr(SPAPI* GetClipBounds)(DRAWBOT_SurfaceRef in_surface_ref, void* out_rectP);
  SPErr(SPAPI* IsWithinClipBounds)(DRAWBOT_SurfaceRef in_surface_ref, const void* in_rectP, void* out_withinPB);
  SPErr(SPAPI* Transform)(DRAWBOT_SurfaceRef in_surface_ref, const void* in_matrixP);
  SPErr(SPAPI* DrawString)(DRAWBOT_SurfaceRef in_surface_ref, DRAWBOT_BrushRef in_brush_ref,
                           DRAWBOT_FontRef in_font_ref, const void* in_stringP, const DRAWBOT_PointF32* in_originP,
                           int32_t in_alignment_style, int32_t in_truncation_style, float in_truncation_width);
  SPErr(SPAPI* DrawImage)(DRAWBOT_SurfaceRef in_surface_ref, DRAWBOT_ImageRef in_imageP,
                          const DRAWBOT_PointF32* in_originP, float in_alpha);
  SPErr(SPAPI* SetInterpolationPolicy)(DRAWBOT_SurfaceRef in_surface_ref, int32_t in_interp);
  SPErr(SPAPI* GetInterpolationPolicy)(DRAWBOT_SurfaceRef in_surface_ref, int32_t* out_interpP);
  SPErr(SPAPI* SetAntiAliasPolicy)(DRAWBOT_SurfaceRef in_surface_ref, int32_t in_policy);
  SPErr(SPAPI* GetAntiAliasPolicy)(DRAWBOT_SurfaceRef in_surface_ref, int32_t* out_policyP);
  SPErr(SPAPI* Flush)(DRAWBOT_SurfaceRef in_surface_ref);
  SPErr(SPAPI* GetTransformToScreenScale)(DRAWBOT_SurfaceRef in_surface_ref, float* out_scale);
} DRAWBOT_SurfaceSuite1;

typedef struct DRAWBOT_PathSuite1 {
  SPErr(SPAPI* MoveTo)(DRAWBOT_PathRef in_path_ref, float in_x, float in_y);
  SPErr(SPAPI* LineTo)(DRAWBOT_PathRef in_path_ref, float in_x, float in_y);
  SPErr(SPAPI* BezierTo)(DRAWBOT_PathRef in_path_ref, const DRAWBOT_PointF32* in_pt1P,
                         const DRAWBOT_PointF32* in_pt2P, const DRAWBOT_PointF32* in_pt3P);
  SPErr(SPAPI* AddRect)(DRAWBOT_PathRef in_path_ref, const DRAWBOT_RectF32* in_rectP);
  SPErr(SPAPI* AddArc)(DRAWBOT_PathRef in_path_ref, const DRAWBOT_PointF32* in_centerP, float in_radius,
                       float in_start_angle, float in_sweep);
  SPErr(SPAPI* Close)(DRAWBOT_PathRef in_path_ref);
} DRAWBOT_PathSuite1;
