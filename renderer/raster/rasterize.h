// Triangle set-up, scan conversion and line drawing: the routines the scene
// loops, the curved-patch modes and the device-context routines share.
// Not exported.
//
// Conventions
//   - Vertices reach a set-up relative to the image centre; every routine
//     that draws adds (centerX, centerY) to copies of them. The scene's
//     arrays are never written.
//   - Every float-to-int conversion of a coordinate truncates toward zero
//     through TruncToInt (raster_internal.h), which is defined for every
//     input, so hostile vertices cannot cause undefined behaviour.
//   - A triangle with a non-finite vertex position is not drawn. Every walk
//     (spans, bands, caps, lines) is clipped to Zwidth x Zheight (the DDA
//     line to its own width x height) before it iterates, and draws inside
//     the frame exactly the pixels of the unclipped walk; pixels outside the
//     frame are never shaded. Work per triangle or line is therefore bounded
//     by the frame's size, whatever the coordinates.
//   - One call at a time: the routines read the module switches
//     (raster_internal.h) without locks.
#pragma once
#include <cstdint>

#include "renderer/raster/matrix.h"
#include "renderer/raster/raster_internal.h"

// One edge of a polygon edge list: `start` and `end` are indices into the
// set-up's local vertex array; `flag` is carried, never interpreted. In a
// list the end of one record is the start of the next and the last record
// closes the polygon.
struct EdgeRecord {
  uint8_t start;
  uint8_t end;
  uint8_t flag;
};
static_assert(sizeof(EdgeRecord) == 3, "EdgeRecord is three bytes");

// ---------------------------------------------------------------------------
// Set-up and edge lists (triangle_setup.cpp, edge_list.cpp).
// ---------------------------------------------------------------------------

// Position in the list of the record whose start vertex has the greatest y
// (the last in list order on a tie); minY receives the least y.
int TopBottomVertex(int count, __Point3ds* vertices, EdgeRecord* edges, float& minY);
int TopBottomVertex2D(int count, __Point* points, EdgeRecord* edges, float& minY);
// Rotates the list in place so that record `start` comes first (count <= 255).
void RotateEdgeList(int count, int start, EdgeRecord* edges);
// Makes P0 -> P1 -> P2 of a list that starts at a top vertex turn
// counter-clockwise (y up), by exchanging the vertex records of edges[1]
// and the flags of the first and last records. False: collinear, nothing
// to draw.
bool FixWinding(EdgeRecord* edges, __Point3ds* vertices);
void FixWinding2D(EdgeRecord* edges, __Point* points);
// Unnormalised normal (P0 - P1) x (P2 - P1) of three consecutive records.
void PlaneNormal3(__Point3ds* p, float& nx, float& ny, float& nz);
void PlaneNormalM3(__Point* p, float& nx, float& ny, float& nz);
// Bounding box of the triangle `index` over `points`; the outputs start at
// +-1e11 and are compared with the triple's first vertex only.
void VertexBounds(const uint32_t* index, __Point* points, float& minX, float& minY, float& maxX,
                  float& maxY);

// The point where the line through P along D meets the plane D.X + e = 0;
// a, b, c are dx^2, dy^2, dz^2. A zero direction has no defined result.
void LinePlanePoint(float px, float py, float pz, float dx, float dy, float dz, float& x, float& y,
                    float& z, float a, float b, float c, float e);

// Copy, shift, order, fix and (Phong, Flat) plane of one triangle, then its
// scan conversion. `vertices` is the scene's array.
void SetupTrianglePhong(unsigned char* dst, unsigned char* src, int width, int height,
                        __Texture* textures, material3ds* materials, int materialCount,
                        __Triangle3ds* triangle, __Point3ds* vertices, int centerX, int centerY,
                        int lightCount, light3ds* lights, GlassProp* glass);
void SetupTriangleFlat(unsigned char* dst, unsigned char* src, int width, int height,
                       __Texture* textures, material3ds* materials, int materialCount,
                       __Triangle3ds* triangle, __Point3ds* vertices, int centerX, int centerY,
                       int lightCount, light3ds* lights, GlassProp* glass);
void SetupTriangleSolid(unsigned char* dst, int width, int height, __Triangle3ds* triangle,
                        __Point3ds* vertices, int centerX, int centerY, float c0, float c1,
                        float c2, float opacity);

// ---------------------------------------------------------------------------
// Scan conversion and interpolation (scan_phong.cpp, scan_flat.cpp with the
// solid fill, interpolate.cpp, edge_span.cpp).
// ---------------------------------------------------------------------------

