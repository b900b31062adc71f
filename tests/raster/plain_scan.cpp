// The Flat and Phong draw modes as their rules read (see plain_scan.h). The
// pixel writers, the edge layer's clear and merge and the set-up's top
// vertex and winding are the module's own; everything between them is
// written out here.
#include "tests/raster/plain_scan.h"

#include <algorithm>
#include <cmath>

namespace {

int Trunc(float v) { return int(v); }

struct Scene {
  unsigned char* src;
  int centerX, centerY;
  int materialCount;
  material3ds* materials;
  __Texture* textures;
  int lightCount;
  light3ds* lights;
  GlassProp* glass;
};

struct Line {
  float A, B, C, lengthSquared, length, xa, ya, xb, yb;
  Line() = default;
  Line(const __Point3ds& a, const __Point3ds& b) : xa(a.x), ya(a.y), xb(b.x), yb(b.y) {
    LineCoefficients(xa, ya, xb, yb, A, B, C);
    lengthSquared = A * A + B * B;
    length = std::sqrt(lengthSquared);
  }
};

enum class Pass { Left, Interior, Right };

struct Triangle {
  const Scene* s;
  unsigned char* dst;
  __Triangle3ds* tri;
  bool phong;
  __Point3ds v[3];
  EdgeRecord e[3];
  int bottom;
  float nx, ny, nz, d, det;
  unsigned char allTextured;
  __Point unit[3], mid[3];
  bool quadratic;
  __Point normal{};
  float u = 0.0f, tv = 0.0f, c0 = 0.0f, c1 = 0.0f, c2 = 0.0f;
  __PrevInfo prev{};

  const __Point3ds& A(int i) const { return v[e[i].start]; }
  const __Point3ds& B(int i) const { return v[e[i].end]; }

  // The depth on the plane and the depth test.
  bool DepthTest(int x, int y, float& z, int& index, float& oldZ) const {
    z = std::fabs(nz) < 0.01f ? v[0].z : -(d + ny * float(y) + nx * float(x)) / nz;
    if (x < 0 || y < 0 || x >= Zwidth || y >= Zheight) return false;
    index = x + y * Zwidth;
    if (z <= ZBuff[index]) return false;
    oldZ = ZBuff[index];
    ZBuff[index] = z;
    return true;
  }

  // Barycentric weights from three determinants, clamped, divided by their sum.
  void Weights(float x, float y, float w[3]) const {
    const Matrix3 m2{{v[0].x, v[1].x, x, v[0].y, v[1].y, y, 1, 1, 1}};
    const Matrix3 m0{{v[1].x, v[2].x, x, v[1].y, v[2].y, y, 1, 1, 1}};
    const Matrix3 m1{{v[2].x, v[0].x, x, v[2].y, v[0].y, y, 1, 1, 1}};
    w[0] = Matrix3Det(m0) / det;
    w[1] = Matrix3Det(m1) / det;
    w[2] = Matrix3Det(m2) / det;
    for (int k = 0; k < 3; ++k) w[k] = w[k] < 0.0f ? 0.0f : w[k];
    const float sum = std::fabs(w[0]) + std::fabs(w[1]) + std::fabs(w[2]);
    if (sum > 0.0f)
      for (int k = 0; k < 3; ++k) w[k] /= sum;
  }

  // Normal (Phong) and texture coordinates of pixel (x, y).
  void Interpolate(float x, float y) {
    float w[3];
    Weights(x, y, w);
    if (phong) {
      float* n = &normal.x;
      for (int c = 0; c < 3; ++c) {
        const float n0 = (&unit[0].x)[c], n1 = (&unit[1].x)[c], n2 = (&unit[2].x)[c];
        if (quadratic)
          n[c] = w[0] * w[0] * n0 + w[1] * w[1] * n1 + w[2] * w[2] * n2 +
                 2.0f * w[0] * w[1] * (&mid[0].x)[c] + 2.0f * w[1] * w[2] * (&mid[1].x)[c] +
                 2.0f * w[2] * w[0] * (&mid[2].x)[c];
        else
          n[c] = w[0] * n0 + w[1] * n1 + w[2] * n2;
      }
    }
    if (allTextured) {
      u = w[0] * v[0].u + w[1] * v[1].u + w[2] * v[2].u;
      tv = w[0] * v[0].v + w[1] * v[1].v + w[2] * v[2].v;
    }
  }

