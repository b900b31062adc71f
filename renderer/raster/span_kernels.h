// Runs of pixels of a triangle shaded by the default per-pixel function a
// vector of pixels at a time (span_lanes.h), for triangles whose shading
// reads no texture and no glass: the depth test, the weights and the normal,
// the lighting and the pixel writers of every pixel, with the same bits as
// the per-pixel code of the converters. The converter hands over the runs of
// a triangle in the order it visits them; the kernels draw them in that
// order. One set of kernels per vector path (span_sse2.cpp, span_avx2.cpp,
// span_avx512.cpp); SpanKernelsFor picks one.
//
// Nothing here reads a module global: the converter hands everything in.
#pragma once
#include <cstdint>

#include "renderer/renderer.h"
#include "renderer/simd/simd.h"

// One edge as the writers want it: implicit line A x + B y + C = 0, its
// squared length and length, and its end points.
struct EdgeLine {
  float A, B, C, lengthSquared, length, xa, ya, xb, yb;
};

// What the kernels need of one triangle, filled once per triangle.
struct SpanJob {
  // The frame: dst (8 or 16 bits a channel), its row length in channel
  // values, the depth buffer (never null here) and its row length.
  unsigned char* dst;
  bool deep;
  int64_t stride;
  float maxChannel;
  float* zbuff;
  int64_t zwidth;
  bool lineMode;  // draw modes 0..2: edge distances count on both sides

  // Depth on the plane: -(rowDepth + nx x) / nz, or z0 when |nz| < 0.01.
  float nx, nz, z0;
  bool flatDepth;
  // The screen matrix's rows (X0 X1 X2) and (Y0 Y1 Y2) and its determinant,
  // of which SpanRow holds a row's part.
  float screen[6];
  float det;

  // The normal: interpolated (unit vertex normals n, mid-edge normals mid
  // for the quadratic field) or the one of the whole triangle.
  bool interpolated;
  bool quadratic;
  float n[3][3];
  float mid[3][3];
  float fixedNormal[3];  // already flipped and made unit length

  // The default per-pixel function without texture slots or glass: the
  // material's colours (or the defaults), the lights (null: black), the
  // face flips of the normal and the opacity, the same for every pixel.
  float centerX, centerY;
  float opacity;
  float diffuse[3], specular[3];
  float exponent, level, selfIllum;
  float zeroBelow;  // ShadePowZeroBelow(exponent)
  const light3ds* lights;
  int lightCount;  // at most SPAN_MAX_LIGHTS
  bool backFacePass, doubleSided;
};

// Scenes with more lights go pixel by pixel.
constexpr int SPAN_MAX_LIGHTS = 4;

// One scan line: its y, the row part of the depth (d + ny y) and of the
// three barycentric numerators (k + x c, each over det).
struct SpanRow {
  int y;
  float depth;
  float k[3], c[3];
  float det;
};

// Columns a run wrote into dst (left > right: none).
struct SpanWritten {
  int left, right;
};

// One run of a triangle's pixels on one scan line, as the converter visits
// them:
//   kInterior  x0 .. x1: the depth test and write, BlendPixelFB with the
//              opacity;
//   kEdge      x0 .. x1 against `edge`: the depth test (the depth buffer is
//              left as it was) and AAEdgePixel's coverage, width 1;
//   kRow       a scan line drawn with high quality in one go: its left band
//              (against `edge`), its interior and its right band (against
//              `right`), each pixel as those three passes would draw it in
//              that order. The bands may share a pixel with the interior,
//              never with each other; x0 .. x1 spans all three.
// Columns lie inside the frame.
struct SpanRun {
  enum Kind : unsigned char { kInterior, kEdge, kRow };
  Kind kind;
  SpanRow row;
  int x0, x1;
  int left0, left1, inner0, inner1, right0, right1;  // kRow (lo > hi: none)
  EdgeLine edge, right;
  SpanWritten written;  // filled by the kernels: the columns drawn
};
// One row of CompositeLayerRect: `count` pixels from channel index `index`
// of the frame and the three layers.
struct CompositeRow {
  unsigned char* dst;
  unsigned char* edge;
  unsigned char* frag;
  unsigned char* under;
  int64_t index;
  int count;
  int room;  // pixels from the first one to the end of the frame's row
  bool deep;
  int maxChannel;
};

struct SpanKernels {
  // Draws `count` runs of the job's triangle in order.
  void (*runs)(const SpanJob& job, SpanRun* runs, int count);
  void (*composite)(const CompositeRow& row);
  // x^y of the highlight for n pairs (for tests and benchmarks).
  void (*power)(const float* x, const float* y, float* out, int n);
};

extern const SpanKernels kSpanKernelsSse2;
extern const SpanKernels kSpanKernelsAvx2;
extern const SpanKernels kSpanKernelsAvx512;

// The kernels of a vector path; null for the scalar path, and for frames so
// wide that a run's last vector would step past the int range.
const SpanKernels* SpanKernelsFor(SimdPath path, int frameWidth);
