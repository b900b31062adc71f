// Device-context polygon fill: an edge list walked scan line by scan line,
// white anti-aliased pixels on both sides of each span and a grey interior
// shaded from the polygon's normal and one fixed light direction.
#include <cmath>
#include <utility>

#include "renderer/raster/dc_draw.h"
#include "renderer/raster/dc_internal.h"

using dc_detail::Span;
using dc_detail::SPAN_LIMIT;
using dc_detail::SpanDown;
using dc_detail::SpanUp;

namespace {

struct EdgeEnds {
  float x0, y0, x1, y1;
};

EdgeEnds EndsOf(const __Point* points, const EdgeRecord& e) {
  return {points[e.start].x, points[e.start].y, points[e.end].x, points[e.end].y};
}

bool Flat(const EdgeEnds& e) { return std::fabs(e.y0 - e.y1) < 1.0f; }

// Where the edge crosses scan line y; a flat edge gives its larger x.
float CrossingX(float y, const EdgeEnds& e) {
  if (std::fabs(e.y1 - e.y0) < 1.0f) return e.x0 > e.x1 ? e.x0 : e.x1;
  return (y - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0) + e.x0;
}

// From record `first`, the first record whose y range holds y; the last
// record when none before it does. `downward` also accepts records that run
// toward smaller y (y1 <= y < y0), as the crossing search does; the search
// for the extent's second line accepts only y0 <= y <= y1.
int FindRecord(int edgeCount, int first, const __Point* points, const EdgeRecord* edges, float y,
               bool downward) {
  for (int i = first < 0 ? 0 : first; i < edgeCount - 1; ++i) {
    EdgeEnds e = EndsOf(points, edges[i]);
    if (e.y0 <= y && y <= e.y1) return i;
    if (downward && e.y1 <= y && y < e.y0) return i;
  }
  return edgeCount - 1;
}

bool Finite(float v) { return std::isfinite(v); }

// The polygon's vertices are all finite: the walks below are then exact.
bool FinitePolygon(int edgeCount, const __Point* points, const EdgeRecord* edges) {
  for (int i = 0; i < edgeCount; ++i) {
    EdgeEnds e = EndsOf(points, edges[i]);
    if (!Finite(e.x0) || !Finite(e.y0) || !Finite(e.x1) || !Finite(e.y1)) return false;
  }
  return true;
}

// Grey level of an intensity: its integer part, held to 0..255 (NaN is 0).
uint32_t GreyLevel(float intensity) {
  if (!(intensity > 0.0f)) return 0;
  if (intensity >= 255.0f) return 255;
  return static_cast<uint32_t>(intensity);
}

// Calls row(y) for the rows of a and of b, from the greatest y down, each
// row once.
template <class Row>
void RowsDescending(Span a, Span b, Row row) {
  if (a.Empty()) a = b, b = dc_detail::EMPTY_SPAN;
  if (b.Empty()) {
    for (int64_t y = a.hi; y >= a.lo; --y) row(y);
    return;
  }
  if (a.lo <= b.hi + 1 && b.lo <= a.hi + 1) {  // overlapping or adjacent
    Span u{a.lo < b.lo ? a.lo : b.lo, a.hi > b.hi ? a.hi : b.hi};
    for (int64_t y = u.hi; y >= u.lo; --y) row(y);
    return;
  }
  if (a.lo < b.lo) std::swap(a, b);
  for (int64_t y = a.hi; y >= a.lo; --y) row(y);
  for (int64_t y = b.hi; y >= b.lo; --y) row(y);
}

// One edge with its implicit line, ready for the edge-pixel writer.
struct Edge {
  EdgeEnds ends;
  float A, B, C, lengthSquared, length;
};

Edge MakeEdge(const EdgeEnds& e) {
  Edge g;
  g.ends = e;
  LineCoefficients(e.x0, e.y0, e.x1, e.y1, g.A, g.B, g.C);
  g.lengthSquared = g.A * g.A + g.B * g.B;
  g.length = std::sqrt(g.lengthSquared);
  return g;
}

// A white edge pixel with depth 0 at index 0, width 1.
void EdgePixel(const DCSurface& dc, const Edge& g, int64_t x, int64_t y) {
  AAEdgePixelDCZ(1.0f, 0.0f, 0.0f, 0, 255.0f, 255.0f, 255.0f, dc, g.A, g.B, g.C, g.lengthSquared,
                 g.length, float(x), float(y), 1.0f, g.ends.x0, g.ends.y0, g.ends.x1, g.ends.y1);
}

class Fill {
 public:
  Fill(int edgeCount, __Point* points, EdgeRecord* edges, const DCSurface& dc, int offsetX,
       int offsetY, float* normal)
      : edgeCount_(edgeCount),
        points_(points),
        edges_(edges),
        dc_(dc),
        offsetX_(offsetX),
        offsetY_(offsetY),
        normal_(normal) {}

