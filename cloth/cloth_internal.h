// Helpers shared by the cloth's sources (not part of its interface).
#pragma once
#include <cmath>
#include <cstdint>

#include "cloth/cloth.h"

// Largest particle count: float offsets (4 x index) must fit an int32.
constexpr int64_t CLOTH_MAX_PARTICLES = INT32_MAX / 4;

// Constraints of one panel of w x h particles: horizontal, vertical, diagonal.
inline int64_t ClothConstraintsPerPanel(int64_t w, int64_t h) {
  return (w - 1) * h + w * (h - 1) + (w - 1) * (h - 1);
}

// True when the grid globals describe a grid the routines can work on: at
// least 2 x 2, the counts matching W and H (and the panel globals matching
// with two panels), and every float offset within int32.
inline bool ClothGridUsable() {
  if (ClothW < 2 || ClothH < 2) return false;
  const int64_t panel = int64_t(ClothW) * ClothH;
  const int64_t count = ClothTwoPanels ? 2 * panel : panel;
  if (count > CLOTH_MAX_PARTICLES || ClothCount != count) return false;
  if (ClothTwoPanels && (ClothPanelCount != panel || ClothPanelOffset != 4 * panel)) return false;
  return true;
}

// Normals of the first (or only) panel and, with two panels, of the second:
// ClothCur and ClothNormals are advanced to the second panel for the call
// and moved back.
void ClothComputeAllNormals();

// Grid position for the repulsion's neighbourhood: row i div W, column
// i mod W, and with two panels the second panel's columns moved right by W.
// Rows keep counting past the first panel, so the second panel sits
// diagonally apart from the first on this virtual grid.
struct ClothGridPos {
  int32_t row, col;
};

inline ClothGridPos ClothRepelGridPos(int32_t i) {
  ClothGridPos g{i / ClothW, i % ClothW};
  if (ClothTwoPanels && i >= ClothPanelCount) g.col += ClothW;
  return g;
}

// The 9 x 9 block of grid positions centred on a particle (itself included)
// never repels it.
inline bool ClothRepelNeighbours(const ClothGridPos& a, const ClothGridPos& b) {
  return b.col >= a.col - 4 && b.col <= a.col + 4 && b.row >= a.row - 4 && b.row <= a.row + 4;
}

// Squared distance of two particles, as the repulsion compares it.
inline float ClothRepelDistance2(const ClothParticle& p, const ClothParticle& q) {
  const float dx = p.x - q.x;
  const float dy = p.y - q.y;
  const float dz = p.z - q.z;
  return dx * dx + dy * dy + dz * dz;
}

// Pushes p away from q, whose squared distance s is below d * d, to the
// distance d. Coincident particles (distance <= 0.0001) have no usable
// direction: the raw difference is used as it is, so p moves by at most
// d x 0.0001.
inline void ClothRepelPush(ClothParticle& p, const ClothParticle& q, float s, float d) {
  float dx = p.x - q.x;
  float dy = p.y - q.y;
  float dz = p.z - q.z;
  const float dist = std::sqrt(s);
  const float push = d - dist;
  if (double(dist) > 0.0001) {
    dx = dx / dist;
    dy = dy / dist;
    dz = dz / dist;
  }
  p.x = p.x + dx * push;
  p.y = p.y + dy * push;
  p.z = p.z + dz * push;
}
