// Conversion of packed buffers and textures between 8 and 16 bits a channel.
//
// 16-bit channels run 0..32768. 8 -> 16: (v * 32768 + 128) / 255, so 255
// gives 32768 and 1 gives 129; 16 -> 8: (v * 255 + 16384) >> 15, so 32768
// gives 255 and 16448 gives 128. A value taken from 8 bits to 16 and back is
// unchanged. Values above 32768 (not valid channels) give 255 rather than
// wrapping to a dark value.
//
// The converters replace *pixels by a new page buffer and release the old one
// (page memory). When the new buffer cannot be had, or the buffer has no
// channels, *pixels is left as it is.
#include <cstring>

#include "platform/page_memory.h"
#include "renderer/raster/raster_internal.h"

namespace {

// Channel values of a buffer of `height` rows of `stride` values; 0 when
// either is not positive.
uint64_t ChannelCount(int height, int stride) {
  if (height <= 0 || stride <= 0) return 0;
  return uint64_t(height) * uint64_t(stride);
}

}  // namespace

void __ConvertBYTE16TO8(unsigned char** pixels, int /*width*/, int height, int stride) {
  const uint64_t n = ChannelCount(height, stride);
  if (n == 0 || *pixels == nullptr) return;
  unsigned char* out = static_cast<unsigned char*>(PageAlloc(n));
  if (out == nullptr) return;
  const unsigned char* in = *pixels;
  for (uint64_t i = 0; i < n; ++i) {
    uint16_t v;
    std::memcpy(&v, in + 2 * i, sizeof v);
    const uint32_t b = (uint32_t(v) * 255u + 16384u) >> 15;
    out[i] = static_cast<unsigned char>(b > 255u ? 255u : b);
  }
  PageFree(*pixels);
  *pixels = out;
}

void __ConvertBYTE8TO16(unsigned char** pixels, int /*width*/, int height, int stride) {
  const uint64_t n = ChannelCount(height, stride);
  if (n == 0 || *pixels == nullptr) return;
  unsigned char* out = static_cast<unsigned char*>(PageAlloc(2 * n));
  if (out == nullptr) return;
  const unsigned char* in = *pixels;
  for (uint64_t i = 0; i < n; ++i) {
    const uint16_t v = static_cast<uint16_t>((uint32_t(in[i]) * 32768u + 128u) / 255u);
    std::memcpy(out + 2 * i, &v, sizeof v);
  }
  PageFree(*pixels);
  *pixels = out;
}

// The deep byte follows the pixels: it changes only when they were converted.
void __ConvertText(__Texture* texture) {
  if (texture == nullptr || texture->enabled == 0) return;
  if (texture->width <= 0 || texture->width > INT32_MAX / 4) return;  // no valid row length
  unsigned char* const before = texture->pixels;
  if (_Deep && !texture->deep) {
    __ConvertBYTE8TO16(&texture->pixels, texture->width, texture->height, 4 * texture->width);
    if (texture->pixels != before) texture->deep = 1;
  } else if (!_Deep && texture->deep) {
    __ConvertBYTE16TO8(&texture->pixels, texture->width, texture->height, 4 * texture->width);
    if (texture->pixels != before) texture->deep = 0;
  }
}