  // Edge pixels over the bounding box of a flat record, widened by one
  // pixel in x.
  void FlatEdge(int i) {
    Edge g = MakeEdge(EndsOf(points_, edges_[i]));
    const EdgeEnds& e = g.ends;
    float ymin = e.y0 < e.y1 ? e.y0 : e.y1, ymax = e.y0 < e.y1 ? e.y1 : e.y0;
    float xmin = e.x0 < e.x1 ? e.x0 : e.x1, xmax = e.x0 < e.x1 ? e.x1 : e.x0;
    NoteEdgePixels(!SpanUp(ymin, ymax, -SPAN_LIMIT, SPAN_LIMIT).Empty());
    Span rows = SpanUp(ymin, ymax, dc_.top, int64_t(dc_.bottom) - 1);
    Span cols = SpanUp(xmin - 1.0f, xmax + 1.0f, dc_.left, int64_t(dc_.right) - 1);
    for (int64_t y = rows.lo; y <= rows.hi; ++y)
      for (int64_t x = cols.lo; x <= cols.hi; ++x) EdgePixel(dc_, g, x, y);
  }

  // The scan lines of record i, from its start down to its end, each
  // spanning from this (left) edge to the crossing of the following records.
  void Spans(int i) {
    Edge left = MakeEdge(EndsOf(points_, edges_[i]));
    const EdgeEnds& e = left.ends;
    const float slope = std::fabs(e.y1 - e.y0) < 1.0f ? 0.0f : (e.x1 - e.x0) / (e.y1 - e.y0);
    const float smallerX = e.x0 < e.x1 ? e.x0 : e.x1;
    auto leftXAt = [&](int64_t y) {
      return slope == 0.0f ? smallerX : (float(y) - e.y0) * slope + e.x0;
    };

    Span all = SpanDown(e.y0, e.y1, -SPAN_LIMIT, SPAN_LIMIT);
    NoteEdgePixels(!all.Empty());
    all = dc_detail::Intersect(all, int64_t(INT_MIN) + 1, INT_MAX);  // y and y - 1 stay ints
    // Edge pixels sit at their own coordinates, interior pixels are shifted
    // by the offsets: a row matters when either lands in the surface.
    Span edgeRows = dc_detail::Intersect(all, dc_.top, int64_t(dc_.bottom) - 1);
    Span fillRows =
        dc_detail::Intersect(all, int64_t(dc_.top) - offsetY_, int64_t(dc_.bottom) - 1 - offsetY_);
    RowsDescending(edgeRows, fillRows, [&](int64_t y) {
      const float leftX = leftXAt(y);
      Edge right;
      float extent;
      const float rightX = EdgeSpanAt(edgeCount_, i + 1, points_, edges_, int(y), right.A, right.B,
                                      right.C, right.lengthSquared, right.length, right.ends.x0,
                                      right.ends.y0, right.ends.x1, right.ends.y1, extent);
      const bool edgeRow = DCInside(dc_, dc_.left, y);
      if (edgeRow) {
        // Anti-aliased pixels left of the span, as many as the edge moves
        // in x from one scan line to the next (at least 3).
        float run = std::fabs(leftX - ((float(y - 1) - e.y0) * slope + e.x0));
        if (!(run >= 3.0f)) run = 3.0f;
        Span cols = SpanUp(leftX - run, leftX, dc_.left, int64_t(dc_.right) - 1);
        for (int64_t x = cols.lo; x <= cols.hi; ++x) EdgePixel(dc_, left, x, y);
      }
      if (DCInside(dc_, dc_.left, y + offsetY_)) {
        Span cols = SpanUp(leftX + 1.0f, rightX, int64_t(dc_.left) - offsetX_,
                           int64_t(dc_.right) - 1 - offsetX_);
        for (int64_t x = cols.lo; x <= cols.hi; ++x)
          dc_.setPixel(dc_.context, int(offsetX_ + x), int(offsetY_ + y), Grey() * 0x010101u);
      }
      if (edgeRow) {
        Span cols = SpanUp(rightX + 1.0f, rightX + extent, dc_.left, int64_t(dc_.right) - 1);
        for (int64_t x = cols.lo; x <= cols.hi; ++x) EdgePixel(dc_, right, x, y);
      }
    });
  }

