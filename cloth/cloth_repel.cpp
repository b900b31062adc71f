// Repulsion between particles that are far apart on the grid but close in
// space: the plain all-pairs scan, the reference for the cell-table sweep.
#include "cloth/cloth_internal.h"

float ClothRepelDistance() {
  const float dx = ClothSize / float(ClothW - 1);
  const float dy = ClothSize / float(ClothH - 1);
  const float widest = dy > dx ? dy : dx;
  const float spread = float(double(widest) * 1.5);
  // On an elongated grid 1.5 x the wider spacing exceeds the 5 x the
  // narrower spacing at which the nearest particles outside the 9 x 9 block
  // lie, so a flat cloth at rest would push itself apart. The bound 4.5 x the
  // narrower real spacing (columns are half as far apart with two panels)
  // keeps it below that and leaves square grids unchanged.
  const float columns = ClothTwoPanels ? dx * 0.5f : dx;
  const float narrowest = columns < dy ? columns : dy;
  const float bound = float(double(narrowest) * 4.5);
  return spread < bound ? spread : bound;
}

void ClothRepel(int32_t i) {
  if (ClothCur == nullptr || !ClothGridUsable() || i < 0 || i >= ClothCount) return;
  if (ClothCur[i].w == 0.0f) return;  // pinned particles stay; free ones are pushed off them
  const float d = ClothRepelDistance();
  const float dd = d * d;
  const ClothGridPos gi = ClothRepelGridPos(i);
  // i lies in its own block, so no j reads it: it is moved in a local copy
  // and stored once at the end.
  ClothParticle p = ClothCur[i];
  // The 9 x 9 block is, row by row, a run of consecutive indices; j walks
  // the indices in ascending order and jumps over each run, so the inner
  // loop is the distance test alone.
  const int32_t w = ClothW;
  const int32_t rows = ClothCount / w;
  const ClothParticle* q = ClothCur;
  int32_t j = 0;
  auto scanTo = [&](int32_t end) {
    for (; j < end; ++j) {
      const float s = ClothRepelDistance2(p, q[j]);
      if (s < dd) ClothRepelPush(p, q[j], s, d);
    }
  };
  for (int32_t r = gi.row - 4; r <= gi.row + 4; ++r) {
    if (r < 0 || r >= rows) continue;
    const int32_t shift = (ClothTwoPanels && r * w >= ClothPanelCount) ? w : 0;
    const int32_t lo = gi.col - 4 - shift < 0 ? 0 : gi.col - 4 - shift;
    const int32_t hi = gi.col + 4 - shift > w - 1 ? w - 1 : gi.col + 4 - shift;
    if (lo > hi) continue;
    scanTo(r * w + lo);
    j = r * w + hi + 1;
  }
  scanTo(ClothCount);
  ClothCur[i] = p;
}
