// Edge compositing of _EdgeLayer into the frame, at 8 and 16 bits.
#include <memory>

#include "tests/renderer/renderer_test_support.h"

namespace {

class Compositor : public RendererTest {
 protected:
  void Begin(bool deep) {
    UseFrame(4, 3, deep);
    edge = std::make_unique<Frame>(4, 3, deep);
    frag = std::make_unique<Frame>(4, 3, deep);
    under = std::make_unique<Frame>(4, 3, deep);
    dst = std::make_unique<Frame>(4, 3, deep);
    _EdgeLayer = edge->data();
    _FragLayer = frag->data();
    _UnderLayer = under->data();
  }
  // One triangle's fragment at pixel (1, 1), composited alone.
  void Fragment(int r, int g, int b, int a) {
    ClearLayerRect(0, 0, 4, 3);
    edge->SetPixel(1, 1, r, g, b, a);
    CompositeLayerRect(dst->data(), 0, 0, 4, 3);
  }
  std::vector<int> D() {
    return {dst->Get(1, 1, 0), dst->Get(1, 1, 1), dst->Get(1, 1, 2), dst->Get(1, 1, 3)};
  }
  std::unique_ptr<Frame> edge, frag, under, dst;
};

using Px = std::vector<int>;

TEST_F(Compositor, EmptyLayerPixelLeavesTheFrame) {
  Begin(false);
  dst->SetPixel(1, 1, 5, 6, 7, 8);
  Fragment(200, 200, 200, 0);
  EXPECT_EQ(D(), (Px{5, 6, 7, 8}));
}

TEST_F(Compositor, FullCoverageReplacesAndIsRecorded) {
  Begin(false);
  dst->SetPixel(1, 1, 5, 6, 7, 8);
  Fragment(200, 100, 40, 255);
  EXPECT_EQ(D(), (Px{200, 100, 40, 255}));
  EXPECT_EQ(under->Get(1, 1, 0), 200);
  EXPECT_EQ(frag->Get(1, 1, 2), 40);
  EXPECT_EQ(frag->Get(1, 1, 3), 0);  // the coverage record is left as it was
}

TEST_F(Compositor, PartialOverAnEmptyFramePixelIsStoredUnblended) {
  Begin(false);
  Fragment(200, 100, 40, 90);
  EXPECT_EQ(D(), (Px{200, 100, 40, 90}));
  EXPECT_EQ(frag->Get(1, 1, 3), 0);  // nothing recorded
}

TEST_F(Compositor, SameSurfaceBlendsOverTheRecordedBackground8) {
  Begin(false);
  dst->SetPixel(1, 1, 0, 0, 0, 255);
  // t = 127 / 255 = 0.498039...
  Fragment(200, 100, 40, 127);
  EXPECT_EQ(D(), (Px{99, 49, 19, 255}));
  // Within 19 levels: the same surface, blended over the recorded black, not
  // over the first result (which would give 154 in red).
  Fragment(219, 100, 40, 127);
  EXPECT_EQ(D(), (Px{109, 49, 19, 255}));
  // The greater coverage of the two is used.
  Fragment(200, 100, 40, 200);
  EXPECT_EQ(D(), (Px{156, 78, 31, 255}));
  EXPECT_EQ(frag->Get(1, 1, 3), 200);
  Fragment(200, 100, 40, 100);  // lower coverage: still 200
  EXPECT_EQ(D(), (Px{156, 78, 31, 255}));
}

TEST_F(Compositor, OtherSurfaceBlendsOverThePixelAndIsRecorded8) {
  Begin(false);
  dst->SetPixel(1, 1, 0, 0, 0, 255);
  Fragment(200, 100, 40, 127);  // (99, 49, 19)
  Fragment(200, 120, 40, 127);  // green differs by 20: another surface
  // 0.498 x 200 + 0.502 x 99 = 149.3; 0.498 x 120 + 0.502 x 49 = 84.36; 29.45
  EXPECT_EQ(D(), (Px{149, 84, 29, 255}));
  EXPECT_EQ(under->Get(1, 1, 0), 99);
  EXPECT_EQ(frag->Get(1, 1, 1), 120);
}

TEST_F(Compositor, SameSurfaceLimitIs5120At16Bits) {
  Begin(true);
  dst->SetPixel(1, 1, 0, 0, 0, 32768);
  Fragment(25600, 12800, 5120, 16384);  // t = 0.5
  EXPECT_EQ(D(), (Px{12800, 6400, 2560, 32768}));
  Fragment(25600 + 5119, 12800, 5120, 16384);  // same surface: over black
  EXPECT_EQ(D(), (Px{15359, 6400, 2560, 32768}));
  Fragment(25600 + 5119 + 5120, 12800, 5120, 16384);  // 5120 away: another
  // 0.5 x 35839 + 0.5 x 15359 = 25599
  EXPECT_EQ(D(), (Px{25599, 9600, 3840, 32768}));
}

TEST_F(Compositor, PartialOverAHalfCoveredPixelTakesTheGreaterAlpha) {
  Begin(false);
  dst->SetPixel(1, 1, 100, 100, 100, 60);
  Fragment(200, 200, 200, 51);  // t = 0.2
  EXPECT_EQ(D(), (Px{120, 120, 120, 60}));
}

TEST_F(Compositor, RectanglesAreClippedToTheFrame) {
  Begin(false);
  for (auto& b : edge->bytes) b = 0xFF;
  ClearLayerRect(-5, 1, 2, 99);  // x 0..1, y 1..2
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      for (int c = 0; c < 4; ++c)
        ASSERT_EQ(edge->Get(x, y, c), (x < 2 && y >= 1) ? 0 : 255) << x << "," << y;
  // Composite only inside the rectangle: pixel (3, 0) is opaque in the
  // layer but outside [0, 2) x [1, 3).
  CompositeLayerRect(dst->data(), -5, 1, 2, 99);
  EXPECT_EQ(dst->Get(3, 0, 3), 0);
  CompositeLayerRect(dst->data(), 3, 0, 4, 1);
  EXPECT_EQ(dst->Get(3, 0, 3), 255);
}

TEST_F(Compositor, OutsideACallTheLayersAreNotTouched) {
  UseFrame(4, 3, false);
  Frame f(4, 3, false);
  ClearLayerRect(0, 0, 4, 3);  // no layers: nothing, no crash
  CompositeLayerRect(f.data(), 0, 0, 4, 3);
  SUCCEED();
}

}  // namespace
