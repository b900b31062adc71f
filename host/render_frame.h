// The steps of one render, shared by the three plug-ins' Render handlers.
//
// A render turns the parameter values at the frame's time into the cloth's
// and the renderer's inputs, brings the instance's cloth to this frame,
// builds and places the mesh, draws it into a packed working copy of the
// frame and writes that back into the host's output. Each plug-in's Render
// (host/render_theatre.cpp, variants/tableau/, variants/drape/) composes
// the steps below in its own order; they differ only in the parameter
// indices, the grid (two panels or one), the pins, the replay and where the
// frame is cleared.
//
// Everything one render needs lives in a RenderFrame on the handler's
// stack. Every record the renderer receives (material, map blocks, texture
// slots, light, glass) starts value-initialised: only the named fields are
// written, the rest reads as zero.
//
// Running result: every parameter checkout and check-in stores its result in
// frame.result, and the handler returns the last one (the last check-in),
// unless the render ran out of memory, which returns PF_Err_OUT_OF_MEMORY.
//
// Failure behaviour: a step that cannot get its memory (working buffers,
// textures, mesh, cloth arrays, the renderer's own buffers) sets
// frame.outOfMemory and the later drawing steps do nothing; FinishRender
// then clears the output to transparent black and reports out-of-memory.
// Layers that cannot be checked out, have no pixels, another depth than the
// output or a size of 0 are absent. Nothing here reads or writes outside a
// buffer whatever the host hands over.
#pragma once
#include <cstdint>

#include "cloth/cloth.h"
#include "cloth/effect_trig.h"
#include "renderer/renderer.h"
#include "sdk/AE_Effect.h"

// Largest output side the render accepts; larger outputs are cleared and
// reported as out of memory. Keeps 4 x width and every index within int.
constexpr int32_t RENDER_MAX_SIDE = 30000;
// Grid columns and rows a panel; values outside (corrupt project data) are
// clamped.
constexpr int32_t RENDER_MIN_MESH_SIZE = 2;
constexpr int32_t RENDER_MAX_MESH_SIZE = 1000;
// Simulation steps a frame.
constexpr int32_t RENDER_STEPS_PER_FRAME = 4;

// Texture slots of the one material, in the renderer's order.
enum RenderSlot : int { SLOT_TEXTURE = 0, SLOT_OPACITY = 1, SLOT_BUMP = 2, SLOT_REFLECTION = 3, SLOT_COUNT = 4 };

// params[] indices of the controls every render reads.
struct RenderParamIndices {
  PF_ParamIndex renderingMode, meshSizeX, meshSizeY;
  PF_ParamIndex weight, gravity, windForce, windXY, windXZ, accelerator;
  PF_ParamIndex position, scaleX, scaleY, rotationX, rotationY, rotationZ;
  PF_ParamIndex checkSelfIntersection, timeDependentPreview;
  PF_ParamIndex diffuse, specular, shininess, shineStrength, selfIllumination, transparency;
  PF_ParamIndex glass, refraction, optical, aberration;
  PF_ParamIndex multiply, lightColor, rotateUV, rotateWV;
  PF_ParamIndex layer[SLOT_COUNT];   // by slot
  PF_ParamIndex amount[SLOT_COUNT];  // "... percent" of each slot's layer
};

// A texture layer as its checkout gave it.
struct RenderLayer {
  PF_ParamDef def;
  bool present;
  const void* data;
  int32_t width, height;
  int32_t stride;  // rowbytes in channel values
};

struct RenderFrame {
  PF_InData* in;
  PF_OutData* out;
  PF_LayerDef* output;
  PF_Err result;
  bool outOfMemory;

  // Parameters.
  int32_t W, H;
  uint8_t drawMode;
  bool replay;
  bool collision;
  float rotation[3];  // radians about x, y, z
  float px, py;       // "Position", later less half the output size
  material3ds material;
  GlassProp glass;
  light3ds light;
  float mapAmount[SLOT_COUNT];

  RenderLayer layers[SLOT_COUNT];
  __Texture slots[SLOT_COUNT];

  // Output geometry. drawable: the output can be drawn into.
  bool drawable;
  unsigned char* outPixels;
  int32_t width, height, outStride;
  bool deep;
  const void* inPixels;
  int32_t inWidth, inHeight, inStride;

  // Render-local buffers (page memory).
  unsigned char* target;
  unsigned char* source;
  __Point3ds* points;
  __Triangle3ds* triangles;
  int32_t vertexCount, triangleCount;

  // The instance's record, locked.
  PF_Handle handle;
  void* record;
};

// Module-level values of the render: the frame index (current time / local
// time step, 0 when the step is 0) and whether the output has 16 bits a
// channel.
extern int32_t FrameIndex;
extern uint8_t OutputDeep;

// Indices of the rod-driven plug-ins (Theatre and Tableau).
extern const RenderParamIndices RodRenderParams;

// ---- a handler's opening and closing ---------------------------------------
// Every Render starts and ends with these sequences; what a plug-in reads of
// its own (the rod, the fixation) goes between BeginRender and PrepareRender.

// RenderFrameInit, then ReadRenderParams.
void BeginRender(RenderFrame& frame, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                 PF_LayerDef* output, const RenderParamIndices& index);
// ComputeFrameIndex, CheckoutTextureLayers, SetRendererSwitches, then
// TakeOutputGeometry of the input layer (params[0] in every plug-in).
void PrepareRender(RenderFrame& frame, PF_ParamDef* params[], const RenderParamIndices& index);
// CheckinTextureLayers, UnlockInstanceRecord, ReleaseTextures, then the
// result of FinishRender.
PF_Err EndRender(RenderFrame& frame, const RenderParamIndices& index);

