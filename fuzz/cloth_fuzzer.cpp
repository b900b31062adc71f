// Fuzz target: the cloth (cloth.h): set-ups, pins, steps, normals,
// repulsion and the two-panel mesh with its transforms, on any grid and
// with any values of the cloth's globals.
//
// Input, front to back (ByteReader: missing bytes read as 0):
//   grid       W and H 0..MAX_SIDE, one panel or two, and a byte that
//              usually keeps the count globals matching the grid and
//              sometimes puts one off (the routines must then do nothing)
//   globals    size, weight, time scale, wind, blind frequency, gravity,
//              rod speeds and drive, collision mode, mesh scales
//   set-up     fixation (any byte), then up to MAX_STEPS steps
//   moves      up to MAX_MOVES particles put anywhere (onto another
//              particle, any float bits), with weight 0 or not; or the
//              whole cloth crumpled into a small cube
//   mesh       the textured flag, then rotations and a translation with
//              any angles and offsets, also over decoded vertices
//
// Oracles besides the sanitizers: the repulsion sweep over the cell table
// (ClothRepelAll with ClothSpare) leaves every particle bit for bit where
// the plain pair loop (ClothRepel for each particle in turn) does; the mesh
// has one vertex a particle, two triangles a cell and every vertex index in
// range; every mesh page is given back.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "cloth/cloth.h"
#include "fuzz/byte_reader.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/scene_records.h"
#include "platform/page_memory.h"

