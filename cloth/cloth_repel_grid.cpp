// The repulsion phase of a step through a cell table: the result of
// ClothRepel(i) for every i in turn, bit for bit, without testing all pairs.
//
// Particles are binned into cubic cells a little larger than the repulsion
// distance d, hashed into ClothSpare. A pair closer than d (as the float test
// sees it) lies in the same or adjacent cells on every axis, so the 27 cells
// around particle i hold every particle that can push it. The plain scan
// pushes i away from each such j in ascending j, each push seeing i where
// the previous one left it. Here the candidates of i's 27 cells (outside its
// 9 x 9 block) are gathered, the smallest index among those closer than d is
// pushed off with the same arithmetic, and the search repeats over the
// larger indices from i's new position; when a push carries i into another
// cell, the candidates are gathered again from there. Pushes are rare, so
// most particles cost one gather and one distance test a candidate. Only i
// moves during its call, so the table is current for all other particles;
// after the call i is moved to the bucket of its new cell. When the local
// buffer cannot hold the candidates (a cloth crumpled into a few cells), each
// search walks the buckets again instead.
//
// Table layout in ClothSpare (16 bytes a particle = 4 int32): next[count],
// prev[count] (doubly linked bucket lists, -1 ends), row[count] (the
// particle's grid row, so the block test needs no division), then
// heads[buckets] with buckets the largest power of two not above count.
// Particles with a non-finite coordinate are kept out of the table: against
// them every squared distance is infinite or NaN, so they neither push nor
// are pushed.
#include <cmath>
#include <cstdint>

#include "cloth/cloth_internal.h"

