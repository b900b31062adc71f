// The kernels of span_kernels.h written once over a lane type L
// (lanes_sse2.h, lanes_avx2.h, lanes_avx512.h): N pixels of a run at a
// time, each lane the same IEEE operations, in the same order, as the
// per-pixel code it stands for (ZTestWrite and the weights of the
// converters, the default per-pixel function of render_one_pixel.cpp,
// AAEdgePixel and BlendPixelFB of pixel_writers.cpp), so every path gives
// the same bits. Where the scalar code branches per pixel, both sides are
// computed and the lane's side is selected.
//
// A few steps are shorter than the scalar code and give the same result:
//   - a clamp "v < lo ? lo : v" is the instruction max(lo, v) and
//     "v > hi ? hi : v" is min(hi, v), NaN staying NaN in both; "!(v > 0)
//     ? 0 : v" is max(v, 0);
//   - the weights' sum leaves out the absolute values: after the clamp a
//     weight is positive, a zero or NaN, so only the sign of a zero sum
//     changes, and a sum that is not above 0 divides nothing;
//   - a channel's sum of light terms differs at most in the sign of a zero
//     when a factor of 1 is left out, or a finite non-zero factor is
//     multiplied without the shader's zero rule (a zero factor alone needs
//     it), and every zero becomes +0 in the final clamp;
//   - a diffuse term d (1 - s) + s with s = 0 is d;
//   - when the three channels have the same colours they are worked once.
//
// Included only by the files that instantiate it for one lane type; the
// lane types have internal linkage, and so has everything made here, so
// code compiled for one instruction set is never linked in place of
// another's. For the same reason it calls no inline function of a shared
// header.
#pragma once
#include <cstdint>
#include <cstring>

#include "renderer/raster/span_kernels.h"
#include "renderer/shading/power_lanes.h"

template <class L>
struct SpanLanes {
  using F = typename L::F;
  using M = typename L::M;
  using I = typename L::I;
  static constexpr int N = L::N;

  static F Zero() { return L::Set(0.0f); }
  static F One() { return L::Set(1.0f); }

  // !(v > 0) gives 0, above 1 gives 1 (the writers' Clamp01).
  static F Clamp01(F v) { return L::Max(L::Min(One(), v), Zero()); }

  // A channel value from a float: !(v > 0) gives 0, v >= max gives max,
  // else truncated (the writers' ToChannel).
  static I ToChannel(F v, F max) { return L::TruncI(L::Max(L::Min(max, v), Zero())); }

  // How a factor that is the same in every lane multiplies a lane value
  // under the shader's rule that a zero factor gives 0 (Times).
  enum Factor : unsigned char { kFactorZero, kFactorOne, kFactorFinite, kFactorOther };
  static Factor FactorOf(float b) {
    if (b == 0.0f) return kFactorZero;
    if (b == 1.0f) return kFactorOne;
    return (b - b == 0.0f) ? kFactorFinite : kFactorOther;  // not infinite or NaN
  }
  // Times(a, b) up to the sign of a zero (see the top).
  static F TimesFactor(F a, Factor kind, F b) {
    switch (kind) {
      case kFactorZero: return Zero();
      case kFactorOne: return a;
      case kFactorFinite: return L::Mul(a, b);
      default: return L::Select(L::Eq(a, Zero()), Zero(), L::Mul(a, b));
    }
  }

  // The job's constants as lanes, made once for a call.
  struct Light {
    F x, z, multiplier;
    float y;
    Factor colourKind[3];
    F colour[3];
  };
  struct Consts {
    F nx, nz, z0;
    bool flatDepth;
    bool interpolated, quadratic;
    F n[3][3], mid[3][3];
    F fixedNormal[3];
    bool backFacePass, doubleSided;
    F centerX;
    float centerY;
    F opacity;
    bool draws;           // an interior pixel is drawn (the opacity is above 0)
    bool replaces;        // its coverage is 1: it replaces the pixel
    F interiorCoverage;   // the opacity, at most 1
    bool black;           // no light at all
    int lightCount;
    Light lights[SPAN_MAX_LIGHTS];
    F diffuse[3], specular[3];
    Factor specularKind[3];
    bool highlights;
    F exponent, level;
    float zeroBelow;  // x^exponent is 0 below it
    bool plainSelf;   // self-illumination 0: the diffuse term is d
    F self, rest;
    int channels;  // 1 when the three channels are worked alike
    F maxChannel;
    bool lineMode;
    // The screen matrix for rows worked lane by lane (packed shading).
    F screen[6], c[3], det;
  };

  static bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

