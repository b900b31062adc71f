// The matrix library against hand-computed results, aliasing operands
// included.
#include "renderer/raster/matrix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float HALF_PI = 1.57079632679f;
constexpr float TOL = 1e-6f;

void ExpectMatrix(const Matrix4& m, std::initializer_list<float> expected, float tol = TOL) {
  int i = 0;
  for (float e : expected) {
    EXPECT_NEAR(m.m[i], e, tol) << "element " << i;
    ++i;
  }
}

void ExpectMatrix(const Matrix3& m, std::initializer_list<float> expected, float tol = TOL) {
  int i = 0;
  for (float e : expected) {
    EXPECT_NEAR(m.m[i], e, tol) << "element " << i;
    ++i;
  }
}

void ExpectVector(Vector3 v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, TOL);
  EXPECT_NEAR(v.y, y, TOL);
  EXPECT_NEAR(v.z, z, TOL);
}

// Row-major 1..16 and a second, invertible matrix.
Matrix4 Count4() {
  Matrix4 m;
  for (int i = 0; i < 16; ++i) m.m[i] = float(i + 1);
  return m;
}

Matrix4 Invertible4() { return Matrix4{{2, 0, 0, 1, 0, 4, 0, 2, 0, 0, 5, 3, 0, 0, 0, 1}}; }

TEST(Matrix4Ops, DiagonalAndIdentity) {
  ExpectMatrix(Matrix4Diag(2), {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1});
  Matrix4 id = Matrix4Diag(1);
  Matrix4Invert(id);
  ExpectMatrix(id, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 0);
}

