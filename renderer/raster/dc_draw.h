// Drawing routines that work straight on a device-context surface, pixel by
// pixel: a one-pixel line, anti-aliased edge pixels, a colour blend, a thick
// anti-aliased line and a polygon fill with a grey interior shaded from one
// fixed light. Module facilities; the effect itself draws into packed
// buffers and calls none of them.
//
// Colours are 0x00BBGGRR; float coordinates address pixel (trunc(x),
// trunc(y)). An edge is given by its end points and its implicit line
// A x + B y + C = 0 from LineCoefficients, with lengthSquared = A^2 + B^2
// and length its square root.
//
// The blend is "darker wins": a colour is faded toward white by its
// coverage and each channel keeps the smaller of the faded and the old
// value. So white (which every edge routine below but the two depth ones
// draws in) never changes a pixel, and a colour darkens only lighter pixels.
//
// Nothing is ever read or written outside the surface's rectangle, and the
// work of every routine is bounded by the surface's size whatever its
// coordinates (NaN and infinities included).
//
// The two routines with a depth (AAEdgeDepthPixelDC, AAEdgePixelDCZ) end by
// storing z at ZBuff[zIndex] when a depth buffer is installed and zIndex lies
// inside it (Zwidth x Zheight entries).
#pragma once
#include "renderer/raster/dc_surface.h"
#include "renderer/raster/rasterize.h"
#include "renderer/renderer.h"

// One-pixel black Bresenham line from (x0, y0) to (x1, y1), both end pixels
// included; nothing when the two end points are equal.
void DrawLineDC(const DCSurface& dc, int x0, int y0, int x1, int y1);

// Fades (r, g, b) toward white by the coverage e = 1 - d / 255 and writes
// each channel as the smaller of the faded value and the pixel's old one.
// d = 0 draws the colour itself, d = 255 changes nothing.
void BlendPixelDC(float r, float g, float b, const DCSurface& dc, int x, int y, int d);

// White at (px, py) with coverage width - |A px + B py + C| / length
// (clamped to 0..1) from the distance to the line alone.
void AAEdgeDistPixelDC(const DCSurface& dc, float A, float B, float C, float length, float px,
                       float py, float width);

// White at (px, py) with the coverage by the segment (x0, y0)-(x1, y1): from
// the distance to the line where the foot of the perpendicular lies within
// the segment's bounding box (bounds inclusive), else from the distance to
// the nearer end point. A zero lengthSquared is not guarded against.
void AAEdgePixelDC(const DCSurface& dc, float A, float B, float C, float lengthSquared,
                   float length, float px, float py, float width, float x0, float y0, float x1,
                   float y1);
// The same routine under its second name.
void AAEdgePixelDC2(const DCSurface& dc, float A, float B, float C, float lengthSquared,
                    float length, float px, float py, float width, float x0, float y0, float x1,
                    float y1);

// (r, g, b) at (px, py) with coverage (width - |A px + B py + C| / length)
// x scale, clamped to 0..1; then the depth write. `unused` is not read.
void AAEdgeDepthPixelDC(float scale, float unused, float z, int zIndex, float r, float g, float b,
                        const DCSurface& dc, float A, float B, float C, float length, float px,
                        float py, float width);

// AAEdgePixelDC in colour (r, g, b) with the coverage scaled, for edges of
// any length: nothing is drawn when |lengthSquared| <= 0.01, and offsets
// below 1e-4 of an axis-aligned edge are taken as 0 before the foot is
// formed. Always ends with the depth write. `unused` is not read.
void AAEdgePixelDCZ(float scale, float unused, float z, int zIndex, float r, float g, float b,
                    const DCSurface& dc, float A, float B, float C, float lengthSquared,
                    float length, float px, float py, float width, float x0, float y0, float x1,
                    float y1);

// Anti-aliased line of the given width in white: a start cap, runs across
// the major axis along a Bresenham walk and an end cap, h = trunc(2.5 +
// width) pixels to each side, every pixel covered by its distance to the
// whole segment. With the darker-wins blend it changes no pixel.
void DrawThickLineDC(const DCSurface& dc, int x0, int y0, int x1, int y1, float width);

// The x where the edge list crosses scan line y, searching from record
// `first`: the first record whose y range holds y (or the last record).
// Returns that edge's line, length and end points, and in `extent` the
// horizontal distance (at least 3) to its crossing one line further along
// the edge, which is how many anti-aliased pixels its side of a span takes.
float EdgeSpanAt(int edgeCount, int first, __Point* points, EdgeRecord* edges, int y, float& A,
                 float& B, float& C, float& lengthSquared, float& length, float& x0, float& y0,
                 float& x1, float& y1, float& extent);

// Fills the polygon of the edge list (records walked in list order, each
// from its start vertex downward to its end vertex) with white anti-aliased
// edge pixels at their own coordinates and a grey interior shaded from the
// plane normal and the fixed light (-0.2, -0.3, 0.5), placed at
// (offsetX + x, offsetY + y). The edge pixels carry depth 0 at index 0.
// Returns the index of the record at which the walk stopped (edgeCount - 1;
// 0 for an empty list). A polygon with a non-finite vertex coordinate is not
// drawn. The normal is read only when an interior pixel is drawn. The two
// `unused` ints are not read.
int FillPolygonDC(int edgeCount, __Point* points, EdgeRecord* edges, int unused,
                  const DCSurface& dc, int offsetX, int offsetY, int unused2, float* normal);

// intensity *= 100 max(0, normal . light)^5 + 0.1, in single precision.
void ShadeFactor(float& intensity, float* normal, float* light);
