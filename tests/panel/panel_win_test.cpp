// Under Wine, with the real pictures as resources of this test program:
// reading them into page memory, and drawing them onto a device context.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/page_memory.h"
#include "testhost/panel_pictures.h"
#include "tests/ui/gdi_count.h"
#include "ui/panel.h"

extern void* ModuleInstance;

namespace {
struct Picture {
  A_long id, width, height;
  const char* file;
};
const Picture Pictures[] = {
    {BITMAP_PANEL_BANNER, 360, 100, "banner_theatre.bmp"},
    {BITMAP_ABOUT_BUTTON, 54, 54, "about.bmp"},
    {BITMAP_ABOUT_BUTTON_HOVER, 54, 54, "about_hover.bmp"},
    {BITMAP_HELP_BUTTON, 73, 40, "help.bmp"},
    {BITMAP_HELP_BUTTON_HOVER, 73, 40, "help_hover.bmp"},
};

std::vector<uint8_t> FileRows(const Picture& p) {
  std::vector<uint8_t> rows(size_t(PanelDibStride(p.width)) * size_t(p.height));
  EXPECT_TRUE(ReadBmpPicture(std::string(VELARRA_PANEL_ART) + "/" + p.file, p.width, p.height,
                             PanelDibStride(p.width), rows.data()));
  return rows;
}

// Bitmaps and device contexts made by this program and not released, as
// the import-rerouting counter sees them (the platform's own count is 0
// under Wine).
class PanelWin : public ::testing::Test {
 protected:
  int64_t gdi = 0;
  void SetUp() override {
    ModuleInstance = GetModuleHandleA(nullptr);
    PageFailAt(-1);
    GdiCountInstall();
    gdi = GdiLiveObjects();
  }
  void TearDown() override {
    EXPECT_EQ(GdiLiveObjects(), gdi) << "bitmaps or device contexts left behind";
    EXPECT_EQ(GdiFailedReleases(), 0) << "a release of something not held";
  }
};

// The module's pictures come back byte for byte as the files hold them:
// bottom-up rows of blue, green, red, padded to whole words.
TEST_F(PanelWin, LoadBitmapBitsReadsEachPictureExactly) {
  const int64_t pages = PageLiveBlocks();
  const int64_t made = GdiObjectsMade();
  for (const Picture& p : Pictures) {
    SCOPED_TRACE(p.file);
    void* bits = nullptr;
    A_long stride = 0;
    ASSERT_TRUE(LoadBitmapBits(p.id, &bits, p.width, p.height, &stride));
    EXPECT_EQ(stride, PanelDibStride(p.width));
    std::vector<uint8_t> want = FileRows(p);
    for (A_long y = 0; y < p.height; ++y)  // the row padding is not looked at
      ASSERT_EQ(std::memcmp(static_cast<uint8_t*>(bits) + size_t(y) * stride,
                            &want[size_t(y) * stride], size_t(p.width) * 3),
                0)
          << "row " << y;
    PageFree(bits);
  }
  EXPECT_EQ(PageLiveBlocks(), pages);
  EXPECT_GE(GdiObjectsMade() - made, 5 * 3);  // bitmap, screen and memory context each
}

// Every failing path releases what it took: bitmap, contexts, buffer.
TEST_F(PanelWin, LoadBitmapBitsFailsCleanly) {
  const int64_t pages = PageLiveBlocks();
  void* bits = nullptr;
  A_long stride = 0;
  for (int round = 0; round < 20; ++round) {
    EXPECT_FALSE(LoadBitmapBits(9999, &bits, 54, 54, &stride));                // no such picture
    EXPECT_FALSE(LoadBitmapBits(BITMAP_HELP_BUTTON, &bits, 54, 54, &stride));  // another size
    EXPECT_FALSE(LoadBitmapBits(BITMAP_HELP_BUTTON, &bits, 0, 40, &stride));
    PageFailAt(0);
    EXPECT_FALSE(LoadBitmapBits(BITMAP_HELP_BUTTON, &bits, 73, 40, &stride));  // no memory
    EXPECT_EQ(bits, nullptr);
  }
  ModuleInstance = nullptr;  // a module without the pictures (the system's own)
  EXPECT_FALSE(LoadBitmapBits(BITMAP_HELP_BUTTON, &bits, 73, 40, &stride));
  EXPECT_EQ(PageLiveBlocks(), pages);
}

// A 32-bit top-down DIB section as the target, filled with a colour the
// pictures do not contain.
struct Canvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  uint32_t* pixels = nullptr;
  int width, height;
  Canvas(int w, int h) : width(w), height(h) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixels = static_cast<uint32_t*>(bits);
    previous = SelectObject(dc, bitmap);
    for (int i = 0; i < w * h; ++i) pixels[i] = 0xFF00FF;
  }
  ~Canvas() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  uint32_t At(int x, int y) {
    GdiFlush();
    return pixels[y * width + x] & 0xFFFFFF;
  }
};

