// Placeholders of the scene loops that are still to come: each draws nothing.
// Whoever lands a loop deletes its placeholder here (and this file once it
// is empty), so the module always links.
#include "renderer/raster/raster_internal.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

void RasterSceneWire(VELARRA_SCENE_LOOP_ARGS) {}
void RasterScenePatches(VELARRA_SCENE_LOOP_ARGS) {}
void RasterSceneBezier(VELARRA_SCENE_LOOP_ARGS) {}
void RasterSceneContour(VELARRA_SCENE_LOOP_ARGS) {}
