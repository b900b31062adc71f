// Test rig: owns the cloth's arrays, binds them to the module state and puts
// every scalar back to its load value, so each test starts from a loaded
// module.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "cloth/cloth.h"

struct ClothRig {
  std::vector<ClothParticle> rest, posA, posB, acc, normals, spare;
  std::vector<ClothConstraint> constraints;

  // Binds arrays for one or two panels of w x h and sets the grid globals as
  // the render handler does.
  ClothRig(int32_t w, int32_t h, bool twoPanels) {
    ClothSize = 5.0f;
    ClothWeight = 2.15f;
    ClothTimeScale = 1.0f;
    ClothWindForce = 100.0f;
    ClothWindDir[0] = 10.0f;
    ClothWindDir[1] = 0.0f;
    ClothWindDir[2] = 0.1f;
    ClothBlindFrequency = 1;
    ClothGravity = 9.8f;
    ClothRodDrive = 0;
    ClothCollision = 0;
    ClothMotionSpeed = 0.0f;
    ClothFoldingSpeed = 0.0f;

    const int32_t panel = w * h;
    const int32_t perPanel = (w - 1) * h + w * (h - 1) + (w - 1) * (h - 1);
    ClothW = w;
    ClothH = h;
    ClothTwoPanels = twoPanels ? 1 : 0;
    ClothCount = twoPanels ? 2 * panel : panel;
    ClothConstraintCount = twoPanels ? 2 * perPanel : perPanel;
    ClothPanelCount = twoPanels ? panel : 0;
    ClothPanelOffset = twoPanels ? 4 * panel : 0;
    // Arrays start as the page allocator hands them out: zero-filled.
    for (auto* v : {&rest, &posA, &posB, &acc, &normals, &spare})
      v->assign(size_t(ClothCount), ClothParticle{0, 0, 0, 0});
    constraints.assign(size_t(ClothConstraintCount), ClothConstraint{0, 0, 0});
    ClothRest = rest.data();
    ClothPosA = posA.data();
    ClothPosB = posB.data();
    ClothAcc = acc.data();
    ClothNormals = normals.data();
    ClothSpare = spare.data();
    ClothConstraints = constraints.data();
    ClothCur = nullptr;
    ClothPrev = nullptr;
  }

  ~ClothRig() {
    ClothRest = ClothPosA = ClothPosB = ClothAcc = ClothNormals = ClothSpare = nullptr;
    ClothCur = ClothPrev = nullptr;
    ClothConstraints = nullptr;
    ClothTwoPanels = 0;
    ClothPanelCount = ClothPanelOffset = 0;
  }

  // The render handler's first render: lay out, keep the rest state, then
  // restart (pin both buffers and panels, copy, normals).
  void LayOut(uint8_t fixation) {
    if (ClothTwoPanels)
      ClothInitDouble(fixation);
    else
      ClothInitSingle(fixation);
    std::copy(posA.begin(), posA.end(), rest.begin());
    Restart(fixation);
  }

  void Restart(uint8_t fixation) {
    ClothSetPins(fixation, ClothRest);
    if (ClothTwoPanels) ClothSetPins(fixation, ClothRest + ClothPanelCount);
    std::copy(rest.begin(), rest.end(), posA.begin());
    std::copy(rest.begin(), rest.end(), posB.begin());
    ClothCur = ClothPosA;
    ClothPrev = ClothPosB;
    ClothComputeNormals();
    if (ClothTwoPanels) {
      ClothCur += ClothPanelCount;
      ClothNormals += ClothPanelCount;
      ClothComputeNormals();
      ClothCur -= ClothPanelCount;
      ClothNormals -= ClothPanelCount;
    }
  }

  ClothParticle& Cur(int32_t r, int32_t c, int32_t panel = 0) {
    return ClothCur[panel * ClothPanelCount + r * ClothW + c];
  }
};

// FNV-1a over the bytes of the current positions (weights included).
inline uint64_t ClothPositionHash() {
  uint64_t h = 1469598103934665603ull;
  const auto* bytes = reinterpret_cast<const unsigned char*>(ClothCur);
  for (size_t i = 0; i < size_t(ClothCount) * sizeof(ClothParticle); ++i) {
    h ^= bytes[i];
    h *= 1099511628211ull;
  }
  return h;
}

inline bool SameBits(const ClothParticle& a, const ClothParticle& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}
