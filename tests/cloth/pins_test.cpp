// Pin patterns: the particle set of every fixation code and the tie
// intervals of every blind frequency.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "tests/cloth/cloth_rig.h"

namespace {

using Cells = std::set<std::pair<int, int>>;  // (row, column)

Cells Pinned(const ClothParticle* p) {
  Cells out;
  for (int r = 0; r < ClothH; ++r)
    for (int c = 0; c < ClothW; ++c) {
      const float w = p[r * ClothW + c].w;
      if (w == 0.0f)
        out.insert({r, c});
      else
        EXPECT_EQ(w, ClothWeight) << r << "," << c;
    }
  return out;
}

Cells PinnedBy(uint8_t fixation) {
  std::vector<ClothParticle> panel(size_t(ClothCount), ClothParticle{0, 0, 0, 0});
  ClothSetPins(fixation, panel.data());
  return Pinned(panel.data());
}

Cells Column(int c, std::initializer_list<int> rows) {
  Cells out;
  for (int r : rows) out.insert({r, c});
  return out;
}

Cells Row(int r, std::initializer_list<int> cols) {
  Cells out;
  for (int c : cols) out.insert({r, c});
  return out;
}

Cells Union(std::initializer_list<Cells> parts) {
  Cells out;
  for (const Cells& p : parts) out.insert(p.begin(), p.end());
  return out;
}

TEST(ClothPins, CornersAndSolidEdges) {
  ClothRig rig(4, 3, false);  // rows 0..2, columns 0..3
  EXPECT_EQ(PinnedBy(ClothFixation::Free), Cells{});
  EXPECT_EQ(PinnedBy(0), Cells{});
  EXPECT_EQ(PinnedBy(17), Cells{});
  EXPECT_EQ(PinnedBy(255), Cells{});
  EXPECT_EQ(PinnedBy(ClothFixation::LeftCorners), (Cells{{0, 0}, {2, 0}}));
  EXPECT_EQ(PinnedBy(ClothFixation::TopCorners), (Cells{{2, 0}, {2, 3}}));
  EXPECT_EQ(PinnedBy(ClothFixation::RightCorners), (Cells{{0, 3}, {2, 3}}));
  EXPECT_EQ(PinnedBy(ClothFixation::BottomCorners), (Cells{{0, 0}, {0, 3}}));
  EXPECT_EQ(PinnedBy(ClothFixation::AllCorners), (Cells{{0, 0}, {2, 0}, {2, 3}, {0, 3}}));
  EXPECT_EQ(PinnedBy(ClothFixation::LeftSolid), Column(0, {0, 1, 2}));
  EXPECT_EQ(PinnedBy(ClothFixation::TopSolid), Row(2, {0, 1, 2, 3}));
  EXPECT_EQ(PinnedBy(ClothFixation::RightSolid), Column(3, {0, 1, 2}));
  EXPECT_EQ(PinnedBy(ClothFixation::BottomSolid), Row(0, {0, 1, 2, 3}));
  const Cells border = Union({Column(0, {0, 1, 2}), Column(3, {0, 1, 2}), Row(0, {0, 1, 2, 3}),
                              Row(2, {0, 1, 2, 3})});
  EXPECT_EQ(PinnedBy(ClothFixation::AllSolid), border);
  // Intervals of 1 (W-1 and H-1 below 5): tied edges are solid edges.
  EXPECT_EQ(PinnedBy(ClothFixation::LeftTied), PinnedBy(ClothFixation::LeftSolid));
  EXPECT_EQ(PinnedBy(ClothFixation::TopTied), PinnedBy(ClothFixation::TopSolid));
  EXPECT_EQ(PinnedBy(ClothFixation::AllTied), border);
}

TEST(ClothPins, TiedEdgesIncludeTheirFarEnd) {
  ClothRig rig(12, 12, false);  // d = e = 11 / 5 = 2: the interval misses 11
  const Cells left = Column(0, {0, 2, 4, 6, 8, 10, 11});
  const Cells right = Column(11, {0, 2, 4, 6, 8, 10, 11});
  const Cells top = Row(11, {0, 2, 4, 6, 8, 10, 11});
  const Cells bottom = Row(0, {0, 2, 4, 6, 8, 10, 11});
  EXPECT_EQ(PinnedBy(ClothFixation::LeftTied), left);
  EXPECT_EQ(PinnedBy(ClothFixation::RightTied), right);
  EXPECT_EQ(PinnedBy(ClothFixation::TopTied), top);
  EXPECT_EQ(PinnedBy(ClothFixation::BottomTied), bottom);
  EXPECT_EQ(PinnedBy(ClothFixation::AllTied), Union({left, right, top, bottom}));
}

TEST(ClothPins, IntervalsFollowTheBlindFrequency) {
  ClothRig rig(40, 2, false);
  ClothBlindFrequency = 1;  // k = 5: d = 39 / 5 = 7
  EXPECT_EQ(ClothColumnInterval(), 7);
  EXPECT_EQ(PinnedBy(ClothFixation::TopTied), Row(1, {0, 7, 14, 21, 28, 35, 39}));
  ClothBlindFrequency = 2;  // k = 8: d = 4
  EXPECT_EQ(PinnedBy(ClothFixation::TopTied), Row(1, {0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 39}));
  ClothBlindFrequency = 3;  // k = 12: d = 3, which reaches 39 itself
  EXPECT_EQ(PinnedBy(ClothFixation::TopTied),
            Row(1, {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 33, 36, 39}));
  ClothBlindFrequency = 0;  // anything else: k = 5
  EXPECT_EQ(ClothColumnInterval(), 7);
  EXPECT_EQ(ClothRowInterval(), 1);  // (2 - 1) / 5 = 0, raised to 1

  ClothRig wide(41, 2, false);
  EXPECT_EQ(ClothColumnInterval(), 8);
  EXPECT_EQ(PinnedBy(ClothFixation::TopTied), Row(1, {0, 8, 16, 24, 32, 40}));

  ClothRig narrow(5, 2, false);  // 4 / 5 = 0, raised to 1
  EXPECT_EQ(PinnedBy(ClothFixation::TopTied), Row(1, {0, 1, 2, 3, 4}));
}

TEST(ClothPins, TwoPanelCallsTouchOnePanel) {
  ClothRig rig(3, 2, true);
  std::vector<ClothParticle> both(12, ClothParticle{1, 2, 3, -7.0f});
  ClothWeight = -0.5f;  // negative weights are passed through
  ClothSetPins(ClothFixation::TopCorners, both.data() + ClothPanelCount);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(both[i].w, -7.0f);
  EXPECT_EQ(Pinned(both.data() + 6), (Cells{{1, 0}, {1, 2}}));
  for (const ClothParticle& p : both) {
    EXPECT_EQ(p.x, 1.0f);  // positions untouched
    EXPECT_EQ(p.z, 3.0f);
  }
  ClothSetPins(ClothFixation::TopCorners, nullptr);  // ignored
}

}  // namespace