namespace {

constexpr int MAX_SIDE = 14;
constexpr int MAX_STEPS = 4;
constexpr int MAX_MOVES = 12;
constexpr int MAX_POINTS = 24;

struct Arrays {
  std::vector<ClothParticle> posA, posB, rest, acc, normals, spare;
  std::vector<ClothConstraint> constraints;
};

// A float of the kind the host's conversions give (a 16.16 value divided
// down), sometimes any bits.
float Value(ByteReader& in, float scale) { return in.Coord(scale); }

void ReadGrid(ByteReader& in, Arrays& a) {
  const int32_t W = in.Small(0, MAX_SIDE), H = in.Small(0, MAX_SIDE);
  const bool two = in.Bool();
  const int64_t panel = int64_t(W) * H;
  const int64_t count = two ? 2 * panel : panel;
  const int64_t perPanel = W > 0 && H > 0 ? int64_t(W - 1) * H + int64_t(W) * (H - 1) + int64_t(W - 1) * (H - 1) : 0;
  ClothW = W;
  ClothH = H;
  ClothTwoPanels = two ? 1 : 0;
  ClothCount = int32_t(count);
  ClothPanelCount = int32_t(panel);
  ClothPanelOffset = int32_t(4 * panel);
  ClothConstraintCount = int32_t(two ? 2 * perPanel : perPanel);
  switch (in.Small(0, 15)) {  // mostly consistent
    case 0: ClothCount += 1; break;
    case 1: ClothPanelCount -= 1; break;
    case 2: ClothConstraintCount += 1; break;
    case 3: ClothPanelOffset += 4; break;
    default: break;
  }
  // Arrays at least as long as the grid and as the counts say.
  const size_t n = size_t(count > ClothCount ? count : ClothCount) + 1;
  const size_t c = size_t(ClothConstraintCount) + size_t(2 * perPanel) + 1;
  for (auto* v : {&a.posA, &a.posB, &a.rest, &a.acc, &a.normals, &a.spare}) v->assign(n, ClothParticle{});
  a.constraints.assign(c, ClothConstraint{});
  ClothPosA = a.posA.data();
  ClothPosB = a.posB.data();
  ClothRest = a.rest.data();
  ClothAcc = a.acc.data();
  ClothNormals = a.normals.data();
  ClothSpare = a.spare.data();
  ClothConstraints = a.constraints.data();
  ClothCur = ClothPosA;
  ClothPrev = ClothPosB;
}

void ReadGlobals(ByteReader& in) {
  ClothSize = in.Bool() ? Value(in, 8.0f) : 5.0f;
  ClothWeight = Value(in, 20.0f);
  ClothTimeScale = Value(in, 2.0f);
  ClothWindForce = Value(in, 200.0f);
  for (float& w : ClothWindDir) w = Value(in, 10.0f);
  ClothBlindFrequency = in.Byte();
  ClothGravity = Value(in, 20.0f);
  ClothMotionSpeed = Value(in, 0.01f);
  ClothFoldingSpeed = Value(in, 0.01f);
  ClothRodDrive = in.Byte();
  ClothCollision = uint8_t(in.Small(0, 4));
  MeshScaleX = Value(in, 200.0f);
  MeshScaleY = Value(in, 200.0f);
}

// The repulsion sweep through the cell table against the plain loop, from
// the same positions: bit for bit.
void CompareRepulsion() {
  if (ClothCur == nullptr || ClothCount <= 0) return;
  const size_t n = size_t(ClothCount);
  const std::vector<ClothParticle> start(ClothCur, ClothCur + n);
  ClothRepelAll();
  const std::vector<ClothParticle> grid(ClothCur, ClothCur + n);
  std::memcpy(ClothCur, start.data(), n * sizeof(ClothParticle));
  for (int32_t i = 0; i < ClothCount; ++i) ClothRepel(i);
  for (size_t i = 0; i < n; ++i) {
    if (std::memcmp(&grid[i], &ClothCur[i], sizeof(ClothParticle)) != 0) {
      std::fprintf(stderr, "cloth_fuzzer: particle %zu: cell table (%a %a %a), pair loop (%a %a %a)\n", i,
                   double(grid[i].x), double(grid[i].y), double(grid[i].z), double(ClothCur[i].x),
                   double(ClothCur[i].y), double(ClothCur[i].z));
      FUZZ_CHECK(!"the cell table and the pair loop agree");
    }
  }
}

void CheckMesh(int32_t vertexCount, int32_t triangleCount, const __Triangle3ds* triangles) {
  FUZZ_CHECK(vertexCount == ClothCount);
  FUZZ_CHECK(triangleCount == 4 * (ClothW - 1) * (ClothH - 1));
  for (int32_t t = 0; t < triangleCount; ++t)
    for (uint32_t v : triangles[t].vert) FUZZ_CHECK(v < uint32_t(vertexCount));
}

void Transform(ByteReader& in, int32_t count, __Point3ds* points) {
  const float c0 = Value(in, 100.0f), c1 = Value(in, 100.0f), angle = Value(in, 4.0f);
  switch (in.Small(0, 5)) {
    case 0: RotatePointsX(c0, c1, angle, count, points); break;
    case 1: RotatePointsY(c0, c1, angle, count, points); break;
    case 2: RotatePointsZ(c0, c1, angle, count, points); break;
    case 3: TranslatePoints(c0, c1, angle, count, points); break;
    case 4: ScalePointsXYZ(c0, c1, angle, count, points); break;
    default: ScalePoints(angle, count, points); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteReader in(data, size);
  const int64_t pages = PageLiveBlocks();
  Arrays a;
  ReadGrid(in, a);
  ReadGlobals(in);

  const uint8_t fixation = in.Byte();
  if (ClothTwoPanels)
    ClothInitDouble(fixation);
  else
    ClothInitSingle(fixation);
  if (ClothRest != nullptr && ClothCount > 0)
    std::memcpy(ClothRest, ClothPosA, size_t(ClothCount) * sizeof(ClothParticle));
  if (in.Bool()) ClothSetPins(in.Byte(), ClothPosA);
  const int steps = in.Small(0, MAX_STEPS);
  if (in.Bool())
    ClothResetAndPreroll(steps);
  else
    ClothSimulate(steps);

  // Particles moved anywhere, then the repulsion both ways.
  const int moves = ClothCount > 0 ? in.Small(0, MAX_MOVES) : 0;
  if (moves == MAX_MOVES) {  // crumpled: many particles share the cells around one
    const float side = Value(in, 0.5f);
    for (int32_t i = 0; i < ClothCount; ++i) {
      ClothCur[i].x = side * float(i % 7) / 7.0f;
      ClothCur[i].y = side * float(i % 5) / 5.0f;
      ClothCur[i].z = side * float(i % 3) / 3.0f;
    }
  }
  for (int k = 0; k < moves; ++k) {
    ClothParticle& p = ClothCur[in.Range(0, ClothCount - 1)];
    if (in.Bool()) {
      const ClothParticle& q = ClothCur[in.Range(0, ClothCount - 1)];
      p.x = q.x, p.y = q.y, p.z = q.z;
    } else {
      p.x = Value(in, 4.0f), p.y = Value(in, 4.0f), p.z = Value(in, 4.0f);
    }
    if (in.Bool()) p.w = in.Bool() ? 0.0f : Value(in, 20.0f);
  }
  CompareRepulsion();
  if (in.Bool()) ClothComputeNormalsOld();
  if (in.Bool()) ClothStep();

  // The mesh of what the cloth became, moved about.
  int32_t vertexCount = -1, triangleCount = -1;
  __Triangle3ds* triangles = nullptr;
  __Point3ds* points = nullptr;
  if (BuildClothMesh(&vertexCount, &triangleCount, &triangles, &points, in.Byte())) {
    CheckMesh(vertexCount, triangleCount, triangles);
    const int transforms = in.Small(0, 3);
    for (int k = 0; k < transforms; ++k) Transform(in, vertexCount, points);
  } else {
    FUZZ_CHECK(triangles == nullptr && points == nullptr && vertexCount == 0 && triangleCount == 0);
  }
  PageFree(triangles);
  PageFree(points);

  // The transforms over any vertices.
  std::vector<__Point3ds> loose;
  ReadPoints(in, MAX_POINTS, 100.0f, loose);
  const int transforms = in.Small(0, 3);
  for (int k = 0; k < transforms; ++k)
    Transform(in, int32_t(loose.size()) - in.Small(0, 1), loose.empty() ? nullptr : loose.data());

  FUZZ_CHECK(PageLiveBlocks() == pages);
  ClothPosA = ClothPosB = ClothCur = ClothPrev = ClothRest = ClothAcc = ClothNormals = ClothSpare = nullptr;
  ClothConstraints = nullptr;
  return 0;
}
