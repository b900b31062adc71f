// The pixel converters and rectangle routines at both channel depths.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "host/pixel_convert.h"
#include "platform/page_memory.h"

namespace {

struct DepthGuard {
  explicit DepthGuard(unsigned char deep) { __SetDeep(deep); }
  ~DepthGuard() { __SetDeep(0); }
};

// A host world of w x h pixels with `pad` spare channel values a row, each
// pixel (A, R, G, B) = (x + 10y, 1, 2, 3) + 100, padding 0xEE.
template <typename T>
std::vector<T> HostImage(int w, int h, int pad) {
  const int stride = 4 * w + pad;
  std::vector<T> v(size_t(stride) * h, T(0xEE));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 4; ++c) v[size_t(y) * stride + 4 * x + c] = T(100 + x + 10 * y + c);
  return v;
}

TEST(PixelConvert, PaddedRowsArePackedWithoutPaddingAndPaddingIsNeverTouched) {
  const int w = 3, h = 2, pad = 5, stride = 4 * w + pad;
  std::vector<uint8_t> host = HostImage<uint8_t>(w, h, pad);
  unsigned char* packed = nullptr;
  ASSERT_TRUE(CopyPixelsARGBtoRGBA(&packed, host.data(), w, h, stride));
  // The allocation holds the host's full rows: its last value is writable
  // (the sanitizers see the bound).
  packed[size_t(h) * stride - 1] = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = packed + (size_t(y) * w + x) * 4;
      const uint8_t a = uint8_t(100 + x + 10 * y);
      EXPECT_EQ(p[0], a + 1);  // red
      EXPECT_EQ(p[1], a + 2);
      EXPECT_EQ(p[2], a + 3);
      EXPECT_EQ(p[3], a);  // alpha last
    }
  // Back into a host buffer whose padding holds 0x55: only pixels change.
  std::vector<uint8_t> back(host.size(), 0x55);
  void* out = back.data();
  ASSERT_TRUE(CopyPixelsRGBAtoARGB(&out, packed, w, h, stride));
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < stride; ++i) {
      const size_t k = size_t(y) * stride + i;
      EXPECT_EQ(back[k], i < 4 * w ? host[k] : 0x55) << "row " << y << " value " << i;
    }
  PageFree(packed);
}

TEST(PixelConvert, SixteenBitWordsCarry32768AndRoundTripExactly) {
  DepthGuard deep(1);
  const int w = 4, h = 3, pad = 4, stride = 4 * w + pad;  // stride in 16-bit values
  std::vector<uint16_t> host = HostImage<uint16_t>(w, h, pad);
  host[0] = 32768;      // alpha of (0, 0)
  host[stride + 2] = 32768;  // green of (0, 1)
  unsigned char* packed = nullptr;
  ASSERT_TRUE(CopyPixelsARGBtoRGBA(&packed, host.data(), w, h, stride));
  const uint16_t* p = reinterpret_cast<const uint16_t*>(packed);
  EXPECT_EQ(p[3], 32768);
  EXPECT_EQ(p[4 * w + 1], 32768);
  EXPECT_EQ(p[4 * 5], 100 + 1 + 10 + 1);  // pixel (1, 1) red
  std::vector<uint16_t> back(host.size(), 0x1234);
  void* out = back.data();
  ASSERT_TRUE(CopyPixelsRGBAtoARGB(&out, packed, w, h, stride));
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < 4 * w; ++i) EXPECT_EQ(back[size_t(y) * stride + i], host[size_t(y) * stride + i]);
  EXPECT_EQ(back[4 * w], 0x1234);  // padding untouched
  PageFree(packed);
}

TEST(PixelConvert, TextureTexelsAreTheHostChannelsReversed) {
  const uint8_t host[8] = {255, 10, 20, 30, 0, 1, 2, 3};
  unsigned char* texels = nullptr;
  ASSERT_TRUE(CopyPixelsARGBtoBGRA(&texels, host, 1, 2, 4));
  EXPECT_EQ(std::vector<uint8_t>(texels, texels + 8), (std::vector<uint8_t>{30, 20, 10, 255, 3, 2, 1, 0}));
  PageFree(texels);
}