  float Shade(int x, int y, float z, __PrevInfo* record) {
    const float cx = float(s->centerX), cy = float(s->centerY);
    return _RenderOnePixelFunc(cx, cy, dst, s->src, float(x) - cx, float(y) - cy, z, tri,
                               s->materials, s->materialCount, c0, c1, c2, &normal, allTextured, u,
                               tv, s->textures, s->lightCount, s->lights, record, s->glass, nx, ny,
                               nz, d);
  }

  void Edge(float opacity, int x, int y, float oldZ, int index, const Line& l) {
    AAEdgePixel(opacity, dst, oldZ, index, c0, c1, c2, l.A, l.B, l.C, l.lengthSquared, l.length,
                float(x), float(y), 1.0f, l.xa, l.ya, l.xb, l.yb);
  }

  // A cap (Phong) or edge band (Flat) pixel against record i's edge.
  void EdgeBandPixel(int x, int y, const Line& l) {
    float z, oldZ;
    int index;
    if (!DepthTest(x, y, z, index, oldZ)) return;
    Interpolate(float(x), float(y));
    Edge(Shade(x, y, z, nullptr), x, y, oldZ, index, l);
  }

  // A pixel of a scan line. The Phong record takes every pixel passed: valid
  // but after a drawn right-band pixel; the Flat record is never filled.
  void ScanPixel(int x, int y, Pass pass, const Line& l) {
    float z, oldZ;
    int index;
    const bool visible = DepthTest(x, y, z, index, oldZ);
    if (phong || visible) Interpolate(float(x), float(y));
    if (visible) {
      const float opacity = Shade(x, y, z, &prev);
      if (pass == Pass::Interior)
        BlendPixelFB(dst, c0, c1, c2, x, y, opacity);
      else
        Edge(opacity, x, y, oldZ, index, l);
    }
    if (!phong) return;
    prev = {normal.x, normal.y, normal.z, 1, float(x) - float(s->centerX),
            float(y) - float(s->centerY), u, tv};
    if (visible && pass == Pass::Right) prev.valid = 0;
  }

  // Where the edge a -> b crosses y; a record under a pixel high gives its
  // greater x.
  static float Crossing(const __Point3ds& a, const __Point3ds& b, float y) {
    if (std::fabs(b.y - a.y) >= 1.0f) return a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
    return std::max(a.x, b.x);
  }

  // The right end of the span on line y, searched from record `start`.
  float RightEnd(int start, float y, Line& right, float& extent) const {
    auto holds = [&](int j, float yy, bool falling) {
      const float ta = float(Trunc(A(j).y)), tb = float(Trunc(B(j).y));
      return (ta <= yy && yy <= tb) || (falling && tb <= yy && yy < ta);
    };
    int j = start;
    while (j < 2 && !holds(j, y, true)) ++j;
    const float x = Crossing(A(j), B(j), y);
    right = Line(A(j), B(j));
    const __Point3ds& hi = A(j).y >= B(j).y ? A(j) : B(j);
    const __Point3ds& lo = A(j).y >= B(j).y ? B(j) : A(j);
    const float y2 = lo.x <= hi.x ? y + 1.0f : y - 1.0f;
    int k = start;
    while (k < 2 && !holds(k, y2, false)) ++k;
    extent = std::max(3.0f, std::fabs(Crossing(A(k), B(k), y2) - x));
    return x;
  }