TEST(Matrix4Ops, InvertByElimination) {
  Matrix4 m = Invertible4();
  Matrix4& r = Matrix4Invert(m);
  EXPECT_EQ(&r, &m);
  ExpectMatrix(m, {0.5f, 0, 0, -0.5f, 0, 0.25f, 0, -0.5f, 0, 0, 0.2f, -0.6f, 0, 0, 0, 1});
  // A general matrix: the product with the original is the identity.
  Matrix4 g{{4, 7, 2, 3, 0, 5, 1, 1, 2, 1, 3, 0, 1, 0, 2, 6}};
  Matrix4 inv = g;
  Matrix4Invert(inv);
  ExpectMatrix(Matrix4Mul(g, inv), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 1e-5f);
  // A zero pivot (no row exchange) gives non-finite elements.
  Matrix4 z{{0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
  Matrix4Invert(z);
  EXPECT_FALSE(std::isfinite(z.m[0]));
}

TEST(Matrix4Ops, ElementwiseAndScalar) {
  Matrix4 a = Count4();
  Matrix4 b = Matrix4Diag(1);
  ExpectMatrix(Matrix4Add(a, b), {2, 2, 3, 4, 5, 7, 7, 8, 9, 10, 12, 12, 13, 14, 15, 17});
  ExpectMatrix(Matrix4Sub(a, b), {0, 2, 3, 4, 5, 5, 7, 8, 9, 10, 10, 12, 13, 14, 15, 15});
  ExpectMatrix(Matrix4Scale(a, 0.5f),
               {0.5f, 1, 1.5f, 2, 2.5f, 3, 3.5f, 4, 4.5f, 5, 5.5f, 6, 6.5f, 7, 7.5f, 8});
  ExpectMatrix(Matrix4ScaleL(0.5f, a),
               {0.5f, 1, 1.5f, 2, 2.5f, 3, 3.5f, 4, 4.5f, 5, 5.5f, 6, 6.5f, 7, 7.5f, 8});
  Matrix4 c = a;
  EXPECT_EQ(&Matrix4AddTo(c, c), &c);  // aliasing: doubles
  ExpectMatrix(c, {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32});
  Matrix4SubFrom(c, c);
  ExpectMatrix(c, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0);
  c = a;
  Matrix4ScaleBy(c, -1);
  EXPECT_EQ(c.m[15], -16.0f);
}

TEST(Matrix4Ops, ProductsAndAliasing) {
  const Matrix4 a = Count4();
  // Row 0 of a a: (1 2 3 4) . columns (1 5 9 13) = 90, (2 6 10 14) = 100, ...
  const std::initializer_list<float> square = {90,  100, 110, 120, 202, 228, 254, 280,
                                               314, 356, 398, 440, 426, 484, 542, 600};
  ExpectMatrix(Matrix4Mul(a, a), square);
  Matrix4 m = a;
  EXPECT_EQ(&Matrix4MulBy(m, m), &m);  // m = m m, operands aliased
  ExpectMatrix(m, square);
  // Order: translation after scaling moves the scaled point.
  Matrix4 t = Matrix4Translation({1, 2, 3});
  Matrix4MulBy(t, Matrix4Scaling({2, 2, 2}));
  ExpectVector(Matrix4TransformPoint(t, {1, 1, 1}), 3, 4, 5);
}

TEST(Matrix4Ops, TransposeAndTransform) {
  Matrix4 a = Count4();
  Matrix4Transpose(a);
  ExpectMatrix(a, {1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 4, 8, 12, 16});
  ExpectVector(Matrix4TransformPoint(Matrix4Translation({10, 20, 30}), {1, 2, 3}), 11, 22, 33);
  // w = 2: the point is divided.
  Matrix4 h = Matrix4Diag(1);
  h.m[15] = 2;
  ExpectVector(Matrix4TransformPoint(h, {4, 6, 8}), 2, 3, 4);
  ExpectVector(Matrix4TransformPoint(Matrix4Scaling({2, 3, 4}), {1, 1, 1}), 2, 3, 4);
}

TEST(Matrix4Ops, RotationsAndMirrors) {
  ExpectVector(Matrix4TransformPoint(Matrix4RotX(HALF_PI), {0, 1, 0}), 0, 0, 1);
  ExpectVector(Matrix4TransformPoint(Matrix4RotZ(HALF_PI), {1, 0, 0}), 0, 1, 0);
  ExpectVector(Matrix4TransformPoint(Matrix4RotY(HALF_PI), {1, 0, 0}), 0, 0, 1);
  ExpectVector(Matrix4TransformPoint(Matrix4RotAxis({0, 1, 0}, HALF_PI), {1, 0, 0}), 0, 0, -1);
  // About x and z the axis form agrees with the fixed-axis rotations.
  ExpectVector(Matrix4TransformPoint(Matrix4RotAxis({1, 0, 0}, HALF_PI), {0, 1, 0}), 0, 0, 1);
  ExpectVector(Matrix4TransformPoint(Matrix4RotAxis({0, 0, 1}, HALF_PI), {1, 0, 0}), 0, 1, 0);
  // About the diagonal by 120 degrees the axes cycle x -> y -> z: every
  // element of the matrix, each sign of the axis form included.
  const float k = 1 / std::sqrt(3.0f);
  ExpectMatrix(Matrix4RotAxis({k, k, k}, 2.0943951f), {0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1});
  ExpectMatrix(Matrix4MirrorX(), {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 0);
  ExpectMatrix(Matrix4MirrorY(), {1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 0);
  ExpectMatrix(Matrix4MirrorZ(), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1}, 0);
}

TEST(Matrix3Ops, DiagonalsCopyAndElementwise) {
  ExpectMatrix(Matrix3Diag(2), {2, 0, 0, 0, 2, 0, 0, 0, 2}, 0);
  ExpectMatrix(Matrix3Diag2(3), {3, 0, 0, 0, 3, 0, 0, 0, 3}, 0);
  Matrix3 a{{1, 2, 3, 4, 5, 6, 7, 8, 10}};
  Matrix3 c{};
  EXPECT_EQ(&Matrix3Copy(c, a), &c);
  ExpectMatrix(c, {1, 2, 3, 4, 5, 6, 7, 8, 10}, 0);
  ExpectMatrix(Matrix3Add(a, Matrix3Diag(1)), {2, 2, 3, 4, 6, 6, 7, 8, 11}, 0);
  ExpectMatrix(Matrix3Sub(a, Matrix3Diag(1)), {0, 2, 3, 4, 4, 6, 7, 8, 9}, 0);
  ExpectMatrix(Matrix3Scale(a, 2), {2, 4, 6, 8, 10, 12, 14, 16, 20}, 0);
  ExpectMatrix(Matrix3ScaleL(2, a), {2, 4, 6, 8, 10, 12, 14, 16, 20}, 0);
  Matrix3AddTo(c, c);
  ExpectMatrix(c, {2, 4, 6, 8, 10, 12, 14, 16, 20}, 0);
  Matrix3DivBy(c, 4);
  ExpectMatrix(c, {0.5f, 1, 1.5f, 2, 2.5f, 3, 3.5f, 4, 5}, 0);
  Matrix3ScaleBy(c, 2);
  Matrix3SubFrom(c, a);
  ExpectMatrix(c, {0, 0, 0, 0, 0, 0, 0, 0, 0}, 0);
  Matrix3SubFrom(a, a);
  ExpectMatrix(a, {0, 0, 0, 0, 0, 0, 0, 0, 0}, 0);
}

TEST(Matrix3Ops, ProductDeterminantInverse) {
  Matrix3 a{{1, 2, 3, 4, 5, 6, 7, 8, 10}};
  EXPECT_EQ(Matrix3Det(a), -3.0f);  // 1(50-48) - 2(40-42) + 3(32-35)
  // a a: row 0 = (1+8+21, 2+10+24, 3+12+30)
  const std::initializer_list<float> square = {30, 36, 45, 66, 81, 102, 109, 134, 169};
  ExpectMatrix(Matrix3Mul(a, a), square, 0);
  Matrix3 m = a;
  Matrix3MulBy(m, m);
  ExpectMatrix(m, square, 0);
  // The adjugate over -3.
  Matrix3 inv = a;
  EXPECT_TRUE(Matrix3Invert(inv));
  ExpectMatrix(inv, {-2.0f / 3, -4.0f / 3, 1, -2.0f / 3, 11.0f / 3, -2, 1, -2, 1});
  // Two equal rows: singular, unchanged.
  Matrix3 s{{1, 2, 3, 4, 5, 6, 4, 5, 6}};
  EXPECT_FALSE(Matrix3Invert(s));
  ExpectMatrix(s, {1, 2, 3, 4, 5, 6, 4, 5, 6}, 0);
  Matrix3Transpose(a);
  ExpectMatrix(a, {1, 4, 7, 2, 5, 8, 3, 6, 10}, 0);
}

TEST(Matrix3Ops, TransformsRotationsMirrors) {
  ExpectVector(Matrix3TransformVec(Matrix3Scaling({2, 3, 4}), {1, 1, 1}), 2, 3, 4);
  ExpectVector(Matrix3TransformVec(Matrix3RotX(HALF_PI), {0, 1, 0}), 0, 0, -1);
  ExpectVector(Matrix3TransformVec(Matrix3RotZ(HALF_PI), {1, 0, 0}), 0, -1, 0);
  ExpectVector(Matrix3TransformVec(Matrix3RotY(HALF_PI), {1, 0, 0}), 0, 0, 1);
  // The transpose of the 4 x 4 axis rotation: turns the other way.
  ExpectVector(Matrix3TransformVec(Matrix3RotAxis({0, 1, 0}, HALF_PI), {1, 0, 0}), 0, 0, 1);
  ExpectVector(Matrix3TransformVec(Matrix3RotAxis({0, 0, 1}, HALF_PI), {1, 0, 0}), 0, -1, 0);
  ExpectMatrix(Matrix3MirrorX(), {-1, 0, 0, 0, 1, 0, 0, 0, 1}, 0);
  ExpectMatrix(Matrix3MirrorY(), {1, 0, 0, 0, -1, 0, 0, 0, 1}, 0);
  ExpectMatrix(Matrix3MirrorZ(), {1, 0, 0, 0, 1, 0, 0, 0, -1}, 0);
}

TEST(VectorOps, Normalize) {
  float x = 3, y = 0, z = 4;
  Normalize3(x, y, z);
  EXPECT_FLOAT_EQ(x, 0.6f);
  EXPECT_EQ(y, 0.0f);
  EXPECT_FLOAT_EQ(z, 0.8f);
  x = y = z = 0;
  Normalize3(x, y, z);
  EXPECT_EQ(x + y + z, 0.0f);
}

}  // namespace
