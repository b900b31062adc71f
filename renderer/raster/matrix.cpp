// The matrix library. All arithmetic is single precision; products and
// in-place forms read copies of their operands, so aliasing is harmless.
#include "renderer/raster/matrix.h"

#include <cmath>

namespace {

template <int N, typename M>
M Product(const M& a, const M& b) {
  M r;
  for (int i = 0; i < N; ++i)
    for (int j = 0; j < N; ++j) {
      float s = 0.0f;
      for (int k = 0; k < N; ++k) s += a.m[N * i + k] * b.m[N * k + j];
      r.m[N * i + j] = s;
    }
  return r;
}

template <int N, typename M>
void TransposeInPlace(M& a) {
  for (int i = 0; i < N; ++i)
    for (int j = i + 1; j < N; ++j) {
      const float t = a.m[N * i + j];
      a.m[N * i + j] = a.m[N * j + i];
      a.m[N * j + i] = t;
    }
}

Matrix4 Diag4(float a, float b, float c, float d) {
  Matrix4 r{};
  r.m[0] = a;
  r.m[5] = b;
  r.m[10] = c;
  r.m[15] = d;
  return r;
}

Matrix3 Diag3(float a, float b, float c) {
  Matrix3 r{};
  r.m[0] = a;
  r.m[4] = b;
  r.m[8] = c;
  return r;
}

Matrix4 Rows4(float a0, float a1, float a2, float b0, float b1, float b2, float c0, float c1,
              float c2) {
  return Matrix4{{a0, a1, a2, 0, b0, b1, b2, 0, c0, c1, c2, 0, 0, 0, 0, 1}};
}

}  // namespace

// ---------------------------------------------------------------- Matrix4

Matrix4 Matrix4Diag(float x) { return Diag4(x, x, x, 1.0f); }

Matrix4& Matrix4Invert(Matrix4& m) {
  Matrix4 inv = Diag4(1, 1, 1, 1);
  Matrix4 a = m;
  for (int r = 0; r < 4; ++r) {
    const float p = a.m[4 * r + r];
    if (p != 1.0f) {
      for (int c = 0; c < 4; ++c) {
        a.m[4 * r + c] /= p;
        inv.m[4 * r + c] /= p;
      }
    }
    for (int k = 0; k < 4; ++k) {
      if (k == r) continue;
      const float f = a.m[4 * k + r];
      if (f == 0.0f) continue;
      for (int c = 0; c < 4; ++c) {
        a.m[4 * k + c] -= f * a.m[4 * r + c];
        inv.m[4 * k + c] -= f * inv.m[4 * r + c];
      }
    }
  }
  m = inv;
  return m;
}

Matrix4& Matrix4Transpose(Matrix4& m) {
  TransposeInPlace<4>(m);
  return m;
}

Matrix4& Matrix4AddTo(Matrix4& m, const Matrix4& n) {
  for (int i = 0; i < 16; ++i) m.m[i] += n.m[i];
  return m;
}

Matrix4& Matrix4SubFrom(Matrix4& m, const Matrix4& n) {
  const Matrix4 b = n;  // m - m is zero, not a half-updated difference
  for (int i = 0; i < 16; ++i) m.m[i] -= b.m[i];
  return m;
}

Matrix4& Matrix4ScaleBy(Matrix4& m, float s) {
  for (float& e : m.m) e *= s;
  return m;
}

Matrix4& Matrix4MulBy(Matrix4& m, const Matrix4& n) {
  const Matrix4 a = m, b = n;
  m = Product<4>(a, b);
  return m;
}

Matrix4 Matrix4Add(const Matrix4& a, const Matrix4& b) {
  Matrix4 r = a;
  return Matrix4AddTo(r, b);
}

Matrix4 Matrix4Sub(const Matrix4& a, const Matrix4& b) {
  Matrix4 r = a;
  return Matrix4SubFrom(r, b);
}

Matrix4 Matrix4Mul(const Matrix4& a, const Matrix4& b) { return Product<4>(a, b); }

Matrix4 Matrix4Scale(const Matrix4& a, float s) {
  Matrix4 r = a;
  return Matrix4ScaleBy(r, s);
}

Matrix4 Matrix4ScaleL(float s, const Matrix4& a) { return Matrix4Scale(a, s); }

Vector3 Matrix4TransformPoint(const Matrix4& M, Vector3 p) {
  const float* m = M.m;
  float x = m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3];
  float y = m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7];
  float z = m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11];
  const float w = m[12] * p.x + m[13] * p.y + m[14] * p.z + m[15];
  if (w != 1.0f) {
    x /= w;
    y /= w;
    z /= w;
  }
  return Vector3{x, y, z};
}

Matrix4 Matrix4Translation(Vector3 t) {
  Matrix4 r = Diag4(1, 1, 1, 1);
  r.m[3] = t.x;
  r.m[7] = t.y;
  r.m[11] = t.z;
  return r;
}

Matrix4 Matrix4Scaling(Vector3 v) { return Diag4(v.x, v.y, v.z, 1.0f); }

Matrix4 Matrix4RotX(float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  return Rows4(1, 0, 0, 0, c, -s, 0, s, c);
}

Matrix4 Matrix4RotY(float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  return Rows4(c, 0, -s, 0, 1, 0, s, 0, c);
}

Matrix4 Matrix4RotZ(float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  return Rows4(c, -s, 0, s, c, 0, 0, 0, 1);
}

