// Device-context pixel writers: the darker-wins colour blend and the
// anti-aliased edge pixels (coverage from the distance to an edge's line or
// to the nearer end of the segment).
#include <cmath>

#include "renderer/raster/dc_draw.h"
#include "renderer/raster/dc_internal.h"

using dc_detail::Clamp01;
using dc_detail::TruncPixel;

namespace {

// Coverage in (0, 1] as the blend's d: 255 - 255 coverage, truncated.
int CoverageToD(float coverage) { return static_cast<int>(255.0f - 255.0f * coverage); }

// One channel of the blend: the faded value when it is darker than the old
// one. A NaN colour is never darker; a negative one stops at 0 so it cannot
// borrow from the neighbouring channel of the packed colour.
uint32_t DarkerChannel(float faded, uint32_t old) {
  if (!(faded < float(old))) return old;
  if (!(faded > 0.0f)) return 0;
  return static_cast<uint32_t>(faded);
}

// The foot of the perpendicular lies within the segment's bounding box,
// both bounds included on both axes.
bool FootInBox(float fx, float fy, float x0, float y0, float x1, float y1) {
  float xmin = x0 < x1 ? x0 : x1, xmax = x0 < x1 ? x1 : x0;
  float ymin = y0 < y1 ? y0 : y1, ymax = y0 < y1 ? y1 : y0;
  return fx >= xmin && fx <= xmax && fy >= ymin && fy <= ymax;
}

// Euclidean distance from (px, py) to the end point nearer the foot, by
// the L1 distance from the foot; a tie takes (x1, y1).
float EndDistance(float px, float py, float fx, float fy, float x0, float y0, float x1, float y1) {
  bool first = std::fabs(fx - x1) + std::fabs(fy - y1) > std::fabs(fx - x0) + std::fabs(fy - y0);
  float ex = first ? x0 : x1, ey = first ? y0 : y1;
  return std::sqrt((px - ex) * (px - ex) + (py - ey) * (py - ey));
}

}  // namespace

void dc_detail::DepthWriteDC(float z, int zIndex) {
  if (ZBuff == nullptr || zIndex < 0) return;
  if (int64_t(zIndex) >= int64_t(Zwidth) * int64_t(Zheight)) return;
  ZBuff[zIndex] = z;
}

void BlendPixelDC(float r, float g, float b, const DCSurface& dc, int x, int y, int d) {
  if (!DCInside(dc, x, y)) return;
  float e = 1.0f - float(d) / 255.0f;  // coverage
  float f = (1.0f - e) * 255.0f;       // the share of white
  uint32_t old = dc.getPixel(dc.context, x, y);
  uint32_t nr = DarkerChannel(r * e + f, DCRed(old));
  uint32_t ng = DarkerChannel(g * e + f, DCGreen(old));
  uint32_t nb = DarkerChannel(b * e + f, DCBlue(old));
  dc.setPixel(dc.context, x, y, DCColour(nr, ng, nb));
}

void AAEdgeDistPixelDC(const DCSurface& dc, float A, float B, float C, float length, float px,
                       float py, float width) {
  float coverage = Clamp01(width - std::fabs(A * px + B * py + C) / length);
  if (coverage == 0.0f) return;
  BlendPixelDC(255.0f, 255.0f, 255.0f, dc, TruncPixel(px), TruncPixel(py), CoverageToD(coverage));
}

void AAEdgePixelDC(const DCSurface& dc, float A, float B, float C, float lengthSquared,
                   float length, float px, float py, float width, float x0, float y0, float x1,
                   float y1) {
  // With lengthSquared 0 the foot is NaN, fails the box test, and the pixel
  // is covered by its distance to (x1, y1): a point, drawn as one.
  float s = (A * px + B * py + C) / lengthSquared;
  float fx = px - A * s, fy = py - B * s;
  if (FootInBox(fx, fy, x0, y0, x1, y1)) {
    AAEdgeDistPixelDC(dc, A, B, C, length, px, py, width);
    return;
  }
  float coverage = Clamp01(width - EndDistance(px, py, fx, fy, x0, y0, x1, y1));
  if (coverage == 0.0f) return;
  BlendPixelDC(255.0f, 255.0f, 255.0f, dc, TruncPixel(px), TruncPixel(py), CoverageToD(coverage));
}

void AAEdgePixelDC2(const DCSurface& dc, float A, float B, float C, float lengthSquared,
                    float length, float px, float py, float width, float x0, float y0, float x1,
                    float y1) {
  AAEdgePixelDC(dc, A, B, C, lengthSquared, length, px, py, width, x0, y0, x1, y1);
}

void AAEdgeDepthPixelDC(float scale, float /*unused*/, float z, int zIndex, float r, float g,
                        float b, const DCSurface& dc, float A, float B, float C, float length,
                        float px, float py, float width) {
  float coverage = Clamp01((width - std::fabs(A * px + B * py + C) / length) * scale);
  if (coverage != 0.0f)
    BlendPixelDC(r, g, b, dc, TruncPixel(px), TruncPixel(py), CoverageToD(coverage));
  dc_detail::DepthWriteDC(z, zIndex);
}

void AAEdgePixelDCZ(float scale, float unused, float z, int zIndex, float r, float g, float b,
                    const DCSurface& dc, float A, float B, float C, float lengthSquared,
                    float length, float px, float py, float width, float x0, float y0, float x1,
                    float y1) {
  if (std::fabs(lengthSquared) <= 0.01f) {  // too short to have a direction
    dc_detail::DepthWriteDC(z, zIndex);
    return;
  }
  float s = (A * px + B * py + C) / lengthSquared;
  float ox = A * s, oy = B * s;
  if (A == 0.0f || B == 0.0f) {
    // Rounding noise off an axis-aligned edge would push the foot of a
    // pixel right on the edge's line out of its zero-width bounding box.
    if (std::fabs(ox) < 1e-4f) ox = 0.0f;
    if (std::fabs(oy) < 1e-4f) oy = 0.0f;
  }
  float fx = px - ox, fy = py - oy;
  if (FootInBox(fx, fy, x0, y0, x1, y1)) {
    AAEdgeDepthPixelDC(scale, unused, z, zIndex, r, g, b, dc, A, B, C, length, px, py, width);
    return;
  }
  float coverage = Clamp01((width - EndDistance(px, py, fx, fy, x0, y0, x1, y1)) * scale);
  if (coverage != 0.0f)
    BlendPixelDC(r, g, b, dc, TruncPixel(px), TruncPixel(py), CoverageToD(coverage));
  dc_detail::DepthWriteDC(z, zIndex);
}