// ---- parameters ------------------------------------------------------------

// Value-initialises frame and takes the command's records.
void RenderFrameInit(RenderFrame& frame, PF_InData* in_data, PF_OutData* out_data, PF_LayerDef* output);
// Converts the shared controls: the cloth's weight, gravity, wind and time
// scale globals; grid size, draw mode, switches, rotations, position, mesh
// scale, material, glass, light and map amounts into frame.
void ReadRenderParams(RenderFrame& frame, PF_ParamDef* params[], const RenderParamIndices& index);
// The rod of Theatre and Tableau: "Blind frequency", both speeds, the drive.
void ReadRodParams(PF_ParamDef* params[]);
// The rod plug-ins' replay: ReplayWithSpeedCheckouts of "Motion speed" and
// "Folding speed".
void ReplayRod(RenderFrame& frame, uint8_t fixation);
// The rod plug-ins hang their cloth by the top rows at the rod's hooks.
constexpr uint8_t ROD_FIXATION = ClothFixation::TopTied;
// The renderer's draw mode of a "Rendering mode" choice (any other: 6).
uint8_t DrawModeOfChoice(int32_t choice);
// Degrees to radians with the effect's value of pi, 3.141592.
double EffectRadians(double degrees);
// FrameIndex from the current time and the local time step, truncated
// toward zero in 64 bits and held at most 2^31 - 1; negative for a
// time-reversed layer.
void ComputeFrameIndex(const PF_InData* in_data);

// ---- layers, switches and output -------------------------------------------

// Checks out the texture layers in the order texture, bump, opacity,
// reflection at the current time.
void CheckoutTextureLayers(RenderFrame& frame, const RenderParamIndices& index);
// Checks them in in the order texture, opacity, bump, reflection.
void CheckinTextureLayers(RenderFrame& frame, const RenderParamIndices& index);
// Quality and draw mode.
void SetRendererSwitches(const RenderFrame& frame);
// Output and input geometry, the depth (rowbytes halved and the renderer's
// depth switch set at 16 bits), the position less half the output size and
// the mesh scale times the output size / 500.
void TakeOutputGeometry(RenderFrame& frame, const PF_ParamDef* input);
// Fills the output's rows (rowbytes each, padding included) with zero
// bytes; nothing when it has no pixels.
void ClearOutputWorld(const RenderFrame& frame);

// ---- the instance record ---------------------------------------------------

// Locks the instance's handle; frame.record is its block, or null.
void LockInstanceRecord(RenderFrame& frame);
void UnlockInstanceRecord(RenderFrame& frame);

// ---- the cloth -------------------------------------------------------------

// Sets the grid globals for W x H a panel, one panel or two, and returns
// the cache key (16 x particles), or 0 when the grid cannot be held.
int32_t SetClothGrid(int32_t W, int32_t H, bool twoPanels);
// The fresh layout in ClothPosA becomes the rest state.
void TakeRestFromLayout();
// Pins every panel of the array from `particles` on.
void PinEveryPanel(uint8_t fixation, ClothParticle* particles);
// The rest state pinned, copied to both buffers, roles and normals set; no
// step.
void RestartCloth(uint8_t fixation);
// Restart, then four steps for each frame before this one, each frame's
// "Motion speed" and "Folding speed" checked out at that frame's time.
// Resumes from a checkpoint of the instance's arrays where one gives the
// same state (ClothReplayCheckpoints, cloth/checkpoint.h), with the same
// checkouts.
void ReplayWithSpeedCheckouts(RenderFrame& frame, uint8_t fixation, PF_ParamIndex motion, PF_ParamIndex folding);
// Restart, then four steps for each frame before this one with the current
// values (ClothResetAndPreroll), resumed from a checkpoint likewise.
void ReplayWithPreroll(uint8_t fixation);
// The cached cloth four steps on: roles from the record, every buffer and
// panel pinned again. False, with nothing done, when the saved roles are not
// the record's two buffers (the caller restarts instead).
bool ContinueCloth(uint8_t fixation, ClothParticle* savedPrevious, ClothParticle* savedCurrent);
// ClothPrev and ClothCur into the record's saved roles.
void SaveClothRoles(ClothParticle** savedPrevious, ClothParticle** savedCurrent);

// ---- drawing ---------------------------------------------------------------

// The working target (the output as packed R, G, B, A; cleared when
// clearTarget) and source (the input), the material, glass and texture
// slots, the mesh, its placement, the draw and the write-back; then the
// target, source and mesh are released. Textures stay for ReleaseTextures.
void DrawClothFrame(RenderFrame& frame, bool clearTarget);
// The steps of DrawClothFrame, in its order.
bool MakeWorkingBuffers(RenderFrame& frame, bool clearTarget);
bool FillTextureSlots(RenderFrame& frame);
uint8_t MeshTextured(const RenderFrame& frame);
void PlaceMesh(RenderFrame& frame);
bool DrawMesh(RenderFrame& frame);
void WriteBack(RenderFrame& frame);
void ReleaseFrameBuffers(RenderFrame& frame);
// The four packed textures.
void ReleaseTextures(RenderFrame& frame);
// The handler's result: out of memory clears the output and gives
// PF_Err_OUT_OF_MEMORY; otherwise the running result.
PF_Err FinishRender(RenderFrame& frame);