Matrix4 Matrix4RotAxis(Vector3 axis, float angle) {
  const float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
  const float x = axis.x, y = axis.y, z = axis.z;
  return Rows4(x * x + (1.0f - x * x) * c, x * y * t - z * s, x * z * t + y * s,
               x * y * t + z * s, y * y + (1.0f - y * y) * c, y * z * t - x * s,
               x * z * t - y * s, y * z * t + x * s, z * z + (1.0f - z * z) * c);
}

Matrix4 Matrix4MirrorX() { return Diag4(-1, 1, 1, 1); }
Matrix4 Matrix4MirrorY() { return Diag4(1, -1, 1, 1); }
Matrix4 Matrix4MirrorZ() { return Diag4(1, 1, -1, 1); }

// ---------------------------------------------------------------- Matrix3

Matrix3 Matrix3Diag(float x) { return Diag3(x, x, x); }
Matrix3 Matrix3Diag2(float x) { return Diag3(x, x, x); }

Matrix3& Matrix3Copy(Matrix3& destination, const Matrix3& source) {
  destination = source;
  return destination;
}

Matrix3& Matrix3AddTo(Matrix3& m, const Matrix3& n) {
  for (int i = 0; i < 9; ++i) m.m[i] += n.m[i];
  return m;
}

Matrix3& Matrix3SubFrom(Matrix3& m, const Matrix3& n) {
  const Matrix3 b = n;
  for (int i = 0; i < 9; ++i) m.m[i] -= b.m[i];
  return m;
}

Matrix3& Matrix3MulBy(Matrix3& m, const Matrix3& n) {
  const Matrix3 a = m, b = n;
  m = Product<3>(a, b);
  return m;
}

Matrix3& Matrix3ScaleBy(Matrix3& m, float s) {
  for (float& e : m.m) e *= s;
  return m;
}

Matrix3& Matrix3DivBy(Matrix3& m, float s) {
  for (float& e : m.m) e /= s;
  return m;
}

float Matrix3Det(const Matrix3& m) {
  const float* a = m.m;
  return a[0] * (a[4] * a[8] - a[5] * a[7]) - a[1] * (a[3] * a[8] - a[5] * a[6]) +
         a[2] * (a[3] * a[7] - a[4] * a[6]);
}

bool Matrix3Invert(Matrix3& m) {
  const float* a = m.m;
  const float det = Matrix3Det(m);
  if (det == 0.0f) return false;
  // The adjugate, row by row; divided by the determinant below.
  const Matrix3 adj{
      {a[4] * a[8] - a[5] * a[7], a[2] * a[7] - a[1] * a[8], a[1] * a[5] - a[2] * a[4],
       a[5] * a[6] - a[3] * a[8], a[0] * a[8] - a[2] * a[6], a[2] * a[3] - a[0] * a[5],
       a[3] * a[7] - a[4] * a[6], a[1] * a[6] - a[0] * a[7], a[0] * a[4] - a[1] * a[3]}};
  for (int i = 0; i < 9; ++i) m.m[i] = adj.m[i] / det;
  return true;
}

Matrix3& Matrix3Transpose(Matrix3& m) {
  TransposeInPlace<3>(m);
  return m;
}

Matrix3 Matrix3Add(const Matrix3& a, const Matrix3& b) {
  Matrix3 r = a;
  return Matrix3AddTo(r, b);
}

Matrix3 Matrix3Sub(const Matrix3& a, const Matrix3& b) {
  Matrix3 r = a;
  return Matrix3SubFrom(r, b);
}

Matrix3 Matrix3Mul(const Matrix3& a, const Matrix3& b) { return Product<3>(a, b); }

Matrix3 Matrix3Scale(const Matrix3& a, float s) {
  Matrix3 r = a;
  return Matrix3ScaleBy(r, s);
}

Matrix3 Matrix3ScaleL(float s, const Matrix3& a) { return Matrix3Scale(a, s); }

Vector3 Matrix3TransformVec(const Matrix3& M, Vector3 v) {
  const float* m = M.m;
  return Vector3{m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
                 m[6] * v.x + m[7] * v.y + m[8] * v.z};
}

Matrix3 Matrix3Scaling(Vector3 v) { return Diag3(v.x, v.y, v.z); }

Matrix3 Matrix3RotX(float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  return Matrix3{{1, 0, 0, 0, c, s, 0, -s, c}};
}

Matrix3 Matrix3RotY(float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  return Matrix3{{c, 0, -s, 0, 1, 0, s, 0, c}};
}

Matrix3 Matrix3RotZ(float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  return Matrix3{{c, s, 0, -s, c, 0, 0, 0, 1}};
}

Matrix3 Matrix3RotAxis(Vector3 axis, float angle) {
  const Matrix4 r = Matrix4RotAxis(axis, angle);
  return Matrix3{{r.m[0], r.m[4], r.m[8], r.m[1], r.m[5], r.m[9], r.m[2], r.m[6], r.m[10]}};
}

Matrix3 Matrix3MirrorX() { return Diag3(-1, 1, 1); }
Matrix3 Matrix3MirrorY() { return Diag3(1, -1, 1); }
Matrix3 Matrix3MirrorZ() { return Diag3(1, 1, -1); }

void Normalize3(float& x, float& y, float& z) {
  const float length = std::sqrt(x * x + y * y + z * z);
  if (length > 0.0f) {
    x /= length;
    y /= length;
    z /= length;
  }
}