  // Every edge pixel ends with the same depth write (0 at index 0); the
  // pixels cut away outside the surface still owe it.
  void FinishDepth() const {
    if (edgePixels_) dc_detail::DepthWriteDC(0.0f, 0);
  }

 private:
  void NoteEdgePixels(bool any) { edgePixels_ = edgePixels_ || any; }

  // The interior's grey from the normal and the fixed light, worked out at
  // the first interior pixel: a polygon without one never reads the normal.
  uint32_t Grey() {
    if (!greyKnown_) {
      float light[3] = {-0.2f, -0.3f, 0.5f};
      float intensity = 255.0f;
      ShadeFactor(intensity, normal_, light);
      grey_ = GreyLevel(intensity);
      greyKnown_ = true;
    }
    return grey_;
  }

  int edgeCount_;
  __Point* points_;
  EdgeRecord* edges_;
  const DCSurface& dc_;
  int64_t offsetX_, offsetY_;
  float* normal_;
  uint32_t grey_ = 0;
  bool greyKnown_ = false;
  bool edgePixels_ = false;
};

}  // namespace

void ShadeFactor(float& intensity, float* normal, float* light) {
  float d = normal[0] * light[0] + normal[1] * light[1] + normal[2] * light[2];
  if (d < 0.0f) d = 0.0f;
  intensity = intensity * (100.0f * powf(d, 5.0f) + 0.1f);
}

float EdgeSpanAt(int edgeCount, int first, __Point* points, EdgeRecord* edges, int y, float& A,
                 float& B, float& C, float& lengthSquared, float& length, float& x0, float& y0,
                 float& x1, float& y1, float& extent) {
  if (edgeCount < 1) {  // no edge to cross
    A = B = C = lengthSquared = length = x0 = y0 = x1 = y1 = 0.0f;
    extent = 3.0f;
    return 0.0f;
  }
  const float fy = float(y);
  EdgeEnds e = EndsOf(points, edges[FindRecord(edgeCount, first, points, edges, fy, true)]);
  const float x = CrossingX(fy, e);
  LineCoefficients(e.x0, e.y0, e.x1, e.y1, A, B, C);
  lengthSquared = A * A + B * B;
  length = std::sqrt(lengthSquared);
  x0 = e.x0, y0 = e.y0, x1 = e.x1, y1 = e.y1;

  // One line further along the edge: up when its lower end (the smaller
  // y; the start on a tie) has the larger x, else down.
  const float lowerX = e.y1 < e.y0 ? e.x1 : e.x0;
  const float upperX = e.y1 < e.y0 ? e.x0 : e.x1;
  const int64_t next = lowerX > upperX ? int64_t(y) - 1 : int64_t(y) + 1;
  const float fnext = float(next);
  EdgeEnds n = EndsOf(points, edges[FindRecord(edgeCount, first, points, edges, fnext, false)]);
  extent = std::fabs(CrossingX(fnext, n) - x);
  if (!(extent >= 3.0f)) extent = 3.0f;
  return x;
}

int FillPolygonDC(int edgeCount, __Point* points, EdgeRecord* edges, int /*unused*/,
                  const DCSurface& dc, int offsetX, int offsetY, int /*unused2*/, float* normal) {
  if (edgeCount < 1) return 0;
  const int last = edgeCount - 1;
  if (!FinitePolygon(edgeCount, points, edges)) return last;

  Fill fill(edgeCount, points, edges, dc, offsetX, offsetY, normal);

  // Records are walked in list order; a flat record only gets its edge
  // pixels and hands on to the next one, which is walked whatever it is.
  // The walk stops at the last record, which only ever closes the polygon
  // as a right-hand edge. (A flat last record is passed over the same way,
  // so the walk never reads beyond the list.)
  for (int i = 0;; ++i) {
    if (Flat(EndsOf(points, edges[i]))) {
      fill.FlatEdge(i);
      ++i;
    }
    if (i >= last) break;
    fill.Spans(i);
  }
  fill.FinishDepth();
  return last;
}
