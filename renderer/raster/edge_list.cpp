// Edge lists of the triangle set-ups: the top vertex, the rotation that puts
// it first, and the winding fix that makes every triangle turn the same way.
#include <cmath>

#include "renderer/raster/rasterize.h"

namespace {

// The extreme searches start from this magnitude; vertex coordinates are
// expected well inside it.
constexpr float SEARCH_START = 1e11f;

// Direction angle of P -> Q in [0, 2 pi]: the quadrant's base angle plus the
// arc cosine of the leg that runs along the quadrant's first axis. Computed
// in double; the bases are single-precision constants and the sum is
// rounded to single precision. Coincident points give NaN.
float DirectionAngle(float px, float py, float qx, float qy) {
  static const float base[4] = {0.0f, 1.5707964f, 3.1415927f, 4.712389f};
  const bool up = qy > py;
  int q;
  if (qx >= px)
    q = up ? 0 : 3;
  else
    q = up ? 1 : 2;
  const double ax = std::fabs(double(px) - double(qx));
  const double ay = std::fabs(double(py) - double(qy));
  const double t = (q == 0 || q == 2) ? ax : ay;
  return float(std::acos(t / std::hypot(ax, ay)) + double(base[q]));
}

// Turn of P0 -> P1 -> P2 measured as the angle from P0->P1 to P0->P2.
double Turn(float x0, float y0, float x1, float y1, float x2, float y2) {
  const float a1 = DirectionAngle(x0, y0, x1, y1);
  const float a2 = DirectionAngle(x0, y0, x2, y2);
  return double(a2) - double(a1);
}

// Both directions leave a top vertex downwards, so the turn lies in
// [-pi, pi]; a negative turn, or one beyond this constant (slightly below
// pi), is clockwise and gets flipped.
bool NeedsFlip(double turn) { return turn < 0.0 || turn > 3.141592; }

}  // namespace

int TopBottomVertex(int count, __Point3ds* vertices, EdgeRecord* edges, float& minY) {
  float best = -SEARCH_START, least = SEARCH_START;
  int result = 1;
  for (int i = 0; i < count; ++i) {
    const float y = vertices[edges[i].start].y;
    if (y >= best) {  // the last of equal tops wins
      best = y;
      result = i;
    }
    if (y <= least) least = y;
  }
  minY = least;
  return result;
}

int TopBottomVertex2D(int count, __Point* points, EdgeRecord* edges, float& minY) {
  float best = -SEARCH_START, least = SEARCH_START;
  int result = 1;
  for (int i = 0; i < count; ++i) {
    const float y = points[edges[i].start].y;
    if (y >= best) {
      best = y;
      result = i;
    }
    if (y <= least) least = y;
  }
  minY = least;
  return result;
}

void RotateEdgeList(int count, int start, EdgeRecord* edges) {
  // Lists hold at most 255 records (the indices are bytes); the temporary
  // lives on the stack, as this runs for every triangle.
  if (start <= 0 || start >= count || count > 256) return;
  EdgeRecord rotated[256];
  int n = 0;
  for (int i = start; i < count; ++i) rotated[n++] = edges[i];
  for (int i = 0; i < start; ++i) rotated[n++] = edges[i];
  for (int i = 0; i < count; ++i) edges[i] = rotated[i];
}

bool FixWinding(EdgeRecord* edges, __Point3ds* vertices) {
  const __Point3ds& p0 = vertices[edges[0].start];
  const __Point3ds& p1 = vertices[edges[1].start];
  const __Point3ds& p2 = vertices[edges[1].end];
  const double turn = Turn(p0.x, p0.y, p1.x, p1.y, p2.x, p2.y);
  if (std::fabs(turn) < 1e-5) return false;  // collinear
  // A NaN turn (the top vertex coincides with another) changes nothing; the
  // converter's zero-area test drops such a triangle.
  if (NeedsFlip(turn)) {
    const __Point3ds t = vertices[edges[1].start];
    vertices[edges[1].start] = vertices[edges[1].end];
    vertices[edges[1].end] = t;
    const uint8_t f = edges[0].flag;
    edges[0].flag = edges[2].flag;
    edges[2].flag = f;
  }
  return true;
}

void FixWinding2D(EdgeRecord* edges, __Point* points) {
  const __Point& p0 = points[edges[0].start];
  const __Point& p1 = points[edges[1].start];
  const __Point& p2 = points[edges[1].end];
  if (NeedsFlip(Turn(p0.x, p0.y, p1.x, p1.y, p2.x, p2.y))) {
    const __Point t = points[edges[1].start];
    points[edges[1].start] = points[edges[1].end];
    points[edges[1].end] = t;
    const uint8_t f = edges[0].flag;
    edges[0].flag = edges[2].flag;
    edges[2].flag = f;
  }
}