  static void Prepare(const SpanJob& j, Consts& c) {
    c.nx = L::Set(j.nx);
    c.nz = L::Set(j.nz);
    c.z0 = L::Set(j.z0);
    c.flatDepth = j.flatDepth;
    c.interpolated = j.interpolated;
    c.quadratic = j.quadratic;
    for (int v = 0; v < 3; ++v)
      for (int k = 0; k < 3; ++k) {
        c.n[v][k] = L::Set(j.n[v][k]);
        c.mid[v][k] = L::Set(j.mid[v][k]);
      }
    for (int k = 0; k < 3; ++k) c.fixedNormal[k] = L::Set(j.fixedNormal[k]);
    c.backFacePass = j.backFacePass;
    c.doubleSided = j.doubleSided;
    c.centerX = L::Set(j.centerX);
    c.centerY = j.centerY;
    c.opacity = L::Set(j.opacity);
    c.draws = j.opacity > 0.0f;
    const float k = j.opacity > 1.0f ? 1.0f : j.opacity;
    c.replaces = k == 1.0f;
    c.interiorCoverage = L::Set(k);
    c.black = j.lights == nullptr;
    c.lightCount = c.black ? 0 : j.lightCount;
    bool grey = true;
    for (int i = 0; i < c.lightCount; ++i) {
      const light3ds& from = j.lights[i];
      Light& to = c.lights[i];
      to.x = L::Set(from.x);
      to.y = from.y;
      to.z = L::Set(from.z);
      to.multiplier = L::Set(from.multiplier);
      for (int ch = 0; ch < 3; ++ch) {
        to.colourKind[ch] = FactorOf(from.color[ch]);
        to.colour[ch] = L::Set(from.color[ch]);
      }
      grey = grey && SameBits(from.color[0], from.color[1]) && SameBits(from.color[0], from.color[2]);
    }
    for (int ch = 0; ch < 3; ++ch) {
      c.diffuse[ch] = L::Set(j.diffuse[ch]);
      c.specular[ch] = L::Set(j.specular[ch]);
      c.specularKind[ch] = FactorOf(j.specular[ch]);
    }
    grey = grey && SameBits(j.diffuse[0], j.diffuse[1]) && SameBits(j.diffuse[0], j.diffuse[2]) &&
           SameBits(j.specular[0], j.specular[1]) && SameBits(j.specular[0], j.specular[2]);
    c.channels = grey ? 1 : 3;
    c.highlights = j.level != 0.0f;
    c.exponent = L::Set(j.exponent);
    c.level = L::Set(j.level);
    c.zeroBelow = j.zeroBelow;
    c.plainSelf = j.selfIllum == 0.0f;
    c.self = L::Set(j.selfIllum);
    c.rest = L::Set(1.0f - j.selfIllum);
    c.maxChannel = L::Set(j.maxChannel);
    c.lineMode = j.lineMode;
    for (int k = 0; k < 6; ++k) c.screen[k] = L::Set(j.screen[k]);
    // The weights' factors of x, as BaryRowAt makes them.
    c.c[0] = L::Set(j.screen[4] - j.screen[5]);
    c.c[1] = L::Set(j.screen[5] - j.screen[3]);
    c.c[2] = L::Set(j.screen[3] - j.screen[4]);
    c.det = L::Set(j.det);
  }

  // The row parts of the lanes: y, of the depth and of the weights, and per
  // light of the light vector; the same in every lane for the pixels of one
  // row (MakeRow), or lane by lane (RowOfLanes).
  struct Row {
    F y, py;
    F depth, k[3], c[3], det;
    F ly[SPAN_MAX_LIGHTS], lyly[SPAN_MAX_LIGHTS];
  };

  static void MakeRow(const Consts& c, const SpanRow& r, Row& w) {
    w.y = L::FromInt(r.y);
    const float py = float(r.y) - c.centerY;
    w.py = L::Set(py);
    w.depth = L::Set(r.depth);
    for (int k = 0; k < 3; ++k) {
      w.k[k] = L::Set(r.k[k]);
      w.c[k] = L::Set(r.c[k]);
    }
    w.det = L::Set(r.det);
    for (int i = 0; i < c.lightCount; ++i) {
      const float ly = c.lights[i].y - py;
      w.ly[i] = L::Set(ly);
      w.lyly[i] = L::Set(ly * ly);
    }
  }

  // The same for lanes of their own rows y (whole numbers), each worked as
  // MakeRow's scalar steps and BaryRowAt would (no depth: it is known).
  [[gnu::always_inline]] static void RowOfLanes(const Consts& c, F y, Row& w) {
    w.y = y;
    w.py = L::Sub(y, L::Set(c.centerY));
    const F* a = c.screen;  // X0 X1 X2 Y0 Y1 Y2
    w.k[2] = L::Sub(L::Mul(a[0], L::Sub(a[4], y)), L::Mul(a[1], L::Sub(a[3], y)));
    w.k[0] = L::Sub(L::Mul(a[1], L::Sub(a[5], y)), L::Mul(a[2], L::Sub(a[4], y)));
    w.k[1] = L::Sub(L::Mul(a[2], L::Sub(a[3], y)), L::Mul(a[0], L::Sub(a[5], y)));
    for (int k = 0; k < 3; ++k) w.c[k] = c.c[k];
    w.det = c.det;
    for (int i = 0; i < c.lightCount; ++i) {
      w.ly[i] = L::Sub(L::Set(c.lights[i].y), w.py);
      w.lyly[i] = L::Mul(w.ly[i], w.ly[i]);
    }
  }

  // Depth on the plane at x of the row.
  [[gnu::always_inline]] static F Depth(const Consts& c, const Row& r, F x) {
    if (c.flatDepth) return c.z0;
    return L::Div(L::Neg(L::Add(r.depth, L::Mul(c.nx, x))), c.nz);
  }

