// The highlight's power x^y, written once over a lane type (lanes_scalar.h,
// lanes_sse2.h, lanes_avx2.h), so that the scalar form and every vector form
// give the same bits: each lane performs the same double operations.
//
// Number formats: x and y are floats; the work is in double, where the
// result before its final rounding to float is within about 1e-12 of
// x^y relatively, so the float result is within one unit in the last place
// (almost always the correctly rounded float).
//
//   log2 x = e + log2 c + ln(m / c) / ln 2, with x = m 2^e read from the
//   bits of x as a double (exact, also for float subnormals), m in [1, 2),
//   c the middle of m's thirty-second of [1, 2) (two tables); ln(1 + r)
//   with r = m / c - 1, |r| <= 1/64, is summed to r^6 (the next term is
//   below 4e-14).
//   2^t = 2^(n >> 5) 2^((n & 31) / 32) 2^f with n = 32 t rounded to an
//   integer (adding and removing 1.5 2^52 leaves n in the low bits of the
//   sum, which then make the exponent field of 2^(n >> 5) and the index of
//   a table of 2^(j / 32)) and |f| <= 1/64; 2^f is its Taylor series to
//   degree 4 (next term below 2e-12). t is first held to [-200, 200],
//   beyond which every float result is 0 or infinity anyway.
//
// Special values, as the C library's pow for x >= 0: x^0 = 1 and 1^y = 1
// (also for NaN), 0^y = 0 for y > 0 and infinity for y < 0, infinity^y =
// infinity for y > 0 and 0 for y < 0, x^(+-infinity) by whether x is above
// or below 1, NaN in gives NaN out. A negative x gives NaN (the shader's
// base is never negative).
#pragma once
#include <cstdint>

// For m in [1 + i / 32, 1 + (i + 1) / 32): the double nearest to the
// reciprocal of the interval's middle, and the double nearest to -log2 of
// that double (so that log2 m = log2(m inv) - log2 inv holds exactly).
alignas(64) inline constexpr double kPowInverse[32] = {
    0.9846153846153847,
    0.9552238805970149,
    0.927536231884058,
    0.9014084507042254,
    0.8767123287671232,
    0.8533333333333334,
    0.8311688311688312,
    0.810126582278481,
    0.7901234567901234,
    0.7710843373493976,
    0.7529411764705882,
    0.735632183908046,
    0.7191011235955056,
    0.7032967032967034,
    0.6881720430107527,
    0.6736842105263158,
    0.6597938144329897,
    0.6464646464646465,
    0.6336633663366337,
    0.6213592233009708,
    0.6095238095238096,
    0.5981308411214953,
    0.5871559633027523,
    0.5765765765765766,
    0.5663716814159292,
    0.5565217391304348,
    0.5470085470085471,
    0.5378151260504201,
    0.5289256198347108,
    0.5203252032520326,
    0.512,
    0.5039370078740157,
};
alignas(64) inline constexpr double kPowLog[32] = {
    0.022367813028454427,
    0.06608919045777246,
    0.10852445677816903,
    0.14974711950468203,
    0.1898245588800173,
    0.22881869049588077,
    0.26678654069490126,
    0.30378074817710293,
    0.3398500028846248,
    0.3750394313469247,
    0.4093909361377018,
    0.44294349584872833,
    0.4757334309663978,
    0.5077946401986961,
    0.5391588111080313,
    0.5698556083309478,
    0.5999128421871277,
    0.6293566200796095,
    0.6582114827517948,
    0.6865005271832185,
    0.7142455176661225,
    0.741466986401147,
    0.7681843247769263,
    0.794415866350106,
    0.8201789624151877,
    0.8454900509443752,
    0.8703647195834043,
    0.8948177633079436,
    0.9188632372745945,
    0.9425145053392397,
    0.965784284662087,
    0.9886846867721659,
};

// 2^(j / 32), j = 0 .. 31, each the double nearest to it.
alignas(64) inline constexpr double kPowSteps[32] = {
    1.0,
    1.0218971486541166,
    1.0442737824274138,
    1.0671404006768237,
    1.0905077326652577,
    1.1143867425958924,
    1.1387886347566916,
    1.1637248587775775,
    1.189207115002721,
    1.215247359980469,
    1.241857812073484,
    1.2690509571917332,
    1.2968395546510096,
    1.3252366431597413,
    1.3542555469368927,
    1.383909881963832,
    1.4142135623730951,
    1.4451808069770467,
    1.4768261459394993,
    1.5091644275934228,
    1.5422108254079407,
    1.5759808451078865,
    1.6104903319492543,
    1.645755478153965,
    1.681792830507429,
    1.718619298122478,
    1.7562521603732995,
    1.7947090750031072,
    1.8340080864093424,
    1.8741676341103,
    1.9152065613971474,
    1.9571441241754002,
};

