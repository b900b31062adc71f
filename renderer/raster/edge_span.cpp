// The right end of a span: the edge the scan line crosses after the walked
// one, its crossing, its line and how far it moves outward per scan line.
#include <cmath>

#include "renderer/raster/rasterize.h"

namespace {

// Crossing of the edge a -> b with scan line y; a nearly horizontal edge
// (less than a pixel high) gives its greater x.
inline float Crossing(float xa, float ya, float xb, float yb, float y) {
  if (std::fabs(yb - ya) >= 1.0f) return xa + (y - ya) * (xb - xa) / (yb - ya);
  return xa > xb ? xa : xb;
}

inline float Max3(float v) { return v > 3.0f ? v : 3.0f; }

}  // namespace

float EdgeSpanAt3ds(int count, int start, __Point3ds* vertices, EdgeRecord* edges, float y,
                    float& A, float& B, float& C, float& lengthSquared, float& length, float& xa,
                    float& ya, float& xb, float& yb, float& extent) {
  // A record contains y when y lies in its truncated y range (the lower end
  // excluded for a falling record).
  int j = start;
  for (; j < count - 1; ++j) {
    const float ta = float(TruncToInt(vertices[edges[j].start].y));
    const float tb = float(TruncToInt(vertices[edges[j].end].y));
    if ((ta <= y && y <= tb) || (tb <= y && y < ta)) break;
  }
  const __Point3ds& a = vertices[edges[j].start];
  const __Point3ds& b = vertices[edges[j].end];
  xa = a.x;
  ya = a.y;
  xb = b.x;
  yb = b.y;
  const float x = Crossing(xa, ya, xb, yb, y);
  LineCoefficients(xa, ya, xb, yb, A, B, C);
  lengthSquared = A * A + B * B;
  length = std::sqrt(lengthSquared);

  // Outward neighbour line: towards the edge's lower end when that end lies
  // to the left, else the other way.
  const bool aHigh = ya >= yb;
  const float hiX = aHigh ? xa : xb, loX = aHigh ? xb : xa;
  const float y2 = loX <= hiX ? y + 1.0f : y - 1.0f;
  int k = start;
  for (; k < count - 1; ++k) {
    const float ta = float(TruncToInt(vertices[edges[k].start].y));
    const float tb = float(TruncToInt(vertices[edges[k].end].y));
    if (ta <= y2 && y2 <= tb) break;
  }
  const __Point3ds& c = vertices[edges[k].start];
  const __Point3ds& e = vertices[edges[k].end];
  extent = Max3(std::fabs(Crossing(c.x, c.y, e.x, e.y, y2) - x));
  return x;
}

float EdgeSpanAtPhong(int count, int start, __Point3ds* vertices, EdgeRecord* edges, float y,
                      float& A, float& B, float& C, float& lengthSquared, float& length, float& xa,
                      float& ya, float& xb, float& yb, float& extent, __Point& normal, float* uv) {
  int j = start;
  for (; j < count - 1; ++j) {
    const float ta = vertices[edges[j].start].y, tb = vertices[edges[j].end].y;
    if ((ta <= y && y <= tb) || (tb <= y && y < ta)) break;
  }
  const __Point3ds& a = vertices[edges[j].start];
  const __Point3ds& b = vertices[edges[j].end];
  xa = a.x;
  ya = a.y;
  xb = b.x;
  yb = b.y;
  const float x = Crossing(xa, ya, xb, yb, y);
  LineCoefficients(xa, ya, xb, yb, A, B, C);
  lengthSquared = A * A + B * B;
  length = std::sqrt(lengthSquared);

  if (std::fabs(yb - ya) >= 1.0f) {
    const float t = (y - ya) / (yb - ya);
    normal = {a.nx + t * (b.nx - a.nx), a.ny + t * (b.ny - a.ny), a.nz + t * (b.nz - a.nz)};
    if (uv != nullptr) {
      uv[0] = a.u + t * (b.u - a.u);
      uv[1] = a.v + t * (b.v - a.v);
    }
  } else {
    const __Point3ds& m = a.x > b.x ? a : b;  // b on a tie
    normal = {m.nx, m.ny, m.nz};
    if (uv != nullptr) {
      uv[0] = m.u;
      uv[1] = m.v;
    }
  }

  const bool aHigh = ya >= yb;
  const float hiX = aHigh ? xa : xb, loX = aHigh ? xb : xa;
  const float y2 = loX <= hiX ? y + 1.0f : y - 1.0f;
  int k = start;
  for (; k < count - 1; ++k) {
    const float ta = vertices[edges[k].start].y, tb = vertices[edges[k].end].y;
    if (ta <= y2 && y2 <= tb) break;
  }
  const __Point3ds& c = vertices[edges[k].start];
  const __Point3ds& e = vertices[edges[k].end];
  extent = Max3(std::fabs(Crossing(c.x, c.y, e.x, e.y, y2) - x));
  return x;
}

float EdgeXAt(int count, int start, __Point* points, EdgeRecord* edges, float y) {
  int j = start;
  for (; j < count - 1; ++j) {
    const float ya = points[edges[j].start].y, yb = points[edges[j].end].y;
    if (ya <= y && y <= yb) break;
  }
  const __Point& a = points[edges[j].start];
  const __Point& b = points[edges[j].end];
  return a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y) + 0.5f;
}

void LerpPointUV(const float* p1, const float* p2, float x, float x0, float length, float* p,
                 const float* uv1, const float* uv2, float* uv) {
  if (std::fabs(length) <= 0.01f) {
    for (int k = 0; k < 3; ++k) p[k] = p1[k];
    if (uv != nullptr) {
      uv[0] = uv1[0];
      uv[1] = uv1[1];
    }
    return;
  }
  const float t = (x - x0) / length;
  for (int k = 0; k < 3; ++k) p[k] = p1[k] + t * (p2[k] - p1[k]);
  if (uv != nullptr) {
    uv[0] = uv1[0] + t * (uv2[0] - uv1[0]);
    uv[1] = uv1[1] + t * (uv2[1] - uv1[1]);
  }
}
