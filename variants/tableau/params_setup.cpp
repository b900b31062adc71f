// The Tableau plug-in's parameters: the Theatre indices and kinds
// (host/host.h) with four rows of its own: "Blind rrequency", "Motion speed"
// without the blank and default 0, "Check self intersection" on, and
// "Shininess" 20. The record is cleared only before the first two; see
// host/param_registration.h for what carries over.
#include "host/host.h"
#include "host/param_registration.h"

static const char RENDERING_MODE_CHOICES[] = "Rough|Line|Wire|Flat|Phong|Patches|Bezier";
static const char BLIND_FREQUENCY_CHOICES[] = "Rare|Medium|Frequently";

static constexpr ParamRow PARAMS[] = {
    InformationRow("Information"),
    PopupRow("Rendering mode", 7, RENDERING_MODE_CHOICES, 5),
    PopupRow("Blind rrequency", 3, BLIND_FREQUENCY_CHOICES, 1),
    SliderRow("Mesh size X", 2, 1000, 20, 150, 40),
    SliderRow("Mesh size Y", 2, 1000, 20, 150, 40),
    FixSliderRow("Motion speed", FIXD(-1000), FIXD(1000), FIXD(-10), FIXD(10), FIXD(0)),
    FixSliderRow("Folding speed", FIXD(-1000), FIXD(1000), FIXD(-10), FIXD(10), FIXD(2.5)),
    FixSliderRow("Weight", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(100), FIXD(10)),
    FixSliderRow("Gravity force", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(20), 642253),
    FixSliderRow("Wind force", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(200), FIXD(0)),
    AngleRow("Wind direction XY", FIXD(90)),
    FixSliderRow("Wind direction XZ", FIXD(-1000), FIXD(1000), FIXD(-180), FIXD(180), 6554),
    FixSliderRow("Accelerator", FIXD(-1000), FIXD(1000), FIXD(50), FIXD(150), FIXD(100)),
    PointRow("Position", FIXD(50), FIXD(50)),
    FixSliderRow("Scale X", 66, FIXD(1000), FIXD(10), FIXD(150), FIXD(100)),
    FixSliderRow("Scale Y", 66, FIXD(1000), FIXD(10), FIXD(150), FIXD(100)),
    AngleRow("Rotation X", 0),
    AngleRow("Rotation Y", 0),
    AngleRow("Rotation Z", 0),
    // Flags 1, on every later parameter too (the record is not cleared): the
    // value saved projects were made with. It is the host's reserved bit, not
    // cannot-time-vary, so these parameters stay animatable.
    CheckboxRow("Check self intersection", 1, PF_ParamFlag_RESERVED1),
    CheckboxRow("Time dependent preview", 0, 0),
    GroupStartRow("Material"),
    ColorRow("Diffuse", 128, 128, 128),
    ColorRow("Specular", 255, 255, 255),
    FixSliderRow("Shininess", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(100), FIXD(20)),
    FixSliderRow("Shine strength", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(500), FIXD(0)),
    FixSliderRow("Self illumination", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(100), FIXD(25)),
    FixSliderRow("Transparancy", FIXD(0), FIXD(100), FIXD(0), FIXD(100), FIXD(0)),
    CheckboxRow("Glass", 0, 0),
    FixSliderRow("Refraction", FIXD(-1000), FIXD(1000), FIXD(-100), FIXD(100), FIXD(-50)),
    FixSliderRow("Optical coefficient", FIXD(-1000), FIXD(1000), FIXD(-100), FIXD(100), FIXD(15)),
    FixSliderRow("Aberration", FIXD(0), FIXD(1000), FIXD(0), FIXD(100), FIXD(20)),
    LayerRow("Texture", 1),
    FixSliderRow("Texture percent", FIXD(-1000), FIXD(1000), FIXD(-100), FIXD(100), FIXD(100)),
    LayerRow("Texture bump", 2),
    FixSliderRow("Bump percent", FIXD(-1000), FIXD(1000), FIXD(-100), FIXD(100), FIXD(10)),
    LayerRow("Texture opacity", 3),
    FixSliderRow("Opacity percent", FIXD(-1000), FIXD(1000), FIXD(-100), FIXD(100), FIXD(100)),
    LayerRow("Texture reflection", 4),
    FixSliderRow("Reflection percent", FIXD(0), FIXD(1000), FIXD(0), FIXD(100), FIXD(30)),
    GroupEndRow(),
    GroupStartRow("Light"),
    FixSliderRow("Multiply", FIXD(-1000), FIXD(1000), FIXD(0), FIXD(150), FIXD(100)),
    ColorRow("Light color", 255, 255, 255),
    AngleRow("Rotate UV", 0),
    // Degrees on a fixed slider, not an angle control.
    FixSliderRow("Rotate WV", FIXD(-10000), FIXD(10000), FIXD(0), FIXD(180), FIXD(45)),
    GroupEndRow(),
};
static_assert(sizeof PARAMS / sizeof PARAMS[0] == PARAM_COUNT - 1, "every parameter but the input layer");

PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* /*params*/[], PF_LayerDef* /*output*/) {
  return RegisterParamTable(in_data, out_data, PARAMS, PARAM_COUNT - 1);
}
