// The effect host frame: the module's entry point, the host command
// handlers, the module-level state of the entry point, and the parameter
// indices of the rod-driven plug-ins (Theatre and Tableau; Drape's are in
// variants/drape/drape_params.h).
//
// Every handler takes (in_data, out_data, params, output) and returns the
// host's error code; HandleEvent also takes the event record. Which
// ParamsSetup, Render, SequenceSetup and SequenceSetdown a module contains is
// settled when it is linked (velarra_theatre, velarra_tableau or
// velarra_drape); the rest is shared by the three.
#pragma once
#include <cstdint>

#include "sdk/AE_Effect.h"
#include "sdk/AE_EffectUI.h"

// ---- parameter indices (params[] of every command) -------------------------
// Drape's sources include variants/drape/drape_params.h instead, which
// defines its own indices under the same names and then includes this header.
#if !defined(VELARRA_DRAPE_PARAMS)
enum {
  PARAM_INPUT = 0,  // the input layer, supplied by the host
  PARAM_INFORMATION,
  PARAM_RENDERING_MODE,
  PARAM_BLIND_FREQUENCY,
  PARAM_MESH_SIZE_X,
  PARAM_MESH_SIZE_Y,
  PARAM_MOTION_SPEED,
  PARAM_FOLDING_SPEED,
  PARAM_WEIGHT,
  PARAM_GRAVITY_FORCE,
  PARAM_WIND_FORCE,
  PARAM_WIND_DIRECTION_XY,
  PARAM_WIND_DIRECTION_XZ,
  PARAM_ACCELERATOR,
  PARAM_POSITION,
  PARAM_SCALE_X,
  PARAM_SCALE_Y,
  PARAM_ROTATION_X,
  PARAM_ROTATION_Y,
  PARAM_ROTATION_Z,
  PARAM_CHECK_SELF_INTERSECTION,
  PARAM_TIME_DEPENDENT_PREVIEW,
  PARAM_MATERIAL_GROUP,
  PARAM_DIFFUSE,
  PARAM_SPECULAR,
  PARAM_SHININESS,
  PARAM_SHINE_STRENGTH,
  PARAM_SELF_ILLUMINATION,
  PARAM_TRANSPARENCY,
  PARAM_GLASS,
  PARAM_REFRACTION,
  PARAM_OPTICAL_COEFFICIENT,
  PARAM_ABERRATION,
  PARAM_TEXTURE,
  PARAM_TEXTURE_PERCENT,
  PARAM_TEXTURE_BUMP,
  PARAM_BUMP_PERCENT,
  PARAM_TEXTURE_OPACITY,
  PARAM_OPACITY_PERCENT,
  PARAM_TEXTURE_REFLECTION,
  PARAM_REFLECTION_PERCENT,
  PARAM_MATERIAL_GROUP_END,
  PARAM_LIGHT_GROUP,
  PARAM_MULTIPLY,
  PARAM_LIGHT_COLOR,
  PARAM_ROTATE_UV,
  PARAM_ROTATE_WV,
  PARAM_LIGHT_GROUP_END,
  PARAM_COUNT  // 48: the parameters, the input layer included
};
static_assert(PARAM_COUNT == 48, "47 registered parameters and the input layer");
#endif

// ---- what the global set-up reports (the PiPL carries the same values) -----
constexpr A_u_long EFFECT_VERSION = PF_VERSION(2, 0, 0, PF_Stage_DEVELOP, 1);
static_assert(EFFECT_VERSION == 0x100001, "version 2.0.0, development, build 1");
constexpr PF_OutFlags EFFECT_OUT_FLAGS =
    PF_OutFlag_NON_PARAM_VARY | PF_OutFlag_SEQUENCE_DATA_NEEDS_FLATTENING | PF_OutFlag_USE_OUTPUT_EXTENT |
    PF_OutFlag_PIX_INDEPENDENT | PF_OutFlag_CUSTOM_UI | PF_OutFlag_DEEP_COLOR_AWARE |
    PF_OutFlag_SEND_UPDATE_PARAMS_UI;
static_assert(EFFECT_OUT_FLAGS == 0x6008454, "global out-flags");

// ---- module-level state ----------------------------------------------------
constexpr int PLUGIN_FOLDER_SIZE = 1024;

// Set by DllMain at process attach; null before.
extern void* ModuleInstance;
// The module file's folder with its trailing separator, or empty; written
// only by GlobalSetup.
extern char PluginFolder[PLUGIN_FOLDER_SIZE];
// The host's main window (a window handle), or null; written only by
// GlobalSetup.
extern void* HostMainWindow;
// The separately built renderer module; nothing in the effect loads it.
extern void* EngineModuleHandle;
extern void* EngineRasterSceneFunc;

// The deliverable's shipped file name ("VelarraTheatre.AEX", ...), defined
// once in each plug-in's own sources; GlobalSetup cuts its length from the
// module path.
extern const char ShippedModuleFileName[];
// The separately built renderer module's file name.
extern const char EngineModuleFileName[];  // "VelarraEngine.dll"

// ---- the entry point -------------------------------------------------------
extern "C" PF_Err EntryPointFunc(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                                 PF_LayerDef* output, void* extra);

// ---- command handlers ------------------------------------------------------
PF_Err About(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);
PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);
PF_Err GlobalSetdown(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);
PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);
PF_Err SequenceSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);
PF_Err SequenceResetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);
// Both the flatten and the set-down command.
PF_Err SequenceSetdown(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);
PF_Err Render(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output);
PF_Err HandleEvent(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[], PF_LayerDef* output,
                   PF_EventExtra* event);

// ---- the separately built renderer module ----------------------------------
// Appends EngineModuleFileName to folder (a buffer of PLUGIN_FOLDER_SIZE
// characters), loads that module and returns its "__RasterScene", or null
// when the path does not fit, the module does not load or lacks the export.
void* LoadEngineModule(char* folder);
// Releases the module loaded by LoadEngineModule, if any.
void FreeEngineModule();
