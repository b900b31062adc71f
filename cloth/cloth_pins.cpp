// Pin patterns: which particles of a panel get weight 0.
//
// The tied patterns pin an edge at every d-th column (or e-th row) from 0 and
// always the far end of the edge too, whether or not the interval reaches it;
// the rod's hooks use the same column interval, so in the rod-driven plug-ins
// every hook is a pinned particle.
#include "cloth/cloth_internal.h"

static int32_t TieSpacing() {
  if (ClothBlindFrequency == 2) return 8;
  if (ClothBlindFrequency == 3) return 12;
  return 5;
}

int32_t ClothColumnInterval() {
  const int32_t d = (ClothW - 1) / TieSpacing();
  return d < 1 ? 1 : d;
}

int32_t ClothRowInterval() {
  const int32_t e = (ClothH - 1) / TieSpacing();
  return e < 1 ? 1 : e;
}

namespace {

struct Panel {
  ClothParticle* p;
  int32_t w, h;
  void Pin(int32_t r, int32_t c) const { p[int64_t(r) * w + c].w = 0.0f; }
  void PinColumnTied(int32_t c, int32_t e) const {
    for (int32_t r = 0; r < h; r += e) Pin(r, c);
  }
  void PinRowTied(int32_t r, int32_t d) const {
    for (int32_t c = 0; c < w; c += d) Pin(r, c);
  }
  void PinColumn(int32_t c) const { PinColumnTied(c, 1); }
  void PinRow(int32_t r) const { PinRowTied(r, 1); }
};

}  // namespace

void ClothSetPins(uint8_t fixation, ClothParticle* particles) {
  if (particles == nullptr || !ClothGridUsable()) return;
  const int32_t n = ClothTwoPanels ? ClothPanelCount : ClothCount;
  for (int32_t i = 0; i < n; ++i) particles[i].w = ClothWeight;

  const int32_t d = ClothColumnInterval();
  const int32_t e = ClothRowInterval();
  const int32_t top = ClothH - 1;
  const int32_t right = ClothW - 1;
  const Panel panel{particles, ClothW, ClothH};

  switch (fixation) {
    case ClothFixation::LeftCorners:
      panel.Pin(0, 0);
      panel.Pin(top, 0);
      break;
    case ClothFixation::TopCorners:
      panel.Pin(top, 0);
      panel.Pin(top, right);
      break;
    case ClothFixation::RightCorners:
      panel.Pin(0, right);
      panel.Pin(top, right);
      break;
    case ClothFixation::BottomCorners:
      panel.Pin(0, 0);
      panel.Pin(0, right);
      break;
    case ClothFixation::AllCorners:
      panel.Pin(0, 0);
      panel.Pin(top, 0);
      panel.Pin(top, right);
      panel.Pin(0, right);
      break;
    case ClothFixation::LeftTied:
      panel.PinColumnTied(0, e);
      panel.Pin(top, 0);
      break;
    case ClothFixation::TopTied:
      panel.PinRowTied(top, d);
      panel.Pin(top, right);
      break;
    case ClothFixation::RightTied:
      panel.PinColumnTied(right, e);
      panel.Pin(top, right);
      break;
    case ClothFixation::BottomTied:
      panel.PinRowTied(0, d);
      panel.Pin(0, right);
      break;
    case ClothFixation::AllTied:
      for (int32_t r = 0; r < ClothH; r += e) {
        panel.Pin(r, 0);
        panel.Pin(r, right);
      }
      for (int32_t c = 0; c < ClothW; c += d) {
        panel.Pin(0, c);
        panel.Pin(top, c);
      }
      panel.Pin(0, 0);
      panel.Pin(top, 0);
      panel.Pin(top, right);
      panel.Pin(0, right);
      break;
    case ClothFixation::LeftSolid:
      panel.PinColumn(0);
      break;
    case ClothFixation::TopSolid:
      panel.PinRow(top);
      break;
    case ClothFixation::RightSolid:
      panel.PinColumn(right);
      break;
    case ClothFixation::BottomSolid:
      panel.PinRow(0);
      break;
    case ClothFixation::AllSolid:
      for (int32_t r = 0; r < ClothH; ++r) {
        panel.Pin(r, 0);
        panel.Pin(r, right);
      }
      panel.PinRow(0);
      panel.PinRow(top);
      break;
    default:  // Free and every unknown code: nothing pinned
      break;
  }
}