  // The interpolated normal at x of the row (weights clamped at 0 and
  // divided by their sum when it is above 0; linear or quadratic field).
  [[gnu::always_inline]] static void Normal(const Consts& c, const Row& r, F x, F n[3]) {
    F w[3];
    for (int k = 0; k < 3; ++k)
      w[k] = L::Max(Zero(), L::Div(L::Add(r.k[k], L::Mul(x, r.c[k])), r.det));  // NaN stays
    const F s = L::Add(L::Add(w[0], w[1]), w[2]);
    const M positive = L::Gt(s, Zero());
    for (int k = 0; k < 3; ++k) w[k] = L::Select(positive, L::Div(w[k], s), w[k]);
    if (c.quadratic) {
      const F a = L::Mul(w[0], w[0]), b = L::Mul(w[1], w[1]), d = L::Mul(w[2], w[2]);
      const F two = L::Set(2.0f);
      const F ab = L::Mul(L::Mul(two, w[0]), w[1]);
      const F bc = L::Mul(L::Mul(two, w[1]), w[2]);
      const F ca = L::Mul(L::Mul(two, w[2]), w[0]);
      for (int k = 0; k < 3; ++k) {
        F v = L::Add(L::Mul(a, c.n[0][k]), L::Mul(b, c.n[1][k]));
        v = L::Add(v, L::Mul(d, c.n[2][k]));
        v = L::Add(v, L::Mul(ab, c.mid[0][k]));
        v = L::Add(v, L::Mul(bc, c.mid[1][k]));
        n[k] = L::Add(v, L::Mul(ca, c.mid[2][k]));
      }
      return;
    }
    for (int k = 0; k < 3; ++k)
      n[k] = L::Add(L::Add(L::Mul(w[0], c.n[0][k]), L::Mul(w[1], c.n[1][k])),
                    L::Mul(w[2], c.n[2][k]));
  }

  // The default per-pixel function without texture slots or glass, for the
  // pixels at x (relative to the centre: px) of the row with depth z: the
  // channel values out (0 .. maxChannel; all three alike when the job has
  // one channel). Only the lanes of `used` (bit i for lane i) need be right.
  [[gnu::always_inline]] static void Shade(const Consts& c, const Row& r, F x, F z, F out[3], int used) {
    F nx, ny, nz;
    if (c.interpolated) {
      F n[3];
      Normal(c, r, x, n);
      nx = n[0];
      ny = n[1];
      nz = n[2];
      if (c.backFacePass) {
        nx = L::Neg(nx);
        ny = L::Neg(ny);
        nz = L::Neg(nz);
      }
      if (c.doubleSided) nz = L::Select(L::Lt(nz, Zero()), L::Neg(nz), nz);
      const F length = L::Sqrt(L::Add(L::Add(L::Mul(nx, nx), L::Mul(ny, ny)), L::Mul(nz, nz)));
      const M divide = L::Ne(length, Zero());
      nx = L::Select(divide, L::Div(nx, length), nx);
      ny = L::Select(divide, L::Div(ny, length), ny);
      nz = L::Select(divide, L::Div(nz, length), nz);
    } else {
      nx = c.fixedNormal[0];
      ny = c.fixedNormal[1];
      nz = c.fixedNormal[2];
    }
    const F px = L::Sub(x, c.centerX);
    F sum[3] = {Zero(), Zero(), Zero()};
    for (int i = 0; i < c.lightCount; ++i) {
      const Light& light = c.lights[i];
      F lx = L::Sub(light.x, px), ly = r.ly[i], lz = L::Sub(light.z, z);
      const F ll = L::Sqrt(L::Add(L::Add(L::Mul(lx, lx), r.lyly[i]), L::Mul(lz, lz)));
      const M divide = L::Ne(ll, Zero());
      lx = L::Select(divide, L::Div(lx, ll), lx);
      ly = L::Select(divide, L::Div(ly, ll), ly);
      lz = L::Select(divide, L::Div(lz, ll), lz);
      const F d = L::Max(
          L::Mul(light.multiplier, L::Add(L::Add(L::Mul(nx, lx), L::Mul(ny, ly)), L::Mul(nz, lz))),
          Zero());
      const F diffuseTerm = c.plainSelf ? d : L::Add(L::Mul(d, c.rest), c.self);
      F specularTerm = Zero();
      M noHighlight = L::True();
      if (c.highlights) {
        specularTerm = L::Mul(PowLanes<L>(d, c.exponent, used, c.zeroBelow), c.level);
        noHighlight = L::Eq(specularTerm, Zero());
      }
      for (int ch = 0; ch < c.channels; ++ch) {
        F term = L::Mul(c.diffuse[ch], diffuseTerm);
        if (c.highlights && c.specularKind[ch] != kFactorZero) {
          // The shader's highlight: 0 for a zero term, else Times(specular,
          // term); up to the sign of a zero, specular x term.
          const F highlight =
              c.specularKind[ch] == kFactorOther
                  ? L::Select(noHighlight, Zero(), L::Mul(c.specular[ch], specularTerm))
                  : TimesFactor(specularTerm, c.specularKind[ch], c.specular[ch]);
          term = L::Add(term, highlight);
        }
        term = TimesFactor(term, light.colourKind[ch], light.colour[ch]);
        sum[ch] = i == 0 ? term : L::Add(sum[ch], term);
      }
    }
    // Scaled to channel units and clamped: NaN and every zero give +0.
    for (int ch = 0; ch < c.channels; ++ch)
      out[ch] = L::Max(L::Min(c.maxChannel, L::Mul(sum[ch], c.maxChannel)), Zero());
    for (int ch = c.channels; ch < 3; ++ch) out[ch] = out[0];
  }