  // How far a cap or band reaches across record i.
  float Reach(int i) const {
    const __Point3ds &a = A(i), &b = B(i);
    return std::fabs(b.y - a.y) >= 1.0f ? 1.5f * std::fabs((a.x - b.x) / (b.y - a.y))
                                        : std::fabs(a.x - b.x) + 1.5f;
  }

  void VertexCap(int i, bool lowerCaps) {
    const __Point3ds &a = A(i), &b = B(i);
    const float w = Reach(i);
    const float Y = lowerCaps ? (a.y < b.y ? a.y : b.y) : (b.y > a.y ? b.y : a.y);
    const int x0 = a.x < b.x ? Trunc(a.x - 1.5f) : Trunc(a.x - w);
    const int x1 = a.x < b.x ? Trunc(a.x + w) : Trunc(a.x + 1.5f);
    for (int y = Trunc(Y - 1.5f); y <= Trunc(Y + 1.5f); ++y)
      for (int x = x0; x <= x1; ++x) EdgeBandPixel(x, y, Line(a, b));
  }

  void EdgeBand(int i) {
    const __Point3ds &a = A(i), &b = B(i);
    const float w = Reach(i);
    for (int y = Trunc(std::min(a.y, b.y) - 1.5f); y <= Trunc(std::max(a.y, b.y) + 1.5f); ++y)
      for (int x = Trunc(std::min(a.x, b.x) - 1.5f); x <= Trunc(std::max(a.x, b.x) + w); ++x)
        EdgeBandPixel(x, y, Line(a, b));
  }

  // Scan line y of record i: left band, interior, right band.
  void ScanLine(int i, int y, float slope, bool quality) {
    const __Point3ds &a = A(i), &b = B(i);
    const float fy = float(y);
    float xl = a.x + (fy - a.y) * slope;
    if (slope == 0.0f)
      xl = std::min(a.x, b.x);
    else if (phong)
      xl = std::max(std::min(a.x, b.x), xl);
    Line right;
    float extentR;
    const float xr = RightEnd(i + 1, fy, right, extentR);
    const float extentL = std::max(3.0f, std::fabs(xl - (a.x + (fy - 1.0f - a.y) * slope)));
    const Line left(a, b);
    prev.valid = 0;
    // Phong: the left band runs to xl + 0.5, the interior stops before xr
    // and the right band starts at xr; Flat: to xl, up to xr, after xr.
    if (quality)
      for (int x = Trunc(xl - extentL); x <= (phong ? xl + 0.5f : xl); ++x)
        ScanPixel(x, y, Pass::Left, left);
    for (int x = Trunc(quality ? xl + 1.0f : xl); phong ? x < xr : x <= xr; ++x)
      ScanPixel(x, y, Pass::Interior, left);
    if (quality)
      for (int x = Trunc(phong ? xr : xr + 1.0f); x <= xr + extentR; ++x)
        ScanPixel(x, y, Pass::Right, right);
  }