// Inlined into its callers: a call would pass the lanes through memory and,
// on Windows, save the callee-saved vector registers every time.
template <class L>
[[gnu::always_inline]] inline typename L::D PowCore(typename L::D x, typename L::D y) {
  using D = typename L::D;
  // x = m 2^e, m in [1, 2); i: the top five bits of m's fraction.
  const auto bits = L::DBits(x);
  const D twoTo52 = L::DSet(4503599627370496.0);
  const D e = L::DSub(
      L::DSub(L::DFromBits(L::IOr(L::IAnd(L::IShr52(bits), 0x7FF), 0x4330000000000000)), twoTo52),
      L::DSet(1023.0));
  const D m = L::DFromBits(L::IOr(L::IAnd(bits, 0x000FFFFFFFFFFFFF), 0x3FF0000000000000));
  const auto i = L::IAnd(L::IShr47(bits), 31);
  // r = m / c - 1 with |r| <= 1/64: ln(1 + r) summed to r^6.
  const D one = L::DSet(1.0);
  const D r = L::DSub(L::DMul(m, L::DTable(kPowInverse, i)), one);
  D p = L::DSet(-1.0 / 6.0);
  p = L::DAdd(L::DMul(p, r), L::DSet(1.0 / 5.0));
  p = L::DAdd(L::DMul(p, r), L::DSet(-1.0 / 4.0));
  p = L::DAdd(L::DMul(p, r), L::DSet(1.0 / 3.0));
  p = L::DAdd(L::DMul(p, r), L::DSet(-1.0 / 2.0));
  const D ln = L::DAdd(r, L::DMul(L::DMul(r, r), p));
  D log2x = L::DAdd(L::DAdd(e, L::DTable(kPowLog, i)), L::DMul(ln, L::DSet(1.4426950408889634)));
  const D zero = L::DSet(0.0);
  const D inf = L::DDiv(one, zero);
  log2x = L::DSelect(L::DEq(x, zero), L::DSub(zero, inf), log2x);
  log2x = L::DSelect(L::DEq(x, inf), inf, log2x);
  log2x = L::DSelect(L::DNotGe(x, zero), L::DSub(inf, inf), log2x);  // negative or NaN

  D t = L::DMul(y, log2x);
  // -200 > t ? -200 : t, then 200 < t ? 200 : t (NaN stays).
  t = L::DMin(L::DSet(200.0), L::DMax(L::DSet(-200.0), t));
  // t = n / 32 + f: 2^t = 2^(n >> 5) 2^((n & 31) / 32) 2^f.
  const D shifter = L::DSet(6755399441055744.0);  // 1.5 2^52
  const D rounded = L::DAdd(L::DMul(t, L::DSet(32.0)), shifter);
  const D f = L::DSub(t, L::DMul(L::DSub(rounded, shifter), L::DSet(1.0 / 32.0)));
  // 2^f = exp(f ln 2), |f| <= 1/64: coefficients (ln 2)^k / k!
  D q = L::DSet(0.009618129107628477);
  q = L::DAdd(L::DMul(q, f), L::DSet(0.055504108664821576));
  q = L::DAdd(L::DMul(q, f), L::DSet(0.2402265069591007));
  q = L::DAdd(L::DMul(q, f), L::DSet(0.6931471805599453));
  q = L::DAdd(L::DMul(q, f), one);
  const auto nBits = L::DBits(rounded);
  const D step = L::DTable(kPowSteps, L::IAnd(nBits, 31));
  const D scale = L::DFromBits(L::IShl52(L::IAdd(L::IShr5(nBits), 1023)));
  const D result = L::DMul(L::DMul(step, q), scale);
  return L::DSelect(L::DOr(L::DEq(y, zero), L::DEq(x, one)), one, result);
}

// x^y for float lanes: each lane through PowCore in double and rounded once.
// `used` (bit i for lane i) lets a half of the lanes whose results are not
// used skip the work; so does a half whose used lanes all have x below
// `zeroBelow`, which the caller has made small enough for x^y to round to 0
// there (PowZeroBelow). Skipped lanes are 0.
template <class L>
[[gnu::always_inline]] inline typename L::F PowLanes(typename L::F x, typename L::F y,
                                                     int used = -1,
                                                     float zeroBelow = -__builtin_inff()) {
  if constexpr (L::N == 1) {
    return float(PowCore<L>(double(x), double(y)));
  } else {
    constexpr int half = (1 << (L::N / 2)) - 1;
    const int work = used & ~L::Bits(L::Lt(x, L::Set(zeroBelow)));
    const typename L::D zero = L::DSet(0.0);
    return L::Join((work & half) != 0 ? PowCore<L>(L::Lo(x), L::Lo(y)) : zero,
                   (work & (half << (L::N / 2))) != 0 ? PowCore<L>(L::Hi(x), L::Hi(y)) : zero);
  }
}
