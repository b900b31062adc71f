// Drawing suites for an effect's own panel: a drawing reference from the
// host gives a supplier (makes images) and a surface (draws them).
#pragma once
#include "sdk/AE_Effect.h"
#include "sdk/SPBasic.h"

typedef struct _DRAWBOT_DrawRef* DRAWBOT_DrawRef;
typedef struct _DRAWBOT_SupplierRef* DRAWBOT_SupplierRef;
typedef struct _DRAWBOT_SurfaceRef* DRAWBOT_SurfaceRef;
typedef struct _DRAWBOT_ObjectRef* DRAWBOT_ObjectRef;
typedef DRAWBOT_ObjectRef DRAWBOT_ImageRef;
typedef DRAWBOT_ObjectRef DRAWBOT_PathRef;
typedef DRAWBOT_ObjectRef DRAWBOT_BrushRef;
typedef DRAWBOT_ObjectRef DRAWBOT_PenRef;

typedef struct {
  float x, y;
} DRAWBOT_PointF32;

typedef struct {
  float left, top, width, height;
} DRAWBOT_RectF32;

typedef struct {
  float red, green, blue, alpha;
} DRAWBOT_ColorRGBA;

enum {
  kDRAWBOT_PixelLayout_24RGB = VELARRA_CHOSEN_DRAWBOT_LAYOUT_24RGB,
  kDRAWBOT_PixelLayout_24BGR = 1,
  kDRAWBOT_PixelLayout_32BGRA = VELARRA_CHOSEN_DRAWBOT_LAYOUT_32BGRA,
  kDRAWBOT_PixelLayout_32ARGB = VELARRA_CHOSEN_DRAWBOT_LAYOUT_32ARGB
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
  // Copies the pixels; the caller may release its buffer afterwards. Row
  // order: VELARRA_CHOSEN_DRAWBOT_BUFFER_BOTTOM_UP.
  SPErr(SPAPI* NewImageFromBuffer)(DRAWBOT_SupplierRef in_supplier_ref, int32_t in_width, int32_t in_height,
                                   int32_t in_row_bytes, DRAWBOT_PixelLayout in_pl, const void* in_dataP,
                                   DRAWBOT_ImageRef* out_imageP);
  SPErr(SPAPI* NewPath)(DRAWBOT_SupplierRef in_supplier_ref, DRAWBOT_PathRef* out_pathP);
  SPErr(SPAPI* ReleaseObject)(DRAWBOT_ObjectRef in_obj_ref);
} DRAWBOT_SupplierSuite1;

typedef struct DRAWBOT_SurfaceSuite1 {
  SPErr(SPAPI* PushStateStack)(DRAWBOT_SurfaceRef in_surface_ref);
  SPErr(SPAPI* PopStateStack)(DRAWBOT_SurfaceRef in_surface_ref);
  SPErr(SPAPI* PaintRect)(DRAWBOT_SurfaceRef in_surface_ref, const DRAWBOT_ColorRGBA* in_colorP,
                          const DRAWBOT_RectF32* in_rectP);
  SPErr(SPAPI* DrawImage)(DRAWBOT_SurfaceRef in_surface_ref, DRAWBOT_ImageRef in_imageP,
                          const DRAWBOT_PointF32* in_originP, float in_alpha);
} DRAWBOT_SurfaceSuite1;

typedef struct DRAWBOT_PathSuite1 {
  SPErr(SPAPI* MoveTo)(DRAWBOT_PathRef in_path_ref, float in_x, float in_y);
  SPErr(SPAPI* LineTo)(DRAWBOT_PathRef in_path_ref, float in_x, float in_y);
  SPErr(SPAPI* Close)(DRAWBOT_PathRef in_path_ref);
} DRAWBOT_PathSuite1;