  void Walk() {
    const bool quality = _Quality != 0;
    bool lowerCaps = false;
    for (int i = 0;;) {
      if (quality) {
        if (phong)
          VertexCap(i, lowerCaps);
        else
          EdgeBand(i);
        if (std::fabs(B(i).y - A(i).y) < 1.0f) ++i;
      }
      if (i >= 2) return;
      const float dy = B(i).y - A(i).y;
      const float slope = std::fabs(dy) >= 1.0f ? (B(i).x - A(i).x) / dy : 0.0f;
      int y = Trunc(A(i).y);
      // Phong: down to the line above the record's end; Flat: while yb <= y.
      for (; phong ? Trunc(B(i).y) < y : B(i).y <= float(y); --y) ScanLine(i, y, slope, quality);
      ++i;
      if (bottom < y) continue;
      prev.valid = 0;
      lowerCaps = true;
      if (!quality) return;
    }
  }
};

// Set-up and scan conversion of one triangle into dst.
void DrawTriangle(const Scene& s, bool phong, unsigned char* dst, __Triangle3ds* tri,
                  __Point3ds* points) {
  Triangle t{};
  t.s = &s;
  t.dst = dst;
  t.tri = tri;
  t.phong = phong;
  for (int k = 0; k < 3; ++k) {
    t.v[k] = points[tri->vert[k]];
    t.v[k].x += float(s.centerX);
    t.v[k].y += float(s.centerY);
  }
  t.e[0] = {0, 1, 0};
  t.e[1] = {1, 2, 0};
  t.e[2] = {2, 0, 0};
  float minY;
  RotateEdgeList(3, TopBottomVertex(3, t.v, t.e, minY), t.e);
  if (!FixWinding(t.e, t.v)) return;
  PlaneNormal3(t.v, t.nx, t.ny, t.nz);
  if (t.nz > 0.0f) return;
  float length = std::sqrt(t.nx * t.nx + t.ny * t.ny + t.nz * t.nz);
  if (length == 0.0f) length = 1.0f;
  t.nx /= length;
  t.ny /= length;
  t.nz /= length;
  t.d = -(t.nx * t.v[0].x + t.ny * t.v[0].y + t.nz * t.v[0].z);
  t.bottom = Trunc(minY);

  const __Point3ds* v = t.v;
  t.allTextured = v[0].textured && v[1].textured && v[2].textured;
  t.det = Matrix3Det(Matrix3{{v[0].x, v[1].x, v[2].x, v[0].y, v[1].y, v[2].y, 1, 1, 1}});
  if (t.det == 0.0f) return;
  for (int k = 0; k < 3; ++k) {
    const __Point3ds &a = v[k], &b = v[(k + 1) % 3];
    float n[3] = {a.nx, a.ny, a.nz};
    const float l = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (l > 0.0f)
      for (float& c : n) c /= l;
    t.unit[k] = {n[0], n[1], n[2]};
    t.mid[k] = {(a.nx + b.nx) / 2.0f, (a.ny + b.ny) / 2.0f, (a.nz + b.nz) / 2.0f};
  }
  t.quadratic = _Quality && _UsePhong2;
  if (!phong) t.normal = {-t.nx, -t.ny, -t.nz};
  t.Walk();
}

}  // namespace

void PlainScene(int mode, unsigned char* dst, unsigned char* src, int triangleCount,
                __Triangle3ds* triangles, __Point3ds* points, int centerX, int centerY,
                int materialCount, material3ds* materials, __Texture* textures, int lightCount,
                light3ds* lights, GlassProp* glass) {
  const Scene s{src, centerX, centerY, materialCount, materials, textures, lightCount, lights,
                glass};
  for (int i = 0; i < triangleCount; ++i) {
    __Triangle3ds* tri = &triangles[i];
    float nx, ny, nz;
    TriangleNormal(tri, points, nx, ny, nz);
    if (!(nz >= 0.0f || _UseMultyRefract == 2 || _DubleSide)) continue;
    if (!_Quality) {
      DrawTriangle(s, mode == 6, dst, tri, points);
      continue;
    }
    const __Point3ds &a = points[tri->vert[0]], &b = points[tri->vert[1]],
                     &c = points[tri->vert[2]];
    const float cx = float(centerX), cy = float(centerY);
    const int left = Trunc(std::min({a.x, b.x, c.x}) - 3.0f + cx);
    const int top = Trunc(std::min({a.y, b.y, c.y}) - 3.0f + cy);
    const int right = Trunc(std::max({a.x, b.x, c.x}) + 3.0f + cx);
    const int bottom = Trunc(std::max({a.y, b.y, c.y}) + 3.0f + cy);
    ClearLayerRect(left, top, right, bottom);
    DrawTriangle(s, mode == 6, _EdgeLayer, tri, points);
    CompositeLayerRect(dst, left, top, right, bottom);
  }
}
