// The highlight's power x^y, written once over a lane type (lanes_scalar.h,
// lanes_sse2.h, lanes_avx2.h), so that the scalar form and every vector form
// give the same bits: each lane performs the same double operations.
//
// Number formats: x and y are floats; the work is in double, where the
// result before its final rounding to float is within about 1e-12 of
// x^y relatively, so the float result is within one unit in the last place
// (almost always the correctly rounded float).
//
//   log2 x = e + ln(m) / ln 2, with x = m 2^e read from the bits of x as a
//   double (exact, also for float subnormals) and m in [sqrt(1/2), sqrt(2));
//   ln(m) = 2 atanh(s) with s = (m - 1) / (m + 1), |s| <= 0.1716, summed to
//   s^13 (the next term is below 5e-13).
//   2^t = 2^n 2^f with n = t rounded to an integer (adding and removing
//   1.5 2^52 leaves n in the low bits of the sum, which then makes the
//   exponent field of 2^n directly) and |f| <= 1/2; 2^f is its Taylor series
//   to degree 10 (next term below 3e-13). t is first held to [-200, 200],
//   beyond which every float result is 0 or infinity anyway.
//
// Special values, as the C library's pow for x >= 0: x^0 = 1 and 1^y = 1
// (also for NaN), 0^y = 0 for y > 0 and infinity for y < 0, infinity^y =
// infinity for y > 0 and 0 for y < 0, x^(+-infinity) by whether x is above
// or below 1, NaN in gives NaN out. A negative x gives NaN (the shader's
// base is never negative).
#pragma once
#include <cstdint>

template <class L>
typename L::D PowCore(typename L::D x, typename L::D y) {
  using D = typename L::D;
  using DM = typename L::DM;
  // x = m 2^e
  const auto bits = L::DBits(x);
  const D twoTo52 = L::DSet(4503599627370496.0);
  D e = L::DSub(L::DSub(L::DFromBits(L::IOr(L::IAnd(L::IShr52(bits), 0x7FF), 0x4330000000000000)),
                        twoTo52),
                L::DSet(1023.0));
  D m = L::DFromBits(L::IOr(L::IAnd(bits, 0x000FFFFFFFFFFFFF), 0x3FF0000000000000));
  const DM high = L::DGt(m, L::DSet(1.4142135623730951));
  m = L::DSelect(high, L::DMul(m, L::DSet(0.5)), m);
  e = L::DSelect(high, L::DAdd(e, L::DSet(1.0)), e);

  const D one = L::DSet(1.0);
  const D s = L::DDiv(L::DSub(m, one), L::DAdd(m, one));
  const D s2 = L::DMul(s, s);
  D p = L::DSet(1.0 / 13.0);
  p = L::DAdd(L::DMul(p, s2), L::DSet(1.0 / 11.0));
  p = L::DAdd(L::DMul(p, s2), L::DSet(1.0 / 9.0));
  p = L::DAdd(L::DMul(p, s2), L::DSet(1.0 / 7.0));
  p = L::DAdd(L::DMul(p, s2), L::DSet(1.0 / 5.0));
  p = L::DAdd(L::DMul(p, s2), L::DSet(1.0 / 3.0));
  const D twoS = L::DAdd(s, s);
  const D lnM = L::DAdd(twoS, L::DMul(twoS, L::DMul(s2, p)));
  D log2x = L::DAdd(e, L::DMul(lnM, L::DSet(1.4426950408889634)));
  const D zero = L::DSet(0.0);
  const D inf = L::DDiv(one, zero);
  log2x = L::DSelect(L::DEq(x, zero), L::DSub(zero, inf), log2x);
  log2x = L::DSelect(L::DEq(x, inf), inf, log2x);
  log2x = L::DSelect(L::DNotGe(x, zero), L::DSub(inf, inf), log2x);  // negative or NaN

  D t = L::DMul(y, log2x);
  t = L::DSelect(L::DLt(t, L::DSet(-200.0)), L::DSet(-200.0), t);  // NaN stays
  t = L::DSelect(L::DGt(t, L::DSet(200.0)), L::DSet(200.0), t);
  const D shifter = L::DSet(6755399441055744.0);  // 1.5 2^52
  const D r = L::DAdd(t, shifter);
  const D f = L::DSub(t, L::DSub(r, shifter));
  // 2^f = exp(f ln 2): coefficients (ln 2)^k / k!
  D q = L::DSet(7.054911620801121e-09);
  q = L::DAdd(L::DMul(q, f), L::DSet(1.0178086009239696e-07));
  q = L::DAdd(L::DMul(q, f), L::DSet(1.3215486790144305e-06));
  q = L::DAdd(L::DMul(q, f), L::DSet(1.5252733804059838e-05));
  q = L::DAdd(L::DMul(q, f), L::DSet(0.00015403530393381606));
  q = L::DAdd(L::DMul(q, f), L::DSet(0.0013333558146428441));
  q = L::DAdd(L::DMul(q, f), L::DSet(0.009618129107628477));
  q = L::DAdd(L::DMul(q, f), L::DSet(0.055504108664821576));
  q = L::DAdd(L::DMul(q, f), L::DSet(0.2402265069591007));
  q = L::DAdd(L::DMul(q, f), L::DSet(0.6931471805599453));
  q = L::DAdd(L::DMul(q, f), one);
  const D scale = L::DFromBits(L::IShl52(L::IAdd(L::DBits(r), 1023)));
  D result = L::DMul(q, scale);
  return L::DSelect(L::DOr(L::DEq(y, zero), L::DEq(x, one)), one, result);
}

// x^y for float lanes: each lane through PowCore in double and rounded once.
// `used` (bit i for lane i) lets a half of the lanes whose results are not
// used skip the work; its results are then 0.
template <class L>
typename L::F PowLanes(typename L::F x, typename L::F y, int used = -1) {
  if constexpr (L::N == 1) {
    return float(PowCore<L>(double(x), double(y)));
  } else {
    constexpr int half = (1 << (L::N / 2)) - 1;
    const typename L::D zero = L::DSet(0.0);
    return L::Join((used & half) != 0 ? PowCore<L>(L::Lo(x), L::Lo(y)) : zero,
                   (used & (half << (L::N / 2))) != 0 ? PowCore<L>(L::Hi(x), L::Hi(y)) : zero);
  }
}
