// One lane: the scalar form of the lane operations, for code written once
// over a lane type (lanes_sse2.h, lanes_avx2.h). Each operation is the one
// IEEE operation the vector forms perform per lane.
//
// Included by the files that instantiate lane code; the type has internal
// linkage, so code instantiated for it never mixes with another file's.
#pragma once
#include <cstdint>
#include <cstring>

namespace {

struct LanesScalar {
  static constexpr int N = 1;
  using F = float;
  using M = bool;  // a lane mask
  using D = double;
  using DM = bool;
  using DI = uint64_t;  // the bits of a double

  static F Set(float v) { return v; }
  static F Add(F a, F b) { return a + b; }
  static F Sub(F a, F b) { return a - b; }
  static F Mul(F a, F b) { return a * b; }
  static F Div(F a, F b) { return a / b; }
  static M Gt(F a, F b) { return a > b; }
  static M Lt(F a, F b) { return a < b; }
  static M Eq(F a, F b) { return a == b; }
  static F Select(M m, F a, F b) { return m ? a : b; }

  static D DSet(double v) { return v; }
  static D DAdd(D a, D b) { return a + b; }
  static D DSub(D a, D b) { return a - b; }
  static D DMul(D a, D b) { return a * b; }
  static D DDiv(D a, D b) { return a / b; }
  // a > b ? a : b and a < b ? a : b, as the vector instructions do.
  static D DMax(D a, D b) { return a > b ? a : b; }
  static D DMin(D a, D b) { return a < b ? a : b; }
  static DM DGt(D a, D b) { return a > b; }
  static DM DLt(D a, D b) { return a < b; }
  static DM DEq(D a, D b) { return a == b; }
  static DM DNotGe(D a, D b) { return !(a >= b); }
  static DM DOr(DM a, DM b) { return a || b; }
  static D DSelect(DM m, D a, D b) { return m ? a : b; }
  static DI DBits(D v) {
    DI b;
    std::memcpy(&b, &v, sizeof b);
    return b;
  }
  static D DFromBits(DI b) {
    D v;
    std::memcpy(&v, &b, sizeof v);
    return v;
  }
  static DI IAnd(DI a, uint64_t b) { return a & b; }
  static DI IOr(DI a, uint64_t b) { return a | b; }
  static DI IAdd(DI a, uint64_t b) { return a + b; }
  static DI IShr52(DI a) { return a >> 52; }
  static DI IShr5(DI a) { return a >> 5; }
  static DI IShr47(DI a) { return a >> 47; }
  static D DTable(const double* table, DI index) { return table[index]; }
  static DI IShl52(DI a) { return a << 52; }
};

}  // namespace