// `vertices` are the set-up's local copies in image coordinates; `edges`
// starts at a top vertex and winds so that the walked records form the left
// end of every span; `bottom` is the least y truncated; (nx, ny, nz, d) is
// the unit plane nx x + ny y + nz z + d = 0.
void RasterTrianglePhong(unsigned char* dst, unsigned char* src, int width, int height,
                         __Texture* textures, material3ds* materials, int materialCount,
                         __Triangle3ds* triangle, int count, __Point3ds* vertices,
                         EdgeRecord* edges, int bottom, int centerX, int centerY, float nx,
                         float ny, float nz, float d, int lightCount, light3ds* lights,
                         GlassProp* glass);
void RasterTriangleFlat(unsigned char* dst, unsigned char* src, int width, int height,
                        __Texture* textures, material3ds* materials, int materialCount,
                        __Triangle3ds* triangle, int count, __Point3ds* vertices, EdgeRecord* edges,
                        int bottom, int centerX, int centerY, float nx, float ny, float nz, float d,
                        int lightCount, light3ds* lights, GlassProp* glass);
void RasterTriangleSolid(unsigned char* dst, int width, int height, __Triangle3ds* triangle,
                         int count, __Point3ds* vertices, EdgeRecord* edges, int bottom,
                         int centerX, int centerY, float c0, float c1, float c2, float opacity);

// Depth of pixel (x, y) on the plane (the first vertex's z when |nz| < 0.01)
// and the depth test: 1 when it passes (strictly nearer than ZBuff holds, or
// no depth buffer), with z stored and the old depth and its index returned;
// 0 when it fails or lies outside Zwidth x Zheight (or z is NaN).
unsigned char ZTestWrite(float x, float y, float d, float ny, float nx, float nz,
                         __Point3ds* vertices, float& z, int& index, float& oldZ);

// The right end of a span on scan line y: from record `start`, the first
// record that contains y; returns its crossing x and gives its line, end
// points and how far it moves outward to the next scan line (at least 3).
float EdgeSpanAt3ds(int count, int start, __Point3ds* vertices, EdgeRecord* edges, float y,
                    float& A, float& B, float& C, float& lengthSquared, float& length, float& xa,
                    float& ya, float& xb, float& yb, float& extent);
// As EdgeSpanAt3ds with untruncated vertex y, also giving the edge's
// normal and (when uv is non-null) its u, v at y.
float EdgeSpanAtPhong(int count, int start, __Point3ds* vertices, EdgeRecord* edges, float y,
                      float& A, float& B, float& C, float& lengthSquared, float& length, float& xa,
                      float& ya, float& xb, float& yb, float& extent, __Point& normal, float* uv);
// x where the edge found from `start` crosses y, plus 0.5 (no guard for a
// horizontal edge).
float EdgeXAt(int count, int start, __Point* points, EdgeRecord* edges, float y);
// p = p1 + t (p2 - p1), t = (x - x0) / length; u, v likewise when uv is
// non-null (uv1, uv2 hold two floats each). |length| <= 0.01 gives p1.
void LerpPointUV(const float* p1, const float* p2, float x, float x0, float length, float* p,
                 const float* uv1, const float* uv2, float* uv);

// Screen matrix of a triangle for barycentric weights: rows (x0, x1, x2),
// (y0, y1, y2), (1, 1, 1), row-major, with its determinant.
// The determinant is Matrix3Det (matrix.h).
struct BaryMatrix {
  Matrix3 m;
  float det;
};
// x' = x (1 - z / _Persp_Far) + _Persp_x; y' likewise.
void PerspProject(float x, float y, float z, float& xp, float& yp);
// Normal (linear, or quadratic with _Quality and _UsePhong2) and, when
// textured, u and v of pixel (x, y) with depth z. mid holds M01, M12, M20.
void InterpolateNormalUV(__Point* normal, __Point3ds* vertices, float x, float y, float z,
                         const BaryMatrix& screen, const BaryMatrix& persp, unsigned char textured,
                         float& u, float& v, const __Point* mid, float centerX, float centerY);
void InterpolateUV(__Point3ds* vertices, float x, float y, float z, const BaryMatrix& screen,
                   const BaryMatrix& persp, unsigned char textured, float& u, float& v,
                   float centerX, float centerY);

// Face normal (P2 - P1) x (P0 - P1) of the triangle's vertices in stored
// order, not normalised; its z sign is the face test of the scene loops.
void TriangleNormal(__Triangle3ds* triangle, __Point3ds* points, float& nx, float& ny, float& nz);
// Euclidean distance in single precision, widened.
double Distance3(float x0, float y0, float z0, float x1, float y1, float z1);

// ---------------------------------------------------------------------------
// Lines and edge drawers (line_dda.cpp, line_thick.cpp, edge_drawers.cpp).
// ---------------------------------------------------------------------------