// 0xRRGGBB of a file picture's pixel (x, y), counted from the top.
uint32_t FilePixel(const std::vector<uint8_t>& rows, const Picture& p, int x, int y) {
  const uint8_t* px = &rows[size_t(p.height - 1 - y) * PanelDibStride(p.width) + 3 * x];
  return uint32_t(px[2]) << 16 | uint32_t(px[1]) << 8 | px[0];
}

TEST_F(PanelWin, BlitKeyedBitmapLeavesTheKeyColourOut) {
  const Picture& p = Pictures[1];  // About, 54 x 54
  const std::vector<uint8_t> rows = FileRows(p);
  const uint32_t key = FilePixel(rows, p, 0, 0);
  {
    Canvas c(120, 80);
    BlitKeyedBitmap(c.dc, 7, 5, p.width, p.height, p.id, 1);
    int kept = 0;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        const uint32_t want = FilePixel(rows, p, x, y);
        if (want == key) {
          ++kept;
          ASSERT_EQ(c.At(5 + x, 7 + y), 0xFF00FFu) << x << ", " << y;
        } else {
          ASSERT_EQ(c.At(5 + x, 7 + y), want) << x << ", " << y;
        }
      }
    EXPECT_GT(kept, 0);
    EXPECT_EQ(c.At(4, 7), 0xFF00FFu);
    EXPECT_EQ(c.At(5 + p.width, 7), 0xFF00FFu);

    // unkeyed: the block as it is, key colour included
    Canvas d(120, 80);
    BlitKeyedBitmap(d.dc, 7, 5, p.width, p.height, p.id, 0);
    EXPECT_EQ(d.At(5, 7), key);
    EXPECT_EQ(d.At(5 + 30, 7 + 20), FilePixel(rows, p, 30, 20));
    EXPECT_EQ(d.At(4, 7), 0xFF00FFu);

    // the pair: the second picture unkeyed, 20 pixels after the first
    const Picture& q = Pictures[3];  // help, 73 x 40
    const std::vector<uint8_t> qrows = FileRows(q);
    Canvas e(200, 80);
    BlitKeyedBitmapPair(e.dc, 2, 3, p.width, p.height, p.id, q.width, q.height, q.id);
    EXPECT_EQ(e.At(3, 2), 0xFF00FFu);  // keyed corner
    EXPECT_EQ(e.At(3 + 27, 2 + 27), FilePixel(rows, p, 27, 27));
    EXPECT_EQ(e.At(3 + 54 + 20, 2), FilePixel(qrows, q, 0, 0));
    EXPECT_EQ(e.At(3 + 54 + 20 + 72, 2 + 39), FilePixel(qrows, q, 72, 39));
    EXPECT_EQ(e.At(3 + 54 + 19, 2), 0xFF00FFu);

    BlitKeyedBitmap(e.dc, 0, 0, 10, 10, 9999, 1);  // a missing picture draws nothing
    EXPECT_EQ(e.At(0, 0), 0xFF00FFu);
  }
}
}  // namespace
