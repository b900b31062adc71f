// The device-context wireframe preview (Windows only): drawn into a 400 x 400
// bitmap selected into a memory device context and read back pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "cloth/cloth.h"
#include "cloth/mesh_preview_gdi.h"
#include "tests/mesh/mesh_test_util.h"

namespace {

struct TargetDC {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  TargetDC() {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 500;
    bi.bmiHeader.biHeight = -500;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    old = SelectObject(dc, bitmap);
    ReleaseDC(nullptr, screen);
    RECT all = {0, 0, 500, 500};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &all, red);
    DeleteObject(red);
  }
  ~TargetDC() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
};

// W = H = 2: (r0,c0) at (-1,-1) -> pixel (100, 100), (r0,c1) at (1,-1) ->
// (200, 100), (r1,c0) at (-1, 1) -> (100, 200). The one cell draws from
// (100, 200) up to (100, 100) and on to (200, 100), black on white over
// the 400 x 400 square at (0, 0); outside it the target is untouched.
TEST(DrawClothPreviewGDI, DrawsTheCellLinesOnWhite) {
  std::vector<ClothParticle> p;
  BindTwoPanelGrid(p, 2, 2);
  const float xy[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  for (int i = 0; i < 4; ++i) {
    p[i].x = xy[i][0];
    p[i].y = xy[i][1];
    p[i].z = 123;  // ignored
  }
  TargetDC t;
  EXPECT_NE(DrawClothPreviewGDI(t.dc), 0);
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), red = RGB(255, 0, 0);
  EXPECT_EQ(GetPixel(t.dc, 100, 150), black);  // (r1,c0) -> (r0,c0)
  EXPECT_EQ(GetPixel(t.dc, 100, 101), black);
  EXPECT_EQ(GetPixel(t.dc, 150, 100), black);  // (r0,c0) -> (r0,c1)
  EXPECT_EQ(GetPixel(t.dc, 199, 100), black);
  EXPECT_EQ(GetPixel(t.dc, 150, 150), white);  // the cell's diagonal is not drawn
  EXPECT_EQ(GetPixel(t.dc, 200, 200), white);
  EXPECT_EQ(GetPixel(t.dc, 0, 0), white);
  EXPECT_EQ(GetPixel(t.dc, 399, 399), white);
  EXPECT_EQ(GetPixel(t.dc, 400, 10), red);
  EXPECT_EQ(GetPixel(t.dc, 10, 400), red);
}

// Non-finite and huge positions neither crash nor reach an undefined
// conversion; no positions at all draw the white square only.
TEST(DrawClothPreviewGDI, HostilePositionsAndNoCloth) {
  std::vector<ClothParticle> p;
  BindTwoPanelGrid(p, 3, 3);
  p[0].x = std::nanf("");
  p[1].y = 1e30f;
  p[3].x = -INFINITY;
  TargetDC t;
  EXPECT_NE(DrawClothPreviewGDI(t.dc), 0);
  ClothCur = nullptr;
  TargetDC u;
  EXPECT_NE(DrawClothPreviewGDI(u.dc), 0);
  EXPECT_EQ(GetPixel(u.dc, 150, 150), RGB(255, 255, 255));
}

}  // namespace
