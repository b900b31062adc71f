// The render's steps on the instance's cloth cache record: bind or rebuild
// its arrays, then the timeline branch. Inline over host/cloth_cache.h, so
// each plug-in's Render works on its own record layout (the Drape sources
// see the Drape layout there).
#pragma once
#include "host/cloth_cache.h"
#include "host/render_frame.h"

// Lays the fresh arrays out with a fixation: ClothInitDouble or
// ClothInitSingle.
using ClothLayOutFunc = void (*)(uint8_t fixation);
// Replays the cloth from rest to this frame.
using ClothReplayFunc = void (*)(RenderFrame& frame, uint8_t fixation);

// Binds the record's arrays when they were made for this grid; otherwise
// rebuilds them, lays the cloth out and takes the layout as the rest state
// (rebuilt = true). False, with frame.outOfMemory set, when the arrays
// cannot be had.
inline bool BindOrRebuildCloth(RenderFrame& f, ClothCache* record, int32_t arrayBytes, ClothLayOutFunc layOut,
                               uint8_t fixation, bool& rebuilt) {
  rebuilt = false;
  if (ClothCacheMatches(record, arrayBytes)) {
    BindClothCache(record);
    return true;
  }
  if (arrayBytes == 0 || RebuildClothCache(record, arrayBytes) != PF_Err_NONE) {
    f.outOfMemory = true;
    return false;
  }
  layOut(fixation);
  TakeRestFromLayout();
  rebuilt = true;
  return true;
}

// Exactly one branch: replay from rest (the preview switch on); restart
// (frame 0, fresh arrays, or saved roles that do not fit the record);
// otherwise the cached cloth four steps on. The replay and the restart save
// the buffers' roles in the record; the four steps leave them as they were.
inline void RunClothTimeline(RenderFrame& f, ClothCache* record, bool rebuilt, uint8_t fixation,
                             ClothReplayFunc replay) {
  if (f.replay) {
    replay(f, fixation);
  } else if (rebuilt || FrameIndex == 0 ||
             !ContinueCloth(fixation, record->savedPrevious, record->savedCurrent)) {
    RestartCloth(fixation);
  } else {
    return;
  }
  SaveClothRoles(&record->savedPrevious, &record->savedCurrent);
}

// The cloth part of a render on the locked record: "Check self intersection"
// as the collision mode, the grid (two panels laid out by ClothInitDouble,
// one by ClothInitSingle), bind or rebuild, the timeline branch, then the
// drawing (DrawClothFrame with clearTarget). Nothing is drawn when the
// arrays cannot be had.
inline void SimulateAndDrawCloth(RenderFrame& f, ClothCache* record, bool twoPanels, uint8_t fixation,
                                 ClothReplayFunc replay, bool clearTarget) {
  ClothCollision = f.collision ? CLOTH_COLLISION_REPEL : CLOTH_COLLISION_NONE;
  const int32_t arrayBytes = SetClothGrid(f.W, f.H, twoPanels);
  bool rebuilt = false;
  if (!BindOrRebuildCloth(f, record, arrayBytes, twoPanels ? ClothInitDouble : ClothInitSingle, fixation, rebuilt))
    return;
  RunClothTimeline(f, record, rebuilt, fixation, replay);
  DrawClothFrame(f, clearTarget);
}