// Pixel (trunc x, trunc y) inside width x height: channels 0..2 =
// MaxChannel - src's, alpha MaxChannel; addressed 4 (x + y width).
void PutPixelInverse(unsigned char* dst, unsigned char* src, int width, int height, float x,
                     float y);
// The same clip and address; channels c0, c1, c2 as given, alpha MaxChannel.
void PutPixelColor(uint8_t c0, uint8_t c1, uint8_t c2, unsigned char* dst, int width, int height,
                   float x, float y);
// DDA lines from the end point with the smaller major coordinate, the
// other end point not plotted.
void DrawLineInverse(float x0, float y0, float x1, float y1, unsigned char* dst, unsigned char* src,
                     int width, int height);
void DrawLineColor(int c0, int c1, int c2, float x0, float y0, float x1, float y1,
                   unsigned char* dst, unsigned char* src, int width, int height);
// Thick anti-aliased Bresenham line (caps and runs of half-width
// trunc(2.5 + lineWidth) with _Quality, one pixel wide without), every
// pixel shaded by the per-pixel function with the normal (-pa, -pb, -pc) and
// the plane (pa, pb, pc, pd). Both x come first. width, height, pointCount
// and vertices are not used. Clipped to Zwidth x Zheight; no depth.
void DrawLineShaded(float x0, float x1, float y0, float y1, float lineWidth, unsigned char* dst,
                    unsigned char* src, int width, int height, __Texture* textures,
                    material3ds* materials, int materialCount, __Triangle3ds* triangle,
                    int pointCount, __Point3ds* vertices, int centerX, int centerY, float pa,
                    float pb, float pc, float pd, int lightCount, light3ds* lights,
                    GlassProp* glass);
// The same line in one colour (channel units), opacity 1.
void DrawLineSolidAA(int c0, int c1, int c2, float x0, float y0, float x1, float y1,
                     float lineWidth, unsigned char* dst, unsigned char* src, int width,
                     int height);

// The three edges P0->P1, P1->P2, P2->P0 of a triangle, shifted by the centre.
void DrawTriangleEdgesInverse(unsigned char* dst, unsigned char* src, int width, int height,
                              __Triangle3ds* triangle, __Point3ds* points, int centerX,
                              int centerY);
void DrawTriangleEdgesShaded(unsigned char* dst, unsigned char* src, int width, int height,
                             __Texture* textures, material3ds* materials, int materialCount,
                             __Triangle3ds* triangle, __Point3ds* points, int centerX, int centerY,
                             int lightCount, light3ds* lights, GlassProp* glass);
void DrawTriangleEdgesColor(float lineWidth, int c0, int c1, int c2, unsigned char* dst,
                            unsigned char* src, int width, int height, __Triangle3ds* triangle,
                            __Point3ds* points, int centerX, int centerY);

// True when all three vertex indices lie below pointCount (unsigned, so an
// index of 2^31 or more is out too; nothing is, for a count of 0 or less).
// The callers that know the count skip other triangles: the renderer is
// exported, and another module may pass any index.
inline bool TriangleIndexed(const __Triangle3ds* triangle, int pointCount) {
  const uint32_t n = pointCount > 0 ? uint32_t(pointCount) : 0u;
  return triangle->vert[0] < n && triangle->vert[1] < n && triangle->vert[2] < n;
}

// True when x and y (and z, when the caller uses depth or the plane) of the
// triangle's three vertices are finite.
bool TriangleIsFinite(const __Triangle3ds* triangle, const __Point3ds* points, bool withZ);

// Test hook: false makes every walk iterate unclipped, as the plain rules
// read, so tests can compare the two. True (clipped) in the module.
extern bool gRasterClipWalks;
// Test hook: false shades every edge pixel, also those the edge writer
// cannot cover. True in the module.
extern bool gRasterSkipBlankEdges;

// The rows the Flat and Phong converters draw, gRowLow <= y < gRowHigh of
// the frame: a scene loop that draws the frame band by band narrows them
// (only while gRasterClipWalks); the whole frame otherwise.
extern int gRowLow, gRowHigh;
inline int64_t FirstRowDrawn() { return gRowLow > 0 ? gRowLow : 0; }
inline int64_t LastRowDrawn() { return int64_t(gRowHigh < Zheight ? gRowHigh : Zheight) - 1; }
inline bool RowDrawn(int64_t y) { return y >= FirstRowDrawn() && y <= LastRowDrawn(); }
// Rows lo .. hi narrowed to those drawn (caps, edge bands and walks).
inline void ClipRows(int64_t& lo, int64_t& hi) {
  if (!gRasterClipWalks) return;
  if (lo < FirstRowDrawn()) lo = FirstRowDrawn();
  if (hi > LastRowDrawn()) hi = LastRowDrawn();
}
