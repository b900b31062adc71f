// Render mesh: the simulated particles as the renderer's vertex and triangle
// arrays, and the transforms that place the finished vertex array.
//
// Vertices (__Point3ds) carry a running count of the face normals averaged
// into their normal so far (0 = none yet); the rotations turn a vertex's
// normal only when that count is not 0, so a vertex that belongs to no
// triangle keeps its zero normal.
//
// Which plug-in uses which: AddTriangleNormal, SmoothVertexNormals and the
// transforms are shared; AccumulateVertexNormal and BuildClothMesh exist once
// per plug-in (the two-panel versions here live in the Theatre sources, the
// one-panel plug-ins bring their own with the same signatures).
//
// Failure behaviour: BuildClothMesh returns false when the mesh arrays cannot
// be allocated (or the grid globals do not describe a grid), with nothing
// allocated and both array pointers null; nothing else here fails. Counts of
// 0 or below make the transforms do nothing.
#pragma once
#include <cstdint>

#include "renderer/renderer.h"

// Folds one face normal into vertex `index`: the first one is taken as it
// is; each later one is weighed against the count of those before and the
// running result rescaled to unit length (so it is not the plain mean: the
// earlier normals are renormalised before each new one is weighed in). The
// count is a byte and wraps past 255; a cloth vertex receives at most six.
void AccumulateVertexNormal(__Point3ds* points, int32_t index, float nx, float ny, float nz);

// The unit normal (C - B) x (A - B) of the triangle's vertices A, B, C (zero
// when the triangle is degenerate), folded into A, B and C in that order.
void AddTriangleNormal(const __Triangle3ds* triangle, __Point3ds* points);

// The two in-place smoothing passes over one panel of W x H vertices stored
// from points[first] on: pass 1 (rows 0..H-2, columns 0..W-2) averages each
// normal with its right and next-row neighbours, pass 2 (rows 1..H-1, columns
// 1..W-1) with its left and previous-row neighbours. Each pass reads the
// neighbours as they stand (updated or not), and the results are not
// renormalised.
void SmoothVertexNormals(__Point3ds* points, int32_t first, int32_t W, int32_t H);

// Builds the mesh of the cloth's current positions (ClothCur), scaled by
// MeshScaleX (x and z) and MeshScaleY (y): one vertex a particle, two
// triangles a grid cell, texture coordinates when `textured` is non-zero,
// smoothed vertex normals. The arrays are zero-filled page memory that the
// caller releases with PageFree. Returns false, with *triangles and *points
// null and both counts 0, when it could not build the mesh.
bool BuildClothMesh(int32_t* vertexCount, int32_t* triangleCount, __Triangle3ds** triangles,
                    __Point3ds** points, uint8_t textured);

// For the builders: the triangles of one panel of W x H vertices from
// vertex firstVertex on, cell (r, c) with p = firstVertex + r x W + c giving
// (p, p + W, p + 1) and (p + 1, p + W, p + W + 1) at out[2 x (r x (W - 1) +
// c)]; they face +z on the flat set-up grid.
void MeshPanelTriangles(__Triangle3ds* out, int32_t firstVertex, int32_t W, int32_t H);

// Adds (dx, dy, dz) to the first `count` vertices; normals are untouched.
void TranslatePoints(float dx, float dy, float dz, int32_t count, __Point3ds* points);

// Rotations by `angle` radians about an axis through the given centre:
// RotatePointsZ turns (x, y) about (cx, cy), RotatePointsY turns (x, z)
// about (cx, cz), RotatePointsX turns (y, z) about (cy, cz). The normal is
// turned alike (without the centre) when the vertex's normal count is not 0.
void RotatePointsZ(float cx, float cy, float angle, int32_t count, __Point3ds* points);
void RotatePointsY(float cx, float cz, float angle, int32_t count, __Point3ds* points);
void RotatePointsX(float cy, float cz, float angle, int32_t count, __Point3ds* points);

// Scaling of positions (normals untouched); each returns count. The effect
// does not call them.
int32_t ScalePoints(float k, int32_t count, __Point3ds* points);
int32_t ScalePointsXYZ(float kx, float ky, float kz, int32_t count, __Point3ds* points);
int32_t ScalePointsX(float k, int32_t count, __Point3ds* points);
int32_t ScalePointsY(float k, int32_t count, __Point3ds* points);
int32_t ScalePointsZ(float k, int32_t count, __Point3ds* points);
