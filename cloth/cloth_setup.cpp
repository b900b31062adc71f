// Laying out the cloth: one panel, two panels, and the restart with pre-roll.
//
// The rest lengths equal the particles' spacing in the set-up, so a freshly
// laid-out cloth satisfies every constraint. There are no bending
// constraints, and the diagonals run one way only: from (r, c) to
// (r+1, c+1).
#include <cmath>
#include <cstring>

#include "cloth/cloth_internal.h"

namespace {

// The three families of one panel, horizontal, vertical, diagonal, each row
// by row with ascending columns. `offset` (floats) moves them to the second
// panel. Returns the element after the last one written.
ClothConstraint* FillPanelConstraints(ClothConstraint* out, int32_t offset, float h, float v) {
  const int32_t w = ClothW;
  const int32_t rows = ClothH;
  const float diagonal = std::sqrt(h * h + v * v);
  for (int32_t r = 0; r < rows; ++r)
    for (int32_t c = 0; c + 1 < w; ++c) {
      const int32_t i = r * w + c;
      *out++ = ClothConstraint{4 * i + offset, 4 * (i + 1) + offset, h};
    }
  for (int32_t r = 0; r + 1 < rows; ++r)
    for (int32_t c = 0; c < w; ++c) {
      const int32_t i = r * w + c;
      *out++ = ClothConstraint{4 * i + offset, 4 * (i + w) + offset, v};
    }
  for (int32_t r = 0; r + 1 < rows; ++r)
    for (int32_t c = 0; c + 1 < w; ++c) {
      const int32_t i = r * w + c;
      *out++ = ClothConstraint{4 * i + offset, 4 * (i + w + 1) + offset, diagonal};
    }
  return out;
}

// Row r's y: +ClothSize/2 at row 0 down to -ClothSize/2 at row H-1.
float RowY(int32_t r) { return ClothSize / 2 - (float(r) * ClothSize) / float(ClothH - 1); }

bool SetupUsable(int64_t constraintsWanted) {
  return ClothGridUsable() && ClothPosA != nullptr && ClothPosB != nullptr &&
         ClothNormals != nullptr && ClothConstraints != nullptr &&
         ClothConstraintCount == constraintsWanted;
}

void CopyPositions(ClothParticle* to, const ClothParticle* from, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    to[i].x = from[i].x;
    to[i].y = from[i].y;
    to[i].z = from[i].z;
  }
}

}  // namespace

void ClothComputeAllNormals() {
  ClothComputeNormals();
  if (ClothTwoPanels) {
    ClothCur += ClothPanelCount;
    ClothNormals += ClothPanelCount;
    ClothComputeNormals();
    ClothCur -= ClothPanelCount;
    ClothNormals -= ClothPanelCount;
  }
}

void ClothInitSingle(uint8_t fixation) {
  if (!SetupUsable(ClothConstraintsPerPanel(ClothW, ClothH))) return;
  const int32_t w = ClothW;
  for (int32_t r = 0; r < ClothH; ++r)
    for (int32_t c = 0; c < w; ++c) {
      ClothParticle& p = ClothPosA[r * w + c];
      p.x = (-ClothSize) / 2 + (float(c) * ClothSize) / float(w - 1);
      p.y = RowY(r);
      p.z = 1.0f;
    }
  ClothSetPins(fixation, ClothPosA);
  CopyPositions(ClothPosB, ClothPosA, ClothCount);
  ClothSetPins(fixation, ClothPosB);
  ClothCur = ClothPosA;
  ClothPrev = ClothPosB;

  const float h = ClothSize / float(w - 1);
  const float v = ClothSize / float(ClothH - 1);
  FillPanelConstraints(ClothConstraints, 0, h, v);
  ClothComputeNormals();
}

void ClothInitDouble(uint8_t fixation) {
  if (!ClothTwoPanels || !SetupUsable(2 * ClothConstraintsPerPanel(ClothW, ClothH))) return;
  const int32_t w = ClothW;
  const double columns = double(w - 1);
  // Each panel is half as wide as the one-panel cloth; the halving and the
  // division are done in double, the position rounded once.
  for (int32_t r = 0; r < ClothH; ++r)
    for (int32_t c = 0; c < w; ++c) {
      ClothParticle& p = ClothPosA[r * w + c];
      p.x = float(double((-ClothSize) / 2) + (double(float(c) * ClothSize) * 0.5) / columns);
      p.y = RowY(r);
      p.z = 1.0f;
    }
  ClothSetPins(fixation, ClothPosA);
  CopyPositions(ClothPosB, ClothPosA, ClothPanelCount);
  ClothSetPins(fixation, ClothPosB);
  ClothParticle* right = ClothPosA + ClothPanelCount;
  for (int32_t r = 0; r < ClothH; ++r)
    for (int32_t c = 0; c < w; ++c) {
      ClothParticle& p = right[r * w + c];
      p.x = float((double(float(c) * ClothSize) * 0.5) / columns);
      p.y = RowY(r);
      p.z = 1.5f;
    }
  ClothCur = ClothPosA;
  ClothPrev = ClothPosB;

  const float h = float((0.5 * double(ClothSize)) / columns);
  const float v = ClothSize / float(ClothH - 1);
  ClothConstraint* next = FillPanelConstraints(ClothConstraints, 0, h, v);
  FillPanelConstraints(next, ClothPanelOffset, h, v);
  ClothComputeAllNormals();
}

int32_t ClothResetAndPreroll(int32_t steps) {
  if (!ClothGridUsable() || ClothRest == nullptr || ClothPosA == nullptr ||
      ClothPosB == nullptr || ClothNormals == nullptr)
    return steps;
  const size_t bytes = size_t(ClothCount) * sizeof(ClothParticle);
  std::memcpy(ClothPosA, ClothRest, bytes);
  std::memcpy(ClothPosB, ClothRest, bytes);
  ClothCur = ClothPosA;
  ClothPrev = ClothPosB;
  ClothComputeAllNormals();
  for (int32_t i = 0; i < steps; ++i) ClothStep();
  return steps;
}
