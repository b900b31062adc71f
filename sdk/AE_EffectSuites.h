// Host suites an effect acquires through the basic suite (sdk/SPBasic.h).
#pragma once
#include "sdk/AE_EffectUI.h"
#include "sdk/DrawbotSuites.h"
#include "sdk/SPBasic.h"

// The drawing reference of a panel context.
#define kPFEffectCustomUISuite "PF Effect Custom UI Suite"
#define kPFEffectCustomUISuiteVersion1 1

typedef struct PF_EffectCustomUISuite1 {
  PF_Err(SPAPI* PF_GetDrawingReference)(const PF_ContextH effect_contextH, DRAWBOT_DrawRef* referenceP0);
} PF_EffectCustomUISuite1;

// Application services; the panel uses the invalidation of a panel area.
// Version 6 of the App suite is this table. Colours, personal and font
// records and colour-picker pixels travel as plain pointers.
#define kPFAppSuite "PF AE App Suite"
#define kPFAppSuiteVersion4 6

typedef struct PFAppSuite4 {
  PF_Err(SPAPI* PF_AppGetBgColor)(void* bg_colorP);
  PF_Err(SPAPI* PF_AppGetColor)(A_short color_type, void* app_colorP);
  PF_Err(SPAPI* PF_GetPersonalInfo)(void* ptiP);
  PF_Err(SPAPI* PF_GetFontStyleSheet)(A_char sheet, void* font_nameP, A_short* font_numPS, A_short* sizePS,
                                      A_short* stylePS);
  PF_Err(SPAPI* PF_SetCursor)(PF_CursorType cursor);
  PF_Err(SPAPI* PF_IsRenderEngine)(PF_Boolean* render_enginePB);
  PF_Err(SPAPI* PF_AppColorPickerDialog)(const A_char* dialog_title, const void* start_colorP,
                                         PF_Boolean use_ws_to_monitor, void* result_colorP);
  PF_Err(SPAPI* PF_GetMouse)(PF_Point* pointP);
  // Asks the host to redraw rectP0 (null: the whole context) of a panel.
  PF_Err(SPAPI* PF_InvalidateRect)(const PF_ContextH contextH, const PF_Rect* rectP0);
  PF_Err(SPAPI* PF_ConvertLocalToGlobal)(const PF_Point* localP, PF_Point* globalP);
  PF_Err(SPAPI* PF_GetColorAtGlobalPoint)(const PF_Point* globalP, A_short eye_size, A_short sample_mode,
                                          void* colorP);
} PFAppSuite4;