// Every converter at both depths against the rule channel by channel, on
// random pixels, for widths around the vector width and strides that leave
// rows unaligned: packed channel k of a pixel is host channel order[k].
TEST(PixelConvert, EveryWidthAndStrideFollowsTheChannelRule) {
  struct Case {
    const char* name;
    int order[4];  // packed channel k comes from host channel order[k]
    bool toHost;   // the packed buffer is the source
  };
  const Case cases[] = {{"ARGBtoRGBA", {1, 2, 3, 0}, false},
                        {"ARGBtoBGRA", {3, 2, 1, 0}, false},
                        {"RGBAtoARGB", {1, 2, 3, 0}, true}};
  std::mt19937 random(18);
  for (unsigned char deep : {0, 1}) {
    DepthGuard guard(deep);
    const int bpc = deep ? 2 : 1;
    for (const Case& c : cases)
      for (int w : {1, 2, 3, 4, 5, 7, 8, 9, 17, 34})
        for (int pad : {0, 1, 6}) {
          const int h = 3, stride = 4 * w + pad;
          std::vector<uint8_t> host(size_t(stride) * h * bpc), packed(size_t(4) * w * h * bpc);
          for (uint8_t& b : host) b = uint8_t(random());
          for (uint8_t& b : packed) b = uint8_t(random());
          const std::vector<uint8_t> hostBefore = host, packedBefore = packed;
          unsigned char* out = packed.data();
          void* hostOut = host.data();
          if (c.toHost)
            ASSERT_TRUE(CopyPixelsRGBAtoARGB(&hostOut, packed.data(), w, h, stride));
          else if (c.order[0] == 1)
            ASSERT_TRUE(CopyPixelsARGBtoRGBA(&out, host.data(), w, h, stride));
          else
            ASSERT_TRUE(CopyPixelsARGBtoBGRA(&out, host.data(), w, h, stride));
          for (int y = 0; y < h; ++y)
            for (int i = 0; i < stride; ++i) {
              const int x = i / 4;
              for (int b = 0; b < bpc; ++b) {
                const size_t hk = (size_t(y) * stride + i) * bpc + b;
                if (x >= w) {  // row padding: never read, never written
                  EXPECT_EQ(host[hk], hostBefore[hk]) << c.name << " w " << w << " pad " << pad;
                  continue;
                }
                const int k = i % 4;
                const size_t pk = ((size_t(y) * w + x) * 4 + k) * bpc + b;
                const size_t from = (size_t(y) * stride + 4 * x + c.order[k]) * bpc + b;
                if (c.toHost)
                  ASSERT_EQ(host[from], packedBefore[pk]) << c.name << " w " << w << " pad " << pad << " x " << x;
                else
                  ASSERT_EQ(packed[pk], hostBefore[from]) << c.name << " w " << w << " pad " << pad << " x " << x;
              }
            }
        }
  }
}

TEST(PixelConvert, RefusedAllocationsAndUnusableShapesChangeNothing) {
  const uint8_t host[16] = {};
  unsigned char* packed = nullptr;
  PageFailAt(0);
  EXPECT_FALSE(CopyPixelsARGBtoRGBA(&packed, host, 2, 2, 8));
  EXPECT_EQ(packed, nullptr);
  PageFailAt(0);
  EXPECT_FALSE(CopyPixelsARGBtoBGRA(&packed, host, 2, 2, 8));
  PageFailAt(-1);
  EXPECT_EQ(packed, nullptr);
  EXPECT_FALSE(CopyPixelsARGBtoRGBA(&packed, host, 2, 2, 7));  // a row shorter than its pixels
  EXPECT_FALSE(CopyPixelsARGBtoRGBA(&packed, nullptr, 2, 2, 8));
  EXPECT_FALSE(CopyPixelsARGBtoBGRA(&packed, host, 0, 2, 8));
  EXPECT_EQ(packed, nullptr);
}

TEST(PixelConvert, ClearRectClearsOnlyTheInsideWithUpperBoundsExcluded) {
  for (unsigned char deep : {0, 1}) {
    DepthGuard guard(deep);
    const int w = 4, h = 3, stride = 4 * w, bpc = deep ? 2 : 1;
    std::vector<uint8_t> px(size_t(stride) * h * bpc, 0x77);
    ClearRect(px.data(), w, h, stride, 2, -5, 9, 2);  // x 2..3, y 0..1
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const bool cleared = x >= 2 && y < 2;
        for (int b = 0; b < 4 * bpc; ++b)
          EXPECT_EQ(px[(size_t(y) * stride + 4 * x) * bpc + b], cleared ? 0 : 0x77) << x << "," << y;
      }
  }
}

TEST(PixelConvert, CompositeRectOverBlendsCopiesAndSkips) {
  // dst is host order (A, R, G, B), src packed (R, G, B, A); 8 bits.
  const int w = 4, stride = 16;
  uint8_t dst[16] = {255, 100, 100, 100,   // opaque: blended
                     0, 9, 9, 9,           // empty: copied without blending
                     77, 1, 2, 3,          // source transparent: kept
                     128, 50, 50, 50};     // replaced by an opaque source
  const uint8_t src[16] = {200, 0, 100, 51, 200, 10, 20, 51, 5, 5, 5, 0, 7, 8, 9, 255};
  CompositeRectOver(dst, src, w, 1, stride, 0, 0, 4, 1);
  const float k = 51.0f / 255.0f;
  EXPECT_EQ(dst[0], 255);  // the larger alpha
  EXPECT_EQ(dst[1], uint8_t(200.0f * k + 100.0f * (1.0f - k)));
  EXPECT_EQ(dst[2], uint8_t(100.0f * (1.0f - k)));
  EXPECT_EQ(dst[3], uint8_t(100.0f * k + 100.0f * (1.0f - k)));
  EXPECT_EQ(std::vector<uint8_t>(dst + 4, dst + 16),
            (std::vector<uint8_t>{51, 200, 10, 20, 77, 1, 2, 3, 255, 7, 8, 9}));
}

TEST(PixelConvert, CompositeRectOverClipsToTheBuffer) {
  DepthGuard deep(1);
  std::vector<uint16_t> dst(8, 0), src(8, 0);
  src[3] = src[7] = 32768;
  src[0] = 1000;
  src[4] = 2000;
  CompositeRectOver(reinterpret_cast<unsigned char*>(dst.data()), reinterpret_cast<unsigned char*>(src.data()), 2, 1,
                    8, 1, -3, 40, 40);
  EXPECT_EQ(dst, (std::vector<uint16_t>{0, 0, 0, 0, 32768, 2000, 0, 0}));
}

}  // namespace
