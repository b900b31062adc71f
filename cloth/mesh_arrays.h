// The mesh builders' arrays and their failure exit, inline so that each
// plug-in's builder takes them with its own sources.
#pragma once
#include <cstdint>

#include "cloth/mesh.h"
#include "platform/page_memory.h"

// Frees both arrays and nulls them and both counts; returns false, the
// builders' failure result.
inline bool MeshBuildFailed(int32_t* vertexCount, int32_t* triangleCount, __Triangle3ds** triangles,
                            __Point3ds** points) {
  PageFree(*triangles);
  PageFree(*points);
  *triangles = nullptr;
  *points = nullptr;
  *vertexCount = 0;
  *triangleCount = 0;
  return false;
}

// Sets the counts, then takes the vertex and the triangle array (in that
// order) as zero-filled page memory; MeshBuildFailed when either is missing.
inline bool AllocMeshArrays(int32_t vertices, int32_t tris, int32_t* vertexCount, int32_t* triangleCount,
                            __Triangle3ds** triangles, __Point3ds** points) {
  *vertexCount = vertices;
  *triangleCount = tris;
  *points = static_cast<__Point3ds*>(PageAlloc(uint64_t(vertices) * sizeof(__Point3ds)));
  *triangles = static_cast<__Triangle3ds*>(PageAlloc(uint64_t(tris) * sizeof(__Triangle3ds)));
  if (!*points || !*triangles) return MeshBuildFailed(vertexCount, triangleCount, triangles, points);
  return true;
}