  // N pixels from p, one int lane vector a channel, and back: at 8 bits the
  // channels are the bytes of each pixel's 32-bit word.
  template <bool kDeep>
  static void LoadPixels(const unsigned char* p, I c[4]) {
    if (kDeep) {
      L::LoadPixels16(p, c);
      return;
    }
    Split8(L::LoadI(p), c);
  }
  static void Split8(I v, I c[4]) {
    const I m = L::ISet(0xFF);
    c[0] = L::IAnd32(v, m);
    c[1] = L::IAnd32(L::template IShr<8>(v), m);
    c[2] = L::IAnd32(L::template IShr<16>(v), m);
    c[3] = L::template IShr<24>(v);
  }
  static I Join8(const I c[4]) {
    return L::IOr32(L::IOr32(c[0], L::template IShl<8>(c[1])),
                    L::IOr32(L::template IShl<16>(c[2]), L::template IShl<24>(c[3])));
  }
  template <bool kDeep>
  static void StorePixels(unsigned char* p, const I c[4]) {
    if (kDeep)
      L::StorePixels16(p, c);
    else
      L::StoreI(p, Join8(c));
  }
  // The same for the lanes of m alone (lane types with masked loads and
  // stores); the other lanes load as 0 and are left as they are.
  template <bool kDeep>
  static void LoadDrawn(const unsigned char* p, M m, I c[4]) {
    if constexpr (L::kMasked) {
      if (kDeep)
        L::LoadPixels16Masked(p, m, c);
      else
        Split8(L::LoadIMasked(p, m), c);
    }
  }
  template <bool kDeep>
  static void StoreDrawn(unsigned char* p, M m, const I c[4]) {
    if constexpr (L::kMasked) {
      if (kDeep)
        L::StorePixels16Masked(p, m, c);
      else
        L::StoreIMasked(p, m, Join8(c));
    }
  }

  // BlendPixelFB on channel values for the lanes in `draw` with coverage k
  // (> 0 there, at most 1) and a colour already clamped to 0 .. max: k = 1
  // replaces the pixel, an empty pixel takes the colour unscaled with alpha
  // k max, else the colour is blended over the old one.
  [[gnu::always_inline]] static void Blend(I px[4], M draw, F k, const F colour[3], F max) {
    const M full = L::Eq(k, One());
    const F oldAlpha = L::FromI(px[3]);
    const M plain = L::Or(full, L::Eq(oldAlpha, Zero()));
    const F rest = L::Sub(One(), k);
    for (int ch = 0; ch < 3; ++ch) {
      const F blended = L::Add(L::Mul(k, colour[ch]), L::Mul(rest, L::FromI(px[ch])));
      px[ch] = L::ISelect(draw, ToChannel(L::Select(plain, colour[ch], blended), max), px[ch]);
    }
    const F cover = L::Mul(k, max);
    const F alpha = L::Select(full, max, L::Max(cover, oldAlpha));  // empty: cover
    px[3] = L::ISelect(draw, ToChannel(alpha, max), px[3]);
  }

  // The same with k = 1 in every drawn lane.
  [[gnu::always_inline]] static void Replace(I px[4], M draw, const F colour[3], F max) {
    for (int ch = 0; ch < 3; ++ch) px[ch] = L::ISelect(draw, L::TruncI(colour[ch]), px[ch]);
    px[3] = L::ISelect(draw, L::TruncI(max), px[3]);
  }

