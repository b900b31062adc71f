// Placing the finished vertex array: translation, rotations about the three
// axes and (unused by the effect) scaling.
//
// The rotations take cos and sin once, rounded to single precision, and turn
// a vertex's normal only when its normal count is not 0. Both come from the
// project's own series, not the platform's cosf and sinf, whose last bit
// differs between builds and would move the mesh.
#include "cloth/effect_trig.h"
#include "cloth/mesh.h"

void TranslatePoints(float dx, float dy, float dz, int32_t count, __Point3ds* points) {
  for (int32_t i = 0; i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
    points[i].z += dz;
  }
}

// Turns the pair (a, b) about (ca, cb): a' = (a - ca) co - (b - cb) si + ca,
// b' = (a - ca) si + (b - cb) co + cb; the normal pair (na, nb) alike about 0.
// The member pointers pick the plane of the rotation.
static void RotatePlane(float __Point3ds::*a, float __Point3ds::*b, float __Point3ds::*na,
                        float __Point3ds::*nb, float ca, float cb, float angle, int32_t count,
                        __Point3ds* points) {
  if (count <= 0) return;
  const float co = float(EffectCosine(angle));
  const float si = float(EffectSine(angle));
  for (int32_t i = 0; i < count; ++i) {
    __Point3ds& p = points[i];
    const float da = p.*a - ca;
    const float db = p.*b - cb;
    p.*a = da * co - db * si + ca;
    p.*b = da * si + db * co + cb;
    if (p.normalCount != 0) {
      const float n0 = p.*na;
      const float n1 = p.*nb;
      p.*na = n0 * co - n1 * si;
      p.*nb = n0 * si + n1 * co;
    }
  }
}

void RotatePointsZ(float cx, float cy, float angle, int32_t count, __Point3ds* points) {
  RotatePlane(&__Point3ds::x, &__Point3ds::y, &__Point3ds::nx, &__Point3ds::ny, cx, cy, angle,
              count, points);
}

void RotatePointsY(float cx, float cz, float angle, int32_t count, __Point3ds* points) {
  RotatePlane(&__Point3ds::x, &__Point3ds::z, &__Point3ds::nx, &__Point3ds::nz, cx, cz, angle,
              count, points);
}

void RotatePointsX(float cy, float cz, float angle, int32_t count, __Point3ds* points) {
  RotatePlane(&__Point3ds::y, &__Point3ds::z, &__Point3ds::ny, &__Point3ds::nz, cy, cz, angle,
              count, points);
}

int32_t ScalePointsXYZ(float kx, float ky, float kz, int32_t count, __Point3ds* points) {
  for (int32_t i = 0; i < count; ++i) {
    points[i].x *= kx;
    points[i].y *= ky;
    points[i].z *= kz;
  }
  return count;
}

int32_t ScalePoints(float k, int32_t count, __Point3ds* points) {
  return ScalePointsXYZ(k, k, k, count, points);
}

int32_t ScalePointsX(float k, int32_t count, __Point3ds* points) {
  for (int32_t i = 0; i < count; ++i) points[i].x *= k;
  return count;
}

int32_t ScalePointsY(float k, int32_t count, __Point3ds* points) {
  for (int32_t i = 0; i < count; ++i) points[i].y *= k;
  return count;
}

int32_t ScalePointsZ(float k, int32_t count, __Point3ds* points) {
  for (int32_t i = 0; i < count; ++i) points[i].z *= k;
  return count;
}
