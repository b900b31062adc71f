// The kernels of span_kernels.h written once over a lane type L
// (lanes_sse2.h, lanes_avx2.h): N pixels of a run at a time, each lane the
// same IEEE operations, in the same order, as the per-pixel code it stands
// for (ZTestWrite and the weights of the converters, the default per-pixel
// function of render_one_pixel.cpp, AAEdgePixel and BlendPixelFB of
// pixel_writers.cpp), so every path gives the same bits. Where the scalar
// code branches per pixel, both sides are computed and the lane's side is
// selected.
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
  static F Clamp01(F v) {
    return L::Select(L::Gt(v, Zero()), L::Select(L::Gt(v, One()), One(), v), Zero());
  }

  // A channel value from a float: !(v > 0) gives 0, v >= max gives max,
  // else truncated (the writers' ToChannel).
  static I ToChannel(F v, F max) {
    return L::TruncI(L::Select(L::Gt(v, Zero()), L::Select(L::Ge(v, max), max, v), Zero()));
  }

  // The shader's Times with a factor b the same in every lane: a * b, but 0
  // when either factor is 0 (also against an infinite or NaN a). The
  // shader's form (the product unless it is 0 or NaN, then 0 for a zero
  // factor, else the product) gives these same bits.
  static F TimesConstant(F a, float b) {
    if (b == 0.0f) return Zero();
    return L::Select(L::Eq(a, Zero()), Zero(), L::Mul(a, L::Set(b)));
  }

  // Depth on the plane at x of the row.
  static F Depth(const SpanJob& j, const SpanRow& r, F x) {
    if (j.flatDepth) return L::Set(j.z0);
    return L::Div(L::Neg(L::Add(L::Set(r.depth), L::Mul(L::Set(j.nx), x))), L::Set(j.nz));
  }

  // The interpolated normal at x of the row (weights clamped at 0 and
  // divided by their sum when it is above 0; linear or quadratic field).
  static void Normal(const SpanJob& j, const SpanRow& r, F x, F n[3]) {
    F w[3];
    const F det = L::Set(r.det);
    for (int k = 0; k < 3; ++k) {
      const F q = L::Div(L::Add(L::Set(r.k[k]), L::Mul(x, L::Set(r.c[k]))), det);
      w[k] = L::Select(L::Lt(q, Zero()), Zero(), q);  // NaN stays
    }
    const F s = L::Add(L::Add(L::Abs(w[0]), L::Abs(w[1])), L::Abs(w[2]));
    const M positive = L::Gt(s, Zero());
    for (int k = 0; k < 3; ++k) w[k] = L::Select(positive, L::Div(w[k], s), w[k]);
    if (j.quadratic) {
      const F a = L::Mul(w[0], w[0]), b = L::Mul(w[1], w[1]), c = L::Mul(w[2], w[2]);
      const F two = L::Set(2.0f);
      const F ab = L::Mul(L::Mul(two, w[0]), w[1]);
      const F bc = L::Mul(L::Mul(two, w[1]), w[2]);
      const F ca = L::Mul(L::Mul(two, w[2]), w[0]);
      for (int k = 0; k < 3; ++k) {
        F v = L::Add(L::Mul(a, L::Set(j.n[0][k])), L::Mul(b, L::Set(j.n[1][k])));
        v = L::Add(v, L::Mul(c, L::Set(j.n[2][k])));
        v = L::Add(v, L::Mul(ab, L::Set(j.mid[0][k])));
        v = L::Add(v, L::Mul(bc, L::Set(j.mid[1][k])));
        n[k] = L::Add(v, L::Mul(ca, L::Set(j.mid[2][k])));
      }
      return;
    }
    for (int k = 0; k < 3; ++k)
      n[k] = L::Add(L::Add(L::Mul(w[0], L::Set(j.n[0][k])), L::Mul(w[1], L::Set(j.n[1][k]))),
                    L::Mul(w[2], L::Set(j.n[2][k])));
  }

  // The default per-pixel function without texture slots or glass, for the
  // pixels at (px, py) relative to the centre with depth pz: the channel
  // values out (0 .. maxChannel). The opacity is the job's. Only the lanes
  // of `used` (bit i for lane i) need be right.
  static void Shade(const SpanJob& j, F px, F py, F pz, const F normal[3], F out[3], int used) {
    F nx, ny, nz;
    if (j.interpolated) {
      nx = normal[0];
      ny = normal[1];
      nz = normal[2];
      if (j.backFacePass) {
        nx = L::Neg(nx);
        ny = L::Neg(ny);
        nz = L::Neg(nz);
      }
      if (j.doubleSided) nz = L::Select(L::Lt(nz, Zero()), L::Neg(nz), nz);
      const F length = L::Sqrt(L::Add(L::Add(L::Mul(nx, nx), L::Mul(ny, ny)), L::Mul(nz, nz)));
      const M divide = L::Ne(length, Zero());
      nx = L::Select(divide, L::Div(nx, length), nx);
      ny = L::Select(divide, L::Div(ny, length), ny);
      nz = L::Select(divide, L::Div(nz, length), nz);
    } else {
      nx = L::Set(j.fixedNormal[0]);
      ny = L::Set(j.fixedNormal[1]);
      nz = L::Set(j.fixedNormal[2]);
    }
    for (int c = 0; c < 3; ++c) out[c] = Zero();
    if (j.lights == nullptr) return;  // no light: black
    const F self = L::Set(j.selfIllum), rest = L::Set(1.0f - j.selfIllum);
    for (int i = 0; i < j.lightCount; ++i) {
      const light3ds& light = j.lights[i];
      F lx = L::Sub(L::Set(light.x), px), ly = L::Sub(L::Set(light.y), py),
        lz = L::Sub(L::Set(light.z), pz);
      const F ll = L::Sqrt(L::Add(L::Add(L::Mul(lx, lx), L::Mul(ly, ly)), L::Mul(lz, lz)));
      const M divide = L::Ne(ll, Zero());
      lx = L::Select(divide, L::Div(lx, ll), lx);
      ly = L::Select(divide, L::Div(ly, ll), ly);
      lz = L::Select(divide, L::Div(lz, ll), lz);
      F d = L::Mul(L::Set(light.multiplier),
                   L::Add(L::Add(L::Mul(nx, lx), L::Mul(ny, ly)), L::Mul(nz, lz)));
      d = L::Select(L::Gt(d, Zero()), d, Zero());
      const F diffuseTerm = L::Add(L::Mul(d, rest), self);
      // Without a highlight (level 0, or the power 0) its term is 0.
      const bool highlights = j.level != 0.0f;
      F specularTerm = Zero();
      M noHighlight = L::True();
      if (highlights) {
        specularTerm = L::Mul(PowLanes<L>(d, L::Set(j.exponent), used), L::Set(j.level));
        noHighlight = L::Eq(specularTerm, Zero());
      }
      for (int c = 0; c < 3; ++c) {
        // specular x term, 0 for a zero factor on either side.
        F highlight = Zero();
        if (highlights && j.specular[c] != 0.0f)
          highlight = L::Select(noHighlight, Zero(), L::Mul(L::Set(j.specular[c]), specularTerm));
        out[c] = L::Add(out[c], TimesConstant(L::Add(L::Mul(L::Set(j.diffuse[c]), diffuseTerm),
                                                     highlight),
                                              light.color[c]));
      }
    }
    const F max = L::Set(j.maxChannel);
    for (int c = 0; c < 3; ++c) {
      const F scaled = L::Mul(out[c], max);
      out[c] = L::Select(L::Gt(scaled, Zero()), L::Select(L::Gt(scaled, max), max, scaled), Zero());
    }
  }

  // N pixels from p, one int lane vector a channel, and back: at 8 bits the
  // channels are the bytes of each pixel's 32-bit word.
  template <bool kDeep>
  static void LoadPixels(const unsigned char* p, I c[4]) {
    if (kDeep) {
      L::LoadPixels16(p, c);
      return;
    }
    const I v = L::LoadI(p), m = L::ISet(0xFF);
    c[0] = L::IAnd32(v, m);
    c[1] = L::IAnd32(L::template IShr<8>(v), m);
    c[2] = L::IAnd32(L::template IShr<16>(v), m);
    c[3] = L::template IShr<24>(v);
  }
  template <bool kDeep>
  static void StorePixels(unsigned char* p, const I c[4]) {
    if (kDeep) {
      L::StorePixels16(p, c);
      return;
    }
    L::StoreI(p, L::IOr32(L::IOr32(c[0], L::template IShl<8>(c[1])),
                          L::IOr32(L::template IShl<16>(c[2]), L::template IShl<24>(c[3]))));
  }

  // BlendPixelFB for the lanes in `draw` with coverage k (> 0 there): k = 1
  // replaces the pixel, an empty pixel takes the colour unscaled with alpha
  // k max, else the colour is blended over the old one.
  template <bool kDeep>
  static void Blend(const SpanJob& j, unsigned char* p, M draw, F k, const F colour[3]) {
    I old[4];
    LoadPixels<kDeep>(p, old);
    const F max = L::Set(j.maxChannel);
    k = L::Select(L::Gt(k, One()), One(), k);
    const M full = L::Eq(k, One());
    const F oldAlpha = L::FromI(old[3]);
    const M plain = L::Or(full, L::Eq(oldAlpha, Zero()));
    const F rest = L::Sub(One(), k);
    I out[4];
    for (int c = 0; c < 3; ++c) {
      const F blended = L::Add(L::Mul(k, colour[c]), L::Mul(rest, L::FromI(old[c])));
      out[c] = L::ISelect(draw, ToChannel(L::Select(plain, colour[c], blended), max), old[c]);
    }
    const F cover = L::Mul(k, max);
    const F alpha =
        L::Select(full, max, L::Select(L::Gt(cover, oldAlpha), cover, oldAlpha));  // empty: cover
    out[3] = L::ISelect(draw, ToChannel(alpha, max), old[3]);
    StorePixels<kDeep>(p, out);
  }

  // The same with k = 1 in every drawn lane.
  template <bool kDeep>
  static void Replace(const SpanJob& j, unsigned char* p, M draw, const F colour[3]) {
    I old[4];
    LoadPixels<kDeep>(p, old);
    const F max = L::Set(j.maxChannel);
    I out[4];
    for (int c = 0; c < 3; ++c) out[c] = L::ISelect(draw, ToChannel(colour[c], max), old[c]);
    out[3] = L::ISelect(draw, L::ISet(int(j.maxChannel)), old[3]);
    StorePixels<kDeep>(p, out);
  }

  static void Widen(SpanWritten& w, int x, int bits) {
    const int first = x + __builtin_ctz(unsigned(bits));
    const int last = x + 31 - __builtin_clz(unsigned(bits));
    if (first < w.left) w.left = first;
    if (last > w.right) w.right = last;
  }

  // One chunk of a run: N pixels from x, n of them in the run. Inside the
  // frame's row the depths and pixels are worked in place (the lanes beyond
  // the run are written back as they were read); a chunk that would reach
  // past the row's end works on a copy of its n pixels.
  struct Chunk {
    float* z;
    unsigned char* p;
    float zCopy[N];
    alignas(32) unsigned char pCopy[N * 8];
    float* zRow;
    unsigned char* pRow;
    int n, bytes;
    bool copied;

    Chunk(const SpanJob& j, int y, int x, int count, bool deep) {
      bytes = deep ? 8 : 4;
      zRow = j.zbuff + int64_t(y) * j.zwidth + x;
      pRow = j.dst + (int64_t(y) * j.stride + int64_t(4) * x) * (deep ? 2 : 1);
      n = count;
      z = zRow;
      p = pRow;
      copied = n < N && int64_t(x) + N > j.zwidth;
      if (copied) {
        std::memset(zCopy, 0, sizeof zCopy);
        std::memset(pCopy, 0, sizeof pCopy);
        std::memcpy(zCopy, zRow, size_t(n) * sizeof(float));
        std::memcpy(pCopy, pRow, size_t(n) * size_t(bytes));
        z = zCopy;
        p = pCopy;
      }
    }
    void Done() {
      if (!copied) return;
      std::memcpy(zRow, zCopy, size_t(n) * sizeof(float));
      std::memcpy(pRow, pCopy, size_t(n) * size_t(bytes));
    }
  };

  template <bool kDeep>
  static void InteriorT(const SpanJob& j, const SpanRow& r, int x0, int x1, SpanWritten& w) {
    const F y = L::FromInt(r.y);
    const F py = L::Sub(y, L::Set(j.centerY));
    // BlendPixelFB's coverage: the opacity, at most 1; none when not above 0.
    const bool draws = j.opacity > 0.0f;
    const float k = j.opacity > 1.0f ? 1.0f : j.opacity;
    for (int x = x0; x <= x1; x += N) {
      Chunk ch(j, r.y, x, x1 - x + 1 < N ? x1 - x + 1 : N, kDeep);
      const F xs = L::Add(L::FromInt(x), L::Iota());
      const M valid = ch.n == N ? L::True() : L::FirstLanes(ch.n);
      const F z = Depth(j, r, xs);
      const F held = L::Load(ch.z);
      const M pass = L::And(L::Gt(z, held), valid);
      const int bits = L::Bits(pass);
      if (bits != 0) {
        L::Store(ch.z, L::Select(pass, z, held));
        if (draws) {
          F normal[3], colour[3];
          if (j.interpolated) Normal(j, r, xs, normal);
          Shade(j, L::Sub(xs, L::Set(j.centerX)), py, z, normal, colour, bits);
          if (k == 1.0f)
            Replace<kDeep>(j, ch.p, pass, colour);
          else
            Blend<kDeep>(j, ch.p, pass, L::Set(k), colour);
          Widen(w, x, bits);
        }
      }
      ch.Done();
    }
  }

  template <bool kDeep>
  static void EdgeT(const SpanJob& j, const SpanRow& r, int x0, int x1, const EdgeLine& e,
                    SpanWritten& w) {
    // Edges of a tenth of a pixel or less cover nothing.
    if (!(__builtin_fabsf(e.lengthSquared) > 0.01f)) return;
    const F y = L::FromInt(r.y);
    const F py = L::Sub(y, L::Set(j.centerY));
    const float xmin = e.xa < e.xb ? e.xa : e.xb, xmax = e.xa < e.xb ? e.xb : e.xa;
    const float ymin = e.ya < e.yb ? e.ya : e.yb, ymax = e.ya < e.yb ? e.yb : e.ya;
    const int span = __builtin_fabsf(xmax - xmin) < 1e-4f   ? 0   // vertical: y decides
                     : __builtin_fabsf(ymax - ymin) < 1e-4f ? 1   // horizontal: x decides
                                                            : 2;
    const bool axis = e.A == 0.0f || e.B == 0.0f;
    const F A = L::Set(e.A), B = L::Set(e.B), C = L::Set(e.C), minusB = L::Set(-e.B);
    const F opacity = L::Set(j.opacity);
    for (int x = x0; x <= x1; x += N) {
      Chunk ch(j, r.y, x, x1 - x + 1 < N ? x1 - x + 1 : N, kDeep);
      const F xs = L::Add(L::FromInt(x), L::Iota());
      const M valid = ch.n == N ? L::True() : L::FirstLanes(ch.n);
      const F z = Depth(j, r, xs);
      // The depth test; the edge writer puts the old depth back, so the
      // depth buffer is not written at all.
      const M pass = L::And(L::Gt(z, L::Load(ch.z)), valid);
      if (L::Bits(pass) == 0) {
        ch.Done();
        continue;
      }
      // AAEdgePixel: the foot of the perpendicular, inside or beyond the
      // segment's span, and the coverage by the distance to the line or to
      // the nearer end point.
      const F line = L::Add(L::Add(L::Mul(A, xs), L::Mul(B, y)), C);
      const F s = L::Div(line, L::Set(e.lengthSquared));
      F gx = L::Mul(A, s), gy = L::Mul(minusB, s);
      if (axis) {
        const F small = L::Set(1e-4f);
        gx = L::Select(L::Lt(L::Abs(gx), small), Zero(), gx);
        gy = L::Select(L::Lt(L::Abs(gy), small), Zero(), gy);
      }
      const F fx = L::Sub(xs, gx), fy = L::Add(y, gy);
      const F vxmin = L::Set(xmin), vxmax = L::Set(xmax), vymin = L::Set(ymin),
              vymax = L::Set(ymax);
      M outside;
      if (span == 0)
        outside = L::Or(L::Lt(fy, vymin), L::Gt(fy, vymax));
      else if (span == 1)
        outside = L::Or(L::Lt(fx, vxmin), L::Gt(fx, vxmax));
      else
        outside = L::Or(L::Or(L::Gt(fx, vxmax), L::Lt(fx, vxmin)),
                        L::Or(L::Gt(fy, vymax), L::Lt(fy, vymin)));
      F dist = L::Div(line, L::Set(e.length));
      if (j.lineMode)
        dist = L::Abs(dist);
      else
        dist = L::Select(L::Lt(dist, Zero()),
                         L::Select(L::Lt(L::Neg(dist), L::Set(0.5f)), Zero(), One()), dist);
      const F inner = Clamp01(L::Sub(One(), dist));
      const F x0v = L::Set(e.xa), y0v = L::Set(e.ya), x1v = L::Set(e.xb), y1v = L::Set(e.yb);
      const M nearFirst =
          L::Gt(L::Add(L::Abs(L::Sub(fx, x1v)), L::Abs(L::Sub(fy, y1v))),
                L::Add(L::Abs(L::Sub(fx, x0v)), L::Abs(L::Sub(fy, y0v))));
      const F ex = L::Select(nearFirst, x0v, x1v), ey = L::Select(nearFirst, y0v, y1v);
      const F dx = L::Sub(xs, ex), dy = L::Sub(y, ey);
      const F outer = Clamp01(L::Sub(One(), L::Sqrt(L::Add(L::Mul(dx, dx), L::Mul(dy, dy)))));
      const F coverage = L::Select(outside, outer, inner);
      const F k = L::Mul(coverage, opacity);
      const M draw = L::And(pass, L::And(L::Gt(coverage, Zero()), L::Gt(k, Zero())));
      const int bits = L::Bits(draw);
      if (bits != 0) {
        F normal[3], colour[3];
        if (j.interpolated) Normal(j, r, xs, normal);
        Shade(j, L::Sub(xs, L::Set(j.centerX)), py, z, normal, colour, bits);
        Blend<kDeep>(j, ch.p, draw, k, colour);
        Widen(w, x, bits);
      }
      ch.Done();
    }
  }

  static void Interior(const SpanJob& j, const SpanRow& r, int x0, int x1, SpanWritten& w) {
    if (j.deep)
      InteriorT<true>(j, r, x0, x1, w);
    else
      InteriorT<false>(j, r, x0, x1, w);
  }

  static void Edge(const SpanJob& j, const SpanRow& r, int x0, int x1, const EdgeLine& e,
                   SpanWritten& w) {
    if (j.deep)
      EdgeT<true>(j, r, x0, x1, e, w);
    else
      EdgeT<false>(j, r, x0, x1, e, w);
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