  // AAEdgePixel's coverage of the lanes at x of row y by one edge, width 1.
  struct Edge {
    bool blank;  // a tenth of a pixel or shorter: covers nothing
    int span;    // the foot's span test: 0 by y (vertical), 1 by x, 2 both
    bool axis;
    F A, B, C, minusB, lengthSquared, length, xmin, xmax, ymin, ymax, x0, y0, x1, y1;
  };
  static void MakeEdge(const EdgeLine& e, Edge& g) {
    g.blank = !(__builtin_fabsf(e.lengthSquared) > 0.01f);
    const float xmin = e.xa < e.xb ? e.xa : e.xb, xmax = e.xa < e.xb ? e.xb : e.xa;
    const float ymin = e.ya < e.yb ? e.ya : e.yb, ymax = e.ya < e.yb ? e.yb : e.ya;
    g.span = __builtin_fabsf(xmax - xmin) < 1e-4f ? 0 : __builtin_fabsf(ymax - ymin) < 1e-4f ? 1 : 2;
    g.axis = e.A == 0.0f || e.B == 0.0f;
    g.A = L::Set(e.A);
    g.B = L::Set(e.B);
    g.C = L::Set(e.C);
    g.minusB = L::Set(-e.B);
    g.lengthSquared = L::Set(e.lengthSquared);
    g.length = L::Set(e.length);
    g.xmin = L::Set(xmin);
    g.xmax = L::Set(xmax);
    g.ymin = L::Set(ymin);
    g.ymax = L::Set(ymax);
    g.x0 = L::Set(e.xa);
    g.y0 = L::Set(e.ya);
    g.x1 = L::Set(e.xb);
    g.y1 = L::Set(e.yb);
  }
  [[gnu::always_inline]] static F Coverage(const Edge& e, F xs, F y, bool lineMode) {
    if (e.blank) return Zero();
    // The foot of the perpendicular, inside or beyond the segment's span,
    // and the coverage by the distance to the line or to the nearer end.
    const F line = L::Add(L::Add(L::Mul(e.A, xs), L::Mul(e.B, y)), e.C);
    const F s = L::Div(line, e.lengthSquared);
    F gx = L::Mul(e.A, s), gy = L::Mul(e.minusB, s);
    if (e.axis) {
      const F small = L::Set(1e-4f);
      gx = L::Select(L::Lt(L::Abs(gx), small), Zero(), gx);
      gy = L::Select(L::Lt(L::Abs(gy), small), Zero(), gy);
    }
    const F fx = L::Sub(xs, gx), fy = L::Add(y, gy);
    M outside;
    if (e.span == 0)
      outside = L::Or(L::Lt(fy, e.ymin), L::Gt(fy, e.ymax));
    else if (e.span == 1)
      outside = L::Or(L::Lt(fx, e.xmin), L::Gt(fx, e.xmax));
    else
      outside = L::Or(L::Or(L::Gt(fx, e.xmax), L::Lt(fx, e.xmin)),
                      L::Or(L::Gt(fy, e.ymax), L::Lt(fy, e.ymin)));
    F dist = L::Div(line, e.length);
    if (lineMode)
      dist = L::Abs(dist);
    else
      dist = L::Select(L::Lt(dist, Zero()),
                       L::Select(L::Lt(L::Neg(dist), L::Set(0.5f)), Zero(), One()), dist);
    const F inner = Clamp01(L::Sub(One(), dist));
    const M nearFirst = L::Gt(L::Add(L::Abs(L::Sub(fx, e.x1)), L::Abs(L::Sub(fy, e.y1))),
                              L::Add(L::Abs(L::Sub(fx, e.x0)), L::Abs(L::Sub(fy, e.y0))));
    const F ex = L::Select(nearFirst, e.x0, e.x1), ey = L::Select(nearFirst, e.y0, e.y1);
    const F dx = L::Sub(xs, ex), dy = L::Sub(y, ey);
    const F outer = Clamp01(L::Sub(One(), L::Sqrt(L::Add(L::Mul(dx, dx), L::Mul(dy, dy)))));
    return L::Select(outside, outer, inner);
  }

  // Lanes x .. x + N - 1 of a run, count of them in it: where their depths
  // and pixels are worked. With masked loads and stores, in place; else in
  // place inside the frame's row (the lanes beyond the run are written back
  // as they were read), and through a copy of the count pixels for a chunk
  // that would reach past the row's end.
  template <bool kDeep>
  struct Chunk {
    static constexpr int kBytes = kDeep ? 8 : 4;
    float* z;
    unsigned char* p;
    float zCopy[L::kMasked ? 1 : N];
    alignas(32) unsigned char pCopy[L::kMasked ? 1 : N * kBytes];
    float* zRow;
    unsigned char* pRow;
    int count;
    bool copied;
    M valid;

    Chunk(const SpanJob& j, int y, int x, int n) {
      zRow = j.zbuff + int64_t(y) * j.zwidth + x;
      pRow = j.dst + (int64_t(y) * j.stride + int64_t(4) * x) * (kDeep ? 2 : 1);
      count = n;
      z = zRow;
      p = pRow;
      valid = n == N ? L::True() : L::FirstLanes(n);
      copied = false;
      if constexpr (!L::kMasked) {
        copied = n < N && int64_t(x) + N > j.zwidth;
        if (copied) {
          std::memset(zCopy, 0, sizeof zCopy);
          std::memset(pCopy, 0, sizeof pCopy);
          std::memcpy(zCopy, zRow, size_t(n) * sizeof(float));
          std::memcpy(pCopy, pRow, size_t(n) * size_t(kBytes));
          z = zCopy;
          p = pCopy;
        }
      }
    }
    F LoadDepth() const {
      if constexpr (L::kMasked) return L::LoadMasked(z, valid);
      return L::Load(z);
    }
    void StoreDepth(M write, F depth, F held) {
      if constexpr (L::kMasked)
        L::StoreMasked(z, write, depth);
      else
        L::Store(z, L::Select(write, depth, held));
    }
    void LoadPixels(I c[4]) const {
      if constexpr (L::kMasked)
        LoadDrawn<kDeep>(p, valid, c);
      else
        SpanLanes::LoadPixels<kDeep>(p, c);
    }
    // Lanes outside `drawn` hold what was read.
    void StorePixels(M drawn, const I c[4]) {
      if constexpr (L::kMasked)
        StoreDrawn<kDeep>(p, drawn, c);
      else
        SpanLanes::StorePixels<kDeep>(p, c);
    }
    void Done() {
      if (!copied) return;
      std::memcpy(zRow, zCopy, size_t(count) * sizeof(float));
      std::memcpy(pRow, pCopy, size_t(count) * size_t(kBytes));
    }
  };

  static M Between(F x, int lo, int hi) {
    return L::And(L::Ge(x, L::Set(float(lo))), L::Le(x, L::Set(float(hi))));
  }

