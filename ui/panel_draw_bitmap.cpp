// One panel picture through the host's drawing suites: the drawing
// reference of the event's context gives a supplier, which makes an image
// from the picture's pixels, and a surface, which draws it.
#include "platform/page_memory.h"
#include "sdk/AE_EffectSuites.h"
#include "ui/panel.h"
#include "ui/panel_suites.h"

namespace {
enum { DRAW_SUITE, SUPPLIER_SUITE, SURFACE_SUITE, PATH_SUITE, DRAWBOT_SUITES };

// Keeps the first error: a later success or failure does not replace it.
void Keep(PF_Err& err, PF_Err e) {
  if (!err) err = e;
}
}  // namespace

PF_Err PanelDrawBitmap(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* /*params*/[],
                       PF_LayerDef* /*output*/, PF_EventExtra* event, A_long id, A_long width,
                       A_long height, A_long x, A_long y) {
  if (!in_data || !in_data->pica_basicP) {
    PanelSuiteMessage(out_data, PanelAcquireMessage);
    return PF_Err_BAD_CALLBACK_PARAM;
  }
  // The path suite is taken with the others although nothing here draws a
  // path: the four come and go together.
  PanelSuite drawbot[DRAWBOT_SUITES] = {
      {kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1, nullptr},
      {kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1, nullptr},
      {kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version1, nullptr},
      {kDRAWBOT_PathSuite, kDRAWBOT_PathSuite_Version1, nullptr},
  };
  PF_Err err = PF_Err_NONE;
  bool all_drawbot = true;
  for (PanelSuite& s : drawbot) {
    err = PanelAcquireSuite(in_data, out_data, s);
    if (err) {
      all_drawbot = false;
      break;
    }
  }
  const DRAWBOT_DrawbotSuite1* draw =
      static_cast<const DRAWBOT_DrawbotSuite1*>(drawbot[DRAW_SUITE].table);
  const DRAWBOT_SupplierSuite1* supplier_suite =
      static_cast<const DRAWBOT_SupplierSuite1*>(drawbot[SUPPLIER_SUITE].table);
  const DRAWBOT_SurfaceSuite1* surface_suite =
      static_cast<const DRAWBOT_SurfaceSuite1*>(drawbot[SURFACE_SUITE].table);
  // A table without a function the drawing needs is a suite the host could
  // not give.
  if (all_drawbot && !(draw->GetSupplier && draw->GetSurface && supplier_suite->NewImageFromBuffer &&
                       supplier_suite->ReleaseObject && surface_suite->DrawImage)) {
    PanelSuiteMessage(out_data, PanelAcquireMessage);
    err = PF_Err_BAD_CALLBACK_PARAM;
    all_drawbot = false;
  }

  DRAWBOT_DrawRef drawing = nullptr;
  PanelSuite custom_ui = {kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1, nullptr};
  PF_Err ui_err = PanelAcquireSuite(in_data, out_data, custom_ui);
  Keep(err, ui_err);
  if (!ui_err) {
    const PF_EffectCustomUISuite1* ui =
        static_cast<const PF_EffectCustomUISuite1*>(custom_ui.table);
    if (!ui->PF_GetDrawingReference) {
      Keep(err, PanelSuiteIncomplete(in_data, out_data, custom_ui));
    } else {
      Keep(err, ui->PF_GetDrawingReference(event->contextH, &drawing));
      Keep(err, PanelReleaseSuite(in_data, out_data, custom_ui));
    }
  }

  // Without a drawing reference or a full set of drawing suites nothing is
  // drawn and the event's out-flags stay as they were.
  if (!drawing || !all_drawbot) {
    for (PanelSuite& s : drawbot) Keep(err, PanelReleaseSuite(in_data, out_data, s));
    return err;
  }

  DRAWBOT_SupplierRef supplier = nullptr;
  DRAWBOT_SurfaceRef surface = nullptr;
  if (!err) err = draw->GetSupplier(drawing, &supplier);
  if (!err) err = draw->GetSurface(drawing, &surface);

  // Only the control area shows pictures (not the parameter's title).
  if (event->effect_win.area == PF_EA_CONTROL) {
    void* bits = nullptr;
    A_long stride = 0;
    DRAWBOT_ImageRef image = nullptr;
    if (LoadBitmapBits(id, &bits, width, height, &stride)) {
      if (!err)
        err = supplier_suite->NewImageFromBuffer(supplier, width, height, stride,
                                                 kDRAWBOT_PixelLayout_24BGR, bits, &image);
      if (!err) {
        // 64 bits: the sum of two window coordinates must not wrap.
        const DRAWBOT_PointF32 origin = {
            static_cast<float>(int64_t(x) + event->effect_win.current_frame.left),
            static_cast<float>(int64_t(y) + event->effect_win.current_frame.top)};
        err = surface_suite->DrawImage(surface, image, &origin, 1.0f);
      }
      PageFree(bits);  // the image holds its own copy
    }
    if (image) Keep(err, supplier_suite->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(image)));
  }

  for (PanelSuite& s : drawbot) Keep(err, PanelReleaseSuite(in_data, out_data, s));
  event->evt_out_flags = PF_EO_HANDLED_EVENT;
  return err;
}
