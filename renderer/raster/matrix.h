// Small single-precision matrix library of the renderer module.
//
// Matrix4 is 4 x 4 and Matrix3 is 3 x 3, both row-major: element (r, c) is at
// index 4r + c (3r + c). Points and vectors are column vectors multiplied
// from the right (p' = M p), so a translation lies in column 3. Angles are
// radians. The constructors and two-operand forms return a new value; the
// in-place forms change their first operand and return it. Every operation
// gives the right result when its operands are the same object.
//
// Note the rotation families differ on purpose: Matrix3RotX, Matrix3RotZ
// and Matrix3RotAxis are the transposes of their Matrix4 namesakes (they turn
// the other way for the same angle), Matrix4RotY and Matrix3RotY are equal.
#pragma once

struct Matrix4 {
  float m[16];
};

struct Matrix3 {
  float m[9];
};

struct Vector3 {
  float x, y, z;
};

// Matrix4
Matrix4 Matrix4Diag(float x);  // x on the first three diagonal places, 1 last
// Inverse by Gauss-Jordan elimination without row exchanges; a zero pivot
// gives non-finite elements.
Matrix4& Matrix4Invert(Matrix4& m);
Matrix4& Matrix4Transpose(Matrix4& m);
Matrix4& Matrix4AddTo(Matrix4& m, const Matrix4& n);
Matrix4& Matrix4SubFrom(Matrix4& m, const Matrix4& n);
Matrix4& Matrix4ScaleBy(Matrix4& m, float s);
Matrix4& Matrix4MulBy(Matrix4& m, const Matrix4& n);  // m = m n
Matrix4 Matrix4Add(const Matrix4& a, const Matrix4& b);
Matrix4 Matrix4Sub(const Matrix4& a, const Matrix4& b);
Matrix4 Matrix4Mul(const Matrix4& a, const Matrix4& b);
Matrix4 Matrix4Scale(const Matrix4& a, float s);
Matrix4 Matrix4ScaleL(float s, const Matrix4& a);
// M p with the homogeneous divide when w is not exactly 1.
Vector3 Matrix4TransformPoint(const Matrix4& M, Vector3 p);
Matrix4 Matrix4Translation(Vector3 t);
Matrix4 Matrix4Scaling(Vector3 v);
Matrix4 Matrix4RotX(float angle);
Matrix4 Matrix4RotY(float angle);
Matrix4 Matrix4RotZ(float angle);
// Right-hand rotation about a unit axis (the axis is not normalised here).
Matrix4 Matrix4RotAxis(Vector3 axis, float angle);
Matrix4 Matrix4MirrorX();
Matrix4 Matrix4MirrorY();
Matrix4 Matrix4MirrorZ();

// Matrix3
Matrix3 Matrix3Diag(float x);
Matrix3 Matrix3Diag2(float x);
Matrix3& Matrix3Copy(Matrix3& destination, const Matrix3& source);
Matrix3& Matrix3AddTo(Matrix3& m, const Matrix3& n);
Matrix3& Matrix3SubFrom(Matrix3& m, const Matrix3& n);
Matrix3& Matrix3MulBy(Matrix3& m, const Matrix3& n);  // m = m n
Matrix3& Matrix3ScaleBy(Matrix3& m, float s);
Matrix3& Matrix3DivBy(Matrix3& m, float s);
// m0 (m4 m8 - m5 m7) - m1 (m3 m8 - m5 m6) + m2 (m3 m7 - m4 m6)
float Matrix3Det(const Matrix3& m);
// False, and m unchanged, when the determinant is exactly 0.
bool Matrix3Invert(Matrix3& m);
Matrix3& Matrix3Transpose(Matrix3& m);
Matrix3 Matrix3Add(const Matrix3& a, const Matrix3& b);
Matrix3 Matrix3Sub(const Matrix3& a, const Matrix3& b);
Matrix3 Matrix3Mul(const Matrix3& a, const Matrix3& b);
Matrix3 Matrix3Scale(const Matrix3& a, float s);
Matrix3 Matrix3ScaleL(float s, const Matrix3& a);
Vector3 Matrix3TransformVec(const Matrix3& M, Vector3 v);
Matrix3 Matrix3Scaling(Vector3 v);
Matrix3 Matrix3RotX(float angle);
Matrix3 Matrix3RotY(float angle);
Matrix3 Matrix3RotZ(float angle);
Matrix3 Matrix3RotAxis(Vector3 axis, float angle);
Matrix3 Matrix3MirrorX();
Matrix3 Matrix3MirrorY();
Matrix3 Matrix3MirrorZ();

// Divides (x, y, z) by its length when the length is above 0.
void Normalize3(float& x, float& y, float& z);