  static void Widen(SpanWritten& w, int x, int bits) {
    const int first = x + __builtin_ctz(unsigned(bits));
    const int last = x + 31 - __builtin_clz(unsigned(bits));
    if (first < w.left) w.left = first;
    if (last > w.right) w.right = last;
  }

  // Packed shading (lane types with compressing stores): the drawn lanes of
  // a triangle's chunks are shaded a full vector at a time, whatever rows
  // they lie on, instead of one part-used vector a chunk. A chunk's depths
  // are tested and written at once; its pixels wait for their colours. The
  // shading reads no pixel and no depth, so shading the lanes of several
  // chunks together and then writing the chunks' pixels in their order gives
  // the same pixels as drawing chunk by chunk.
  static constexpr int kPackLanes = L::kCompress ? 512 : 0;
  static constexpr int kPackChunks = L::kCompress ? 96 : 1;
  struct Pending {  // a chunk whose pixels wait
    F k;            // coverage x opacity of its edge lanes
    unsigned char* p;
    M drawn, edgeDraw, innerDraw;
    int at;  // its first lane in the pack
  };
  struct Pack {
    // Every array has N floats to spare: whole vectors are stored and read.
    float x[kPackLanes + N], y[kPackLanes + N], z[kPackLanes + N];
    float colour[3][kPackLanes + N];
    Pending chunks[kPackChunks];
    int lanes = 0, count = 0;
  };

  // A chunk's pixels from its colours (the lanes of `drawn`): through the
  // chunk, or in place at p (masked lanes only).
  template <bool kDeep>
  [[gnu::always_inline]] static void WritePixels(const Consts& c, unsigned char* p, M drawn,
                                                 M edgeDraw, M innerDraw, F k, const F colour[3],
                                                 Chunk<kDeep>* ch) {
    I px[4];
    if (L::kMasked && L::Bits(edgeDraw) == 0 && c.replaces) {
      for (I& v : px) v = L::ISet(0);  // every drawn lane is replaced
    } else if (ch != nullptr) {
      ch->LoadPixels(px);
    } else {
      LoadDrawn<kDeep>(p, drawn, px);
    }
    if (L::Bits(edgeDraw) != 0) Blend(px, edgeDraw, L::Min(One(), k), colour, c.maxChannel);
    if (L::Bits(innerDraw) != 0) {
      if (c.replaces)
        Replace(px, innerDraw, colour, c.maxChannel);
      else
        Blend(px, innerDraw, c.interiorCoverage, colour, c.maxChannel);
    }
    if (ch != nullptr)
      ch->StorePixels(drawn, px);
    else
      StoreDrawn<kDeep>(p, drawn, px);
  }

  // Shades the pack's lanes and writes its chunks' pixels in order.
  template <bool kDeep>
  static void FlushPack(const Consts& c, Pack& pack) {
    if constexpr (L::kCompress) {
      for (int at = 0; at < pack.lanes; at += N) {
        const int m = pack.lanes - at < N ? pack.lanes - at : N;
        const M lanes = m == N ? L::True() : L::FirstLanes(m);
        const F x = L::LoadMasked(pack.x + at, lanes);
        Row r;
        RowOfLanes(c, L::LoadMasked(pack.y + at, lanes), r);
        F colour[3];
        Shade(c, r, x, L::LoadMasked(pack.z + at, lanes), colour, L::Bits(lanes));
        for (int ch = 0; ch < 3; ++ch) L::Store(pack.colour[ch] + at, colour[ch]);
      }
      for (int i = 0; i < pack.count; ++i) {
        const Pending& q = pack.chunks[i];
        F colour[3];
        for (int ch = 0; ch < 3; ++ch) colour[ch] = L::ExpandLoad(q.drawn, pack.colour[ch] + q.at);
        WritePixels<kDeep>(c, q.p, q.drawn, q.edgeDraw, q.innerDraw, q.k, colour, nullptr);
      }
    }
    pack.lanes = 0;
    pack.count = 0;
  }

