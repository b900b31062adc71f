// The background value of one glass sample (see glass_internal.h).
#include <cmath>

#include "renderer/shading/glass_internal.h"

namespace {

float SourceChannel(const unsigned char* src, int64_t i) {
  return src != nullptr ? float(GetChannel(src, i)) : 0.0f;
}

}  // namespace

float GlassSource(int c, int x, int y, float z, const unsigned char* src) {
  const int64_t i = ChannelIndex(x, y, c);
  if (_DrawBackFaces == 0 || _DrawBackFaces1) {
    if (_UseMultyRefract == 0) return SourceChannel(src, i);
    float& recorded = ZBuff2[int64_t(y) * Zwidth + x];
    const float zb = recorded;
    if (std::fabs(zb - z) < GLASS_SAME_SURFACE) return float(GetChannel(_BackImage, i));
    int value;
    if (GetChannel(_DestImage, ChannelIndex(x, y, 3)) != MaxChannel || zb <= GLASS_EMPTY_DEPTH) {
      value = GetChannel(_BackImage, i);
    } else {
      // An opaque surface drawn here, away from the recorded glass: later
      // glass sees it too.
      value = GetChannel(_DestImage, i);
      SetChannel(_BackImage, i, value);
    }
    if (c == 2) recorded = z;
    return float(value);
  }
  // Front pass after a back-face pass: the background layer holds the frame
  // with the back faces drawn.
  if (GetChannel(_BackImage, ChannelIndex(x, y, 3)) == 0) return SourceChannel(src, i);
  const float w = float(GetChannel(_DestImage, ChannelIndex(x, y, 3))) / float(MaxChannel);
  return w * float(GetChannel(_BackImage, i)) + (1.0f - w) * SourceChannel(src, i);
}
