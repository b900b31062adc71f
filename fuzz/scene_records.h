// Decoding of fuzz bytes into the renderer's scene records, shared by the
// targets that hand such records to the code (the renderer's interface and
// the mesh transforms).
#pragma once
#include <vector>

#include "fuzz/byte_reader.h"
#include "renderer/renderer.h"

// Up to maxCount vertices: position near +-scale (z near +-64), the textured
// flag, u and v near +-2, the normal count and a normal near +-1; any field
// may take any float bits.
void ReadPoints(ByteReader& in, int maxCount, float scale, std::vector<__Point3ds>& points);

// Up to maxCount triangles over `pointCount` vertices: indices mostly below
// it (when there are vertices), some just beyond it, some of any value;
// any flags; material indices 0..4 and 0xFFFF.
void ReadTriangles(ByteReader& in, int maxCount, int pointCount,
                   std::vector<__Triangle3ds>& triangles);

// Whether every index lies below pointCount.
bool TrianglesIndexed(const std::vector<__Triangle3ds>& triangles, size_t pointCount);