  // One run. Per lane: the depth test; an edge lane (of a band) blends with
  // its coverage and leaves the depth as it was; an interior lane writes its
  // depth and blends with the opacity. A row's lane in its left band and
  // its interior is the band's pixel, then the interior's: the band puts the
  // old depth back, so the interior's test passes alike and its blend goes
  // over the band's. A lane in the interior and the right band is the
  // interior's alone: the band's test then meets the depth the interior has
  // just written and fails.
  template <bool kDeep, SpanRun::Kind kKind>
  static void RunT(const Consts& c, const SpanJob& j, SpanRun& run, Pack* pack) {
    Row r;
    MakeRow(c, run.row, r);
    Edge left, right;
    if (kKind != SpanRun::kInterior) {
      MakeEdge(run.edge, left);
      if (kKind == SpanRun::kEdge && left.blank) return;  // covers nothing
    }
    if (kKind == SpanRun::kRow) MakeEdge(run.right, right);
    SpanWritten& w = run.written;
    for (int x = run.x0; x <= run.x1; x += N) {
      Chunk<kDeep> ch(j, run.row.y, x, run.x1 - x + 1 < N ? run.x1 - x + 1 : N);
      const F xs = L::Add(L::FromInt(x), L::Iota());
      const F z = Depth(c, r, xs);
      const F held = ch.LoadDepth();
      const M pass = L::And(L::Gt(z, held), ch.valid);
      if (L::Bits(pass) == 0) {
        ch.Done();
        continue;
      }
      M inner = pass, edgeLanes = L::False(), onLeft = pass;
      if (kKind == SpanRun::kEdge) {
        inner = L::False();
        edgeLanes = pass;
      } else if (kKind == SpanRun::kRow) {
        inner = L::And(pass, Between(xs, run.inner0, run.inner1));
        onLeft = L::And(pass, Between(xs, run.left0, run.left1));
        const M onRight = L::AndNot(L::And(pass, Between(xs, run.right0, run.right1)), inner);
        edgeLanes = L::Or(onLeft, onRight);
      }
      F k = Zero();
      M edgeDraw = L::False();
      if (L::Bits(edgeLanes) != 0) {
        F coverage;
        if (kKind == SpanRun::kEdge || L::Bits(L::AndNot(edgeLanes, onLeft)) == 0)
          coverage = Coverage(left, xs, r.y, c.lineMode);
        else if (L::Bits(onLeft) == 0)
          coverage = Coverage(right, xs, r.y, c.lineMode);
        else
          coverage = L::Select(onLeft, Coverage(left, xs, r.y, c.lineMode),
                               Coverage(right, xs, r.y, c.lineMode));
        k = L::Mul(coverage, c.opacity);
        edgeDraw = L::And(edgeLanes, L::And(L::Gt(coverage, Zero()), L::Gt(k, Zero())));
      }
      if (kKind != SpanRun::kEdge && L::Bits(inner) != 0) ch.StoreDepth(inner, z, held);
      const M innerDraw = c.draws ? inner : L::False();
      const M drawn = L::Or(edgeDraw, innerDraw);
      const int bits = L::Bits(drawn);
      if (bits != 0) {
        if constexpr (L::kCompress) {
          if (pack->lanes + N > kPackLanes || pack->count == kPackChunks) FlushPack<kDeep>(c, *pack);
          pack->chunks[pack->count++] = Pending{k, ch.p, drawn, edgeDraw, innerDraw, pack->lanes};
          L::CompressStore(pack->x + pack->lanes, drawn, xs);
          L::CompressStore(pack->y + pack->lanes, drawn, r.y);
          L::CompressStore(pack->z + pack->lanes, drawn, z);
          pack->lanes += __builtin_popcount(unsigned(bits));
        } else {
          F colour[3];
          Shade(c, r, xs, z, colour, bits);
          WritePixels<kDeep>(c, ch.p, drawn, edgeDraw, innerDraw, k, colour, &ch);
        }
        Widen(w, x, bits);
      }
      ch.Done();
    }
  }

  template <bool kDeep>
  static void RunsT(const SpanJob& j, SpanRun* runs, int count) {
    Consts c;
    Prepare(j, c);
    Pack pack;  // unused without compressing stores
    Pack* packed = L::kCompress ? &pack : nullptr;
    for (int i = 0; i < count; ++i) {
      SpanRun& run = runs[i];
      run.written = SpanWritten{INT32_MAX, INT32_MIN};
      switch (run.kind) {
        case SpanRun::kInterior: RunT<kDeep, SpanRun::kInterior>(c, j, run, packed); break;
        case SpanRun::kEdge: RunT<kDeep, SpanRun::kEdge>(c, j, run, packed); break;
        case SpanRun::kRow: RunT<kDeep, SpanRun::kRow>(c, j, run, packed); break;
      }
    }
    FlushPack<kDeep>(c, pack);
  }

  static void Runs(const SpanJob& j, SpanRun* runs, int count) {
    if (j.deep)
      RunsT<true>(j, runs, count);
    else
      RunsT<false>(j, runs, count);
  }