namespace {

constexpr int32_t NONE = -1;
// Cells are d x 65/64 wide: the float distance test may accept a pair a few
// ulps beyond d, and the margin keeps such a pair in adjacent cells.
constexpr double CELL_MARGIN = 1.015625;
// Cell coordinates are clamped so they fit int64 whatever the position; the
// clamp is monotonic and never widens a gap, so neighbours stay neighbours.
constexpr double CELL_LIMIT = 1099511627776.0;  // 2^40
// Candidates kept at once; more are searched in the buckets directly.
constexpr int32_t CANDIDATES = 256;

struct Table {
  int32_t* next;
  int32_t* prev;
  int32_t* row;
  int32_t* heads;
  uint32_t shift;  // 64 - log2(buckets)
  double inv;      // 1 / cell size
};

struct Cell {
  int64_t x, y, z;
  bool operator==(const Cell& o) const { return x == o.x && y == o.y && z == o.z; }
};

// A repulsion distance of 0 or NaN (a cloth size of 0 or NaN) makes the
// scale infinite or NaN and so a coordinate NaN: such a distance pushes
// nothing, any cell serves, and the conversion must stay defined.
int64_t CellCoordinate(float v, double inv) {
  double c = std::floor(double(v) * inv);
  if (!(c >= -CELL_LIMIT)) c = -CELL_LIMIT;
  if (c > CELL_LIMIT) c = CELL_LIMIT;
  return int64_t(c);
}

bool Finite(const ClothParticle& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

Cell CellOf(const ClothParticle& p, const Table& t) {
  return Cell{CellCoordinate(p.x, t.inv), CellCoordinate(p.y, t.inv), CellCoordinate(p.z, t.inv)};
}

int32_t Bucket(int64_t x, int64_t y, int64_t z, const Table& t) {
  const uint64_t h = uint64_t(x) * 0x9E3779B97F4A7C15ull ^ uint64_t(y) * 0xC2B2AE3D27D4EB4Full ^
                     uint64_t(z) * 0x165667B19E3779F9ull;
  return int32_t(h >> t.shift);
}

int32_t BucketOf(const ClothParticle& p, const Table& t) {
  if (!Finite(p)) return NONE;
  const Cell c = CellOf(p, t);
  return Bucket(c.x, c.y, c.z, t);
}

void Link(Table& t, int32_t i, int32_t b) {
  const int32_t head = t.heads[b];
  t.next[i] = head;
  t.prev[i] = NONE;
  if (head != NONE) t.prev[head] = i;
  t.heads[b] = i;
}

void Unlink(Table& t, int32_t i, int32_t b) {
  const int32_t n = t.next[i];
  const int32_t p = t.prev[i];
  if (p != NONE)
    t.next[p] = n;
  else
    t.heads[b] = n;
  if (n != NONE) t.prev[n] = p;
}

// The buckets of the 27 cells around c. Hashing may give one bucket twice;
// its particles are then seen twice, which the smallest-index search below
// does not mind.
void NearbyBuckets(const Cell& c, const Table& t, int32_t out[27]) {
  int32_t n = 0;
  for (int64_t dz = -1; dz <= 1; ++dz)
    for (int64_t dy = -1; dy <= 1; ++dy)
      for (int64_t dx = -1; dx <= 1; ++dx) out[n++] = Bucket(c.x + dx, c.y + dy, c.z + dz, t);
}

// Whether j lies in the 9 x 9 block around gi (grid position as
// ClothRepelGridPos gives it, from the stored row).
bool Blocked(const Table& t, const ClothGridPos& gi, int32_t j) {
  const int32_t r = t.row[j];
  if (r < gi.row - 4 || r > gi.row + 4) return false;
  int32_t c = j - r * ClothW;
  if (ClothTwoPanels && j >= ClothPanelCount) c += ClothW;
  return c >= gi.col - 4 && c <= gi.col + 4;
}

// ClothRepel(i) through the table.
void RepelOne(Table& t, int32_t i, float d, float dd) {
  ClothParticle& p = ClothCur[i];
  if (p.w == 0.0f) return;
  const ClothGridPos gi = ClothRepelGridPos(i);
  int32_t buckets[27];
  int32_t candidates[CANDIDATES];
  int32_t last = NONE;
  // A push that overflows leaves p non-finite: nothing pushes it any more.
  while (Finite(p)) {
    // Gather the candidates of the cells around p.
    const Cell cell = CellOf(p, t);
    NearbyBuckets(cell, t, buckets);
    int32_t n = 0;
    bool overflow = false;
    for (int32_t k = 0; k < 27 && !overflow; ++k)
      for (int32_t j = t.heads[buckets[k]]; j != NONE; j = t.next[j]) {
        if (j <= last || Blocked(t, gi, j)) continue;
        if (n == CANDIDATES) {
          overflow = true;
          break;
        }
        candidates[n++] = j;
      }
    // Push off the smallest index that is close enough, while p stays in
    // this cell; after a push only larger indices count.
    bool moved = false;
    while (!moved) {
      int32_t best = INT32_MAX;
      float bestS = 0.0f;
      auto consider = [&](int32_t j) {
        if (j <= last || j >= best) return;
        const float s = ClothRepelDistance2(p, ClothCur[j]);
        if (s < dd) {
          best = j;
          bestS = s;
        }
      };
      if (!overflow) {
        for (int32_t k = 0; k < n; ++k) consider(candidates[k]);
      } else {  // too many to keep: walk the buckets again
        for (int32_t k = 0; k < 27; ++k)
          for (int32_t j = t.heads[buckets[k]]; j != NONE; j = t.next[j])
            if (!Blocked(t, gi, j)) consider(j);
      }
      if (best == INT32_MAX) return;
      ClothRepelPush(p, ClothCur[best], bestS, d);
      last = best;
      moved = !Finite(p) || !(CellOf(p, t) == cell);
    }
  }
}

}  // namespace

void ClothRepelAll() {
  if (ClothCur == nullptr || !ClothGridUsable()) return;
  if (ClothSpare == nullptr) {
    for (int32_t i = 0; i < ClothCount; ++i) ClothRepel(i);
    return;
  }
  const int32_t count = ClothCount;
  uint32_t log2 = 0;
  while ((int64_t(2) << log2) <= int64_t(count)) ++log2;
  const int32_t buckets = int32_t(1) << log2;

  // The table lives in the spare particle array, which holds nothing else.
  int32_t* words = reinterpret_cast<int32_t*>(static_cast<void*>(ClothSpare));
  Table t;
  t.next = words;
  t.prev = words + count;
  t.row = words + 2 * int64_t(count);
  t.heads = words + 3 * int64_t(count);
  t.shift = 64 - log2;
  const float d = ClothRepelDistance();
  const float dd = d * d;
  t.inv = 1.0 / (double(d) * CELL_MARGIN);

  for (int32_t b = 0; b < buckets; ++b) t.heads[b] = NONE;
  for (int32_t i = 0, r = 0, c = 0; i < count; ++i) {
    t.row[i] = r;
    if (++c == ClothW) c = 0, ++r;
  }
  for (int32_t i = count - 1; i >= 0; --i) {
    const int32_t b = BucketOf(ClothCur[i], t);
    if (b != NONE) Link(t, i, b);
  }
  for (int32_t i = 0; i < count; ++i) {
    const int32_t before = BucketOf(ClothCur[i], t);
    RepelOne(t, i, d, dd);
    const int32_t after = BucketOf(ClothCur[i], t);
    if (after == before) continue;
    if (before != NONE) Unlink(t, i, before);
    if (after != NONE) Link(t, i, after);
  }
}
