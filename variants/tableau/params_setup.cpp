// The Tableau plug-in's parameters: the Theatre indices and kinds
// (host/host.h) with four rows of its own: "Blind rrequency", "Motion speed"
// without the blank and default 0, "Check self intersection" on, and
// "Shininess" 20. The record is cleared only before the first two; see
// host/param_registration.h for what carries over.
#include "host/host.h"
#include "host/param_registration.h"

static const char RENDERING_MODE_CHOICES[] = "Rough|Line|Wire|Flat|Phong|Patches|Bezier";
static const char BLIND_FREQUENCY_CHOICES[] = "Rare|Medium|Frequently";

PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* /*params*/[], PF_LayerDef* /*output*/) {
  PF_ParamDef def;
  PF_Err err;
  ClearParamDef(def);
  if ((err = AddInformation(in_data, def, "Information"))) return err;
  ClearParamDef(def);
  if ((err = AddPopup(in_data, def, "Rendering mode", 7, RENDERING_MODE_CHOICES, 5))) return err;
  if ((err = AddPopup(in_data, def, "Blind rrequency", 3, BLIND_FREQUENCY_CHOICES, 1))) return err;
  if ((err = AddSlider(in_data, def, "Mesh size X", 2, 1000, 20, 150, 40))) return err;
  if ((err = AddSlider(in_data, def, "Mesh size Y", 2, 1000, 20, 150, 40))) return err;
  if ((err = AddFixSlider(in_data, def, "Motion speed", FIXD(-1000), FIXD(1000), FIXD(-10), FIXD(10), FIXD(0))))
    return err;
  if ((err = AddFixSlider(in_data, def, "Folding speed", FIXD(-1000), FIXD(1000), FIXD(-10), FIXD(10), FIXD(2.5))))
    return err;
  if ((err = AddFixSlider(in_data, def, "Weight", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(100), FIXD(10)))) return err;
  if ((err = AddFixSlider(in_data, def, "Gravity force", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(20), 642253)))
    return err;
  if ((err = AddFixSlider(in_data, def, "Wind force", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(200), FIXD(0))))
    return err;
  if ((err = AddAngle(in_data, def, "Wind direction XY", FIXD(90)))) return err;
  if ((err = AddFixSlider(in_data, def, "Wind direction XZ", FIXD(-1000), FIXD(1000), FIXD(-180), FIXD(180), 6554)))
    return err;
  if ((err = AddFixSlider(in_data, def, "Accelerator", FIXD(-1000), FIXD(1000), FIXD(50), FIXD(150), FIXD(100))))
    return err;
  if ((err = AddPoint(in_data, def, "Position", FIXD(50), FIXD(50)))) return err;
  if ((err = AddFixSlider(in_data, def, "Scale X", 66, FIXD(1000), FIXD(10), FIXD(150), FIXD(100)))) return err;
  if ((err = AddFixSlider(in_data, def, "Scale Y", 66, FIXD(1000), FIXD(10), FIXD(150), FIXD(100)))) return err;
  if ((err = AddAngle(in_data, def, "Rotation X", 0))) return err;
  if ((err = AddAngle(in_data, def, "Rotation Y", 0))) return err;
  if ((err = AddAngle(in_data, def, "Rotation Z", 0))) return err;
  // Cannot-time-vary stays on every later parameter: the record is not cleared.
  if ((err = AddCheckbox(in_data, def, "Check self intersection", 1, PF_ParamFlag_CANNOT_TIME_VARY))) return err;
  if ((err = AddCheckbox(in_data, def, "Time dependent preview", 0, 0))) return err;
  if ((err = AddGroupStart(in_data, def, "Material"))) return err;
  if ((err = AddColor(in_data, def, "Diffuse", 128, 128, 128))) return err;
  if ((err = AddColor(in_data, def, "Specular", 255, 255, 255))) return err;
  if ((err = AddFixSlider(in_data, def, "Shininess", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(100), FIXD(20))))
    return err;
  if ((err = AddFixSlider(in_data, def, "Shine strength", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(500), FIXD(0))))
    return err;
  if ((err = AddFixSlider(in_data, def, "Self illumination", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(100), FIXD(25))))
    return err;
  if ((err = AddFixSlider(in_data, def, "Transparancy", FIXD(0), FIXD(100), FIXD(0), FIXD(100), FIXD(0)))) return err;
  if ((err = AddCheckbox(in_data, def, "Glass", 0, 0))) return err;
  if ((err = AddFixSlider(in_data, def, "Refraction", FIXD(-1000), FIXD(1000), FIXD(-100), FIXD(100), FIXD(-50))))
    return err;
  if ((err = AddFixSlider(in_data, def, "Optical coefficient", FIXD(-1000), FIXD(1000), FIXD(-100), FIXD(100),
                          FIXD(15))))
    return err;
  if ((err = AddFixSlider(in_data, def, "Aberration", FIXD(0), FIXD(1000), FIXD(0), FIXD(100), FIXD(20)))) return err;
  if ((err = AddLayer(in_data, def, "Texture", 1))) return err;
  if ((err = AddFixSlider(in_data, def, "Texture percent", FIXD(-1000), FIXD(1000), FIXD(-100), FIXD(100), FIXD(100))))
    return err;
  if ((err = AddLayer(in_data, def, "Texture bump", 2))) return err;
  if ((err = AddFixSlider(in_data, def, "Bump percent", FIXD(-1000), FIXD(1000), FIXD(-100), FIXD(100), FIXD(10))))
    return err;
  if ((err = AddLayer(in_data, def, "Texture opacity", 3))) return err;
  if ((err = AddFixSlider(in_data, def, "Opacity percent", FIXD(-1000), FIXD(1000), FIXD(-100), FIXD(100), FIXD(100))))
    return err;
  if ((err = AddLayer(in_data, def, "Texture reflection", 4))) return err;
  if ((err = AddFixSlider(in_data, def, "Reflection percent", FIXD(0), FIXD(1000), FIXD(0), FIXD(100), FIXD(30))))
    return err;
  if ((err = AddGroupEnd(in_data, def))) return err;
  if ((err = AddGroupStart(in_data, def, "Light"))) return err;
  if ((err = AddFixSlider(in_data, def, "Multiply", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(150), FIXD(100)))) return err;
  if ((err = AddColor(in_data, def, "Light color", 255, 255, 255))) return err;
  if ((err = AddAngle(in_data, def, "Rotate UV", 0))) return err;
  // Degrees on a fixed slider, not an angle control.
  if ((err = AddFixSlider(in_data, def, "Rotate WV", FIXD(-10000), FIXD(10000), FIXD(0), FIXD(180), FIXD(45))))
    return err;
  if ((err = AddGroupEnd(in_data, def))) return err;
  return RegisterPanel(in_data, out_data, PARAM_COUNT);
}
