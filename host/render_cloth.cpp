// Bringing the instance's cloth to the state of the frame: the grid, the
// rest state, the restart and the cached cloth four steps on (the replay
// from rest is in render_cloth_replay.cpp).
#include <cstring>

#include "host/render_frame.h"

namespace {

void CopyParticles(ClothParticle* to, const ClothParticle* from) {
  std::memcpy(to, from, size_t(ClothCount) * sizeof(ClothParticle));
}

}  // namespace

int32_t SetClothGrid(int32_t W, int32_t H, bool twoPanels) {
  if (W < RENDER_MIN_MESH_SIZE || H < RENDER_MIN_MESH_SIZE || W > RENDER_MAX_MESH_SIZE || H > RENDER_MAX_MESH_SIZE)
    return 0;
  const int32_t panel = W * H;  // at most 10^6
  ClothW = W;
  ClothH = H;
  ClothCount = panel;
  ClothConstraintCount = (W - 1) * H + W * (H - 1) + (W - 1) * (H - 1);
  int32_t arrayBytes = 16 * panel;
  if (twoPanels) {
    ClothPanelCount = panel;
    ClothPanelOffset = 4 * panel;
    arrayBytes *= 2;
    ClothCount *= 2;
    ClothConstraintCount *= 2;
    ClothTwoPanels = 1;
  }
  return arrayBytes;
}

void TakeRestFromLayout() { CopyParticles(ClothRest, ClothPosA); }

void PinEveryPanel(uint8_t fixation, ClothParticle* particles) {
  ClothSetPins(fixation, particles);
  if (ClothTwoPanels) ClothSetPins(fixation, particles + ClothPanelCount);
}

void RestartCloth(uint8_t fixation) {
  PinEveryPanel(fixation, ClothRest);
  // The rest state copied to both buffers, ClothCur = A, ClothPrev = B and
  // the normals of every panel: a preroll of no step.
  ClothResetAndPreroll(0);
}

bool ContinueCloth(uint8_t fixation, ClothParticle* savedPrevious, ClothParticle* savedCurrent) {
  const bool roles = (savedPrevious == ClothPosA && savedCurrent == ClothPosB) ||
                     (savedPrevious == ClothPosB && savedCurrent == ClothPosA);
  if (!roles || !ClothPosA) return false;
  ClothPrev = savedPrevious;
  ClothCur = savedCurrent;
  // Both buffers pinned again, so a changed "Weight" reaches every particle,
  // also in the older buffer that the next step reads.
  ClothSetPins(fixation, ClothPosA);
  ClothSetPins(fixation, ClothPosB);
  if (ClothTwoPanels) {
    ClothSetPins(fixation, ClothPosA + ClothPanelCount);
    ClothSetPins(fixation, ClothPosB + ClothPanelCount);
  }
  // Every step swaps the roles: after four the pair is as it was, so the
  // saved roles stay valid.
  ClothSimulate(RENDER_STEPS_PER_FRAME);
  return true;
}

void SaveClothRoles(ClothParticle** savedPrevious, ClothParticle** savedCurrent) {
  *savedPrevious = ClothPrev;
  *savedCurrent = ClothCur;
}
