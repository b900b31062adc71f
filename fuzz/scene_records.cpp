#include "fuzz/scene_records.h"

void ReadPoints(ByteReader& in, int maxCount, float scale, std::vector<__Point3ds>& points) {
  points.assign(size_t(in.Small(0, maxCount)), __Point3ds{});
  for (__Point3ds& p : points) {
    p.x = in.Coord(scale);
    p.y = in.Coord(scale);
    p.z = in.Coord(64.0f);
    p.textured = in.Byte();
    p.u = in.Coord(2.0f);
    p.v = in.Coord(2.0f);
    p.normalCount = in.Byte();
    p.nx = in.Coord(1.0f);
    p.ny = in.Coord(1.0f);
    p.nz = in.Coord(1.0f);
  }
}

void ReadTriangles(ByteReader& in, int maxCount, int pointCount,
                   std::vector<__Triangle3ds>& triangles) {
  triangles.assign(size_t(in.Small(0, maxCount)), __Triangle3ds{});
  const uint32_t count = pointCount > 0 ? uint32_t(pointCount) : 0u;
  for (__Triangle3ds& t : triangles) {
    for (uint32_t& v : t.vert) {
      const uint8_t b = in.Byte();
      if (b < 0xF0 && count > 0)
        v = b % count;
      else if (b < 0xFE)
        v = count + (b & 0x0F);  // just beyond the points
      else
        v = b == 0xFE ? in.U32() : 0xFFFFFFFFu;
    }
    t.flags = in.U16();
    const int material = in.Small(0, 5);
    t.material = material == 5 ? 0xFFFF : uint16_t(material);
  }
}

bool TrianglesIndexed(const std::vector<__Triangle3ds>& triangles, size_t pointCount) {
  for (const __Triangle3ds& t : triangles)
    for (uint32_t v : t.vert)
      if (v >= pointCount) return false;
  return true;
}