  // CompositeLayerRect over a row. A layer pixel of alpha max replaces the
  // frame pixel and becomes the colour of the recorded fragment and of what
  // lies under it (their alphas stay); alpha 0 changes nothing; a partly
  // covered one is stored unblended over an empty frame pixel, else blended
  // over what lies under its surface (the frame pixel for a new surface,
  // which is then recorded, or the recorded under colour with the greater
  // of the two coverages).
  template <bool kDeep>
  static void CompositeT(const CompositeRow& r) {
    const int bytes = kDeep ? 8 : 4;
    const int64_t offset = r.index * (kDeep ? 2 : 1);
    const I max = L::ISet(r.maxChannel), zero = L::ISet(0);
    for (int x = 0; x < r.count; x += N) {
      const int n = r.count - x < N ? r.count - x : N;
      // In place inside the row (lanes beyond the rectangle are written back
      // as read), else through a copy of the n pixels.
      const bool copied = n < N && x + N > r.room;
      unsigned char* at[4] = {r.edge, r.dst, r.under, r.frag};
      alignas(32) unsigned char copy[4][N * 8];
      unsigned char* p[4];
      for (int b = 0; b < 4; ++b) {
        p[b] = at[b] + offset + int64_t(x) * bytes;
        if (copied) {
          std::memset(copy[b], 0, sizeof copy[b]);
          std::memcpy(copy[b], p[b], size_t(n) * size_t(bytes));
          p[b] = copy[b];
        }
      }
      I e[4];
      if (kDeep) {
        LoadPixels<kDeep>(p[0], e);
      } else {
        e[0] = L::LoadI(p[0]);  // whole pixels; only the alpha is split off
        e[3] = L::template IShr<24>(e[0]);
      }
      const M valid = n == N ? L::True() : L::FirstLanes(n);
      const M full = L::And(L::IEq(e[3], max), valid);
      const M partial = L::AndNot(L::AndNot(valid, full), L::IEq(e[3], zero));
      const int fullBits = L::Bits(full);
      if (L::Bits(partial) != 0) {
        if (!kDeep) LoadPixels<kDeep>(p[0], e);
        Merge<kDeep>(p, e, full, partial, max);
      } else if (fullBits == 0) {
        continue;  // nothing drawn here
      } else if (!kDeep) {
        // Whole 32-bit pixels: the layer pixel is the new frame pixel as it
        // stands; the fragment and under colours take its three channels.
        const I colour = L::ISet(0x00FFFFFF), alpha = L::ISet(int(0xFF000000u));
        const I rgb = L::IAnd32(e[0], colour);
        L::StoreI(p[1], L::ISelect(full, e[0], L::LoadI(p[1])));
        for (int b = 2; b < 4; ++b) {
          const I old = L::LoadI(p[b]);
          L::StoreI(p[b], L::ISelect(full, L::IOr32(rgb, L::IAnd32(old, alpha)), old));
        }
      } else {
        Merge<kDeep>(p, e, full, L::False(), max);
      }
      if (copied)
        for (int b = 1; b < 4; ++b)
          std::memcpy(at[b] + offset + int64_t(x) * bytes, copy[b], size_t(n) * size_t(bytes));
    }
  }

  // The merge of CompositeT by channels: p = edge, frame, under, fragment
  // pixels; e the edge pixels' channels.
  template <bool kDeep>
  static void Merge(unsigned char* const p[4], const I e[4], M full, M partial, I max) {
    I d[4], u[4], f[4];
    LoadPixels<kDeep>(p[1], d);
    LoadPixels<kDeep>(p[2], u);
    LoadPixels<kDeep>(p[3], f);
    const F maxF = L::FromI(max);
    const F a = L::FromI(e[3]), da = L::FromI(d[3]), fa = L::FromI(f[3]);
    // Partly covered over an empty frame pixel: stored unblended.
    const M over = L::And(partial, L::Eq(da, Zero()));
    const M blend = L::AndNot(partial, over);
    // Another surface: a channel of the recorded fragment 20 levels (of 8
    // bits) or more from the layer's.
    const F scale = L::Set(kDeep ? 1.0f / 256.0f : 1.0f);
    F greatest = Zero();
    for (int c = 0; c < 3; ++c) {
      const F diff = L::Mul(L::Abs(L::Sub(L::FromI(f[c]), L::FromI(e[c]))), scale);
      greatest = L::Select(L::Gt(diff, greatest), diff, greatest);
    }
    const M fresh = L::Or(L::Eq(fa, Zero()), L::Ge(greatest, L::Set(20.0f)));
    const M record = L::And(blend, fresh);      // a new surface: recorded
    const M same = L::AndNot(blend, fresh);     // the same surface
    const M greater = L::Gt(a, fa);
    const F used = L::Select(L::Or(fresh, greater), a, fa);
    const F t = L::Div(used, maxF), rest = L::Sub(One(), t);
    I outD[4], outU[4], outF[4];
    for (int c = 0; c < 3; ++c) {
      const F under = L::Select(fresh, L::FromI(d[c]), L::FromI(u[c]));
      const I blended = ToChannel(L::Add(L::Mul(t, L::FromI(e[c])), L::Mul(rest, under)), maxF);
      outD[c] = L::ISelect(L::Or(full, over), e[c], L::ISelect(blend, blended, d[c]));
      outU[c] = L::ISelect(full, e[c], L::ISelect(record, d[c], u[c]));
      outF[c] = L::ISelect(L::Or(full, record), e[c], f[c]);
    }
    const I alpha = ToChannel(L::Select(L::Gt(used, da), used, da), maxF);
    outD[3] = L::ISelect(full, max, L::ISelect(over, e[3], L::ISelect(blend, alpha, d[3])));
    outU[3] = u[3];
    outF[3] = L::ISelect(L::Or(record, L::And(same, greater)), e[3], f[3]);
    StorePixels<kDeep>(p[1], outD);
    StorePixels<kDeep>(p[2], outU);
    StorePixels<kDeep>(p[3], outF);
  }

  static void Composite(const CompositeRow& r) {
    if (r.deep)
      CompositeT<true>(r);
    else
      CompositeT<false>(r);
  }

  static void Power(const float* x, const float* y, float* out, int n) {
    for (int64_t i = 0; i < n; i += N) {
      float a[N] = {}, b[N] = {}, c[N];
      const int m = n - i < N ? int(n - i) : N;
      std::memcpy(a, x + i, size_t(m) * sizeof(float));
      std::memcpy(b, y + i, size_t(m) * sizeof(float));
      L::Store(c, PowLanes<L>(L::Load(a), L::Load(b)));
      std::memcpy(out + i, c, size_t(m) * sizeof(float));
    }
  }
};
