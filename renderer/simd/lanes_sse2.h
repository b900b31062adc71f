// Four float lanes (two double lanes) on SSE2, the x86-64 baseline. The
// operations are those of LanesScalar (lanes_scalar.h), lane by lane.
#pragma once
#include <emmintrin.h>

#include <cstdint>

namespace {

struct LanesSse2 {
  static constexpr int N = 4;
  static constexpr bool kMasked = false;  // no masked loads and stores
  static constexpr bool kCompress = false;  // no compressing stores
  using F = __m128;
  using M = __m128;  // all ones in a lane where true
  using I = __m128i;
  using D = __m128d;
  using DM = __m128d;
  using DI = __m128i;

  static F Set(float v) { return _mm_set1_ps(v); }
  static F Zero() { return _mm_setzero_ps(); }
  static F Load(const float* p) { return _mm_loadu_ps(p); }
  static void Store(float* p, F v) { _mm_storeu_ps(p, v); }
  static F Iota() { return _mm_setr_ps(0.0f, 1.0f, 2.0f, 3.0f); }
  static F Add(F a, F b) { return _mm_add_ps(a, b); }
  static F Sub(F a, F b) { return _mm_sub_ps(a, b); }
  static F Mul(F a, F b) { return _mm_mul_ps(a, b); }
  static F Div(F a, F b) { return _mm_div_ps(a, b); }
  static F Sqrt(F a) { return _mm_sqrt_ps(a); }
  static F Abs(F a) { return _mm_andnot_ps(_mm_set1_ps(-0.0f), a); }
  static F Neg(F a) { return _mm_xor_ps(_mm_set1_ps(-0.0f), a); }
  // a > b ? a : b and a < b ? a : b (b for NaN), as the instructions do.
  static F Max(F a, F b) { return _mm_max_ps(a, b); }
  static F Min(F a, F b) { return _mm_min_ps(a, b); }
  static M Gt(F a, F b) { return _mm_cmpgt_ps(a, b); }
  static M Ge(F a, F b) { return _mm_cmpge_ps(a, b); }
  static M Lt(F a, F b) { return _mm_cmplt_ps(a, b); }
  static M Le(F a, F b) { return _mm_cmple_ps(a, b); }
  static M Eq(F a, F b) { return _mm_cmpeq_ps(a, b); }
  static M Ne(F a, F b) { return _mm_cmpneq_ps(a, b); }  // also NaN, as != is
  static M And(M a, M b) { return _mm_and_ps(a, b); }
  static M Or(M a, M b) { return _mm_or_ps(a, b); }
  static M AndNot(M a, M b) { return _mm_andnot_ps(b, a); }  // a and not b
  static M True() { return _mm_castsi128_ps(_mm_set1_epi32(-1)); }
  static M False() { return _mm_setzero_ps(); }
  static F Select(M m, F a, F b) { return _mm_or_ps(_mm_and_ps(m, a), _mm_andnot_ps(m, b)); }
  static int Bits(M m) { return _mm_movemask_ps(m); }
  static M FirstLanes(int n) {  // lanes 0 .. n-1
    return _mm_cmplt_ps(Iota(), _mm_set1_ps(float(n)));
  }
  // float to int32 toward zero, and back: only for values inside the int range.
  static I TruncI(F a) { return _mm_cvttps_epi32(a); }
  static F FromI(I a) { return _mm_cvtepi32_ps(a); }
  static F FromInt(int v) { return _mm_cvtepi32_ps(_mm_set1_epi32(v)); }

  // Int32 lanes, and N pixels of 16 bits a channel from p split into one
  // int lane vector a channel, and back (8 bits: SpanLanes, on whole words).
  static I ISet(int v) { return _mm_set1_epi32(v); }
  static I IAnd32(I a, I b) { return _mm_and_si128(a, b); }
  static I IOr32(I a, I b) { return _mm_or_si128(a, b); }
  template <int n>
  static I IShr(I a) { return _mm_srli_epi32(a, n); }
  template <int n>
  static I IShl(I a) { return _mm_slli_epi32(a, n); }
  static I LoadI(const unsigned char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static void StoreI(unsigned char* p, I v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
  static M IEq(I a, I b) { return _mm_castsi128_ps(_mm_cmpeq_epi32(a, b)); }
  static I ISelect(M m, I a, I b) {
    const I k = _mm_castps_si128(m);
    return _mm_or_si128(_mm_and_si128(k, a), _mm_andnot_si128(k, b));
  }
  static void LoadPixels16(const unsigned char* p, I c[4]) {
    const __m128 lo = _mm_loadu_ps(reinterpret_cast<const float*>(p));
    const __m128 hi = _mm_loadu_ps(reinterpret_cast<const float*>(p + 16));
    const I a = _mm_castps_si128(_mm_shuffle_ps(lo, hi, _MM_SHUFFLE(2, 0, 2, 0)));
    const I b = _mm_castps_si128(_mm_shuffle_ps(lo, hi, _MM_SHUFFLE(3, 1, 3, 1)));
    const I m = ISet(0xFFFF);
    c[0] = IAnd32(a, m);
    c[1] = IShr<16>(a);
    c[2] = IAnd32(b, m);
    c[3] = IShr<16>(b);
  }
  static void StorePixels16(unsigned char* p, const I c[4]) {
    const I a = IOr32(c[0], IShl<16>(c[1]));
    const I b = IOr32(c[2], IShl<16>(c[3]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_unpacklo_epi32(a, b));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 16), _mm_unpackhi_epi32(a, b));
  }

  static D DSet(double v) { return _mm_set1_pd(v); }
  static D DAdd(D a, D b) { return _mm_add_pd(a, b); }
  static D DSub(D a, D b) { return _mm_sub_pd(a, b); }
  static D DMul(D a, D b) { return _mm_mul_pd(a, b); }
  static D DDiv(D a, D b) { return _mm_div_pd(a, b); }
  static D DMax(D a, D b) { return _mm_max_pd(a, b); }
  static D DMin(D a, D b) { return _mm_min_pd(a, b); }
  static DM DGt(D a, D b) { return _mm_cmpgt_pd(a, b); }
  static DM DLt(D a, D b) { return _mm_cmplt_pd(a, b); }
  static DM DEq(D a, D b) { return _mm_cmpeq_pd(a, b); }
  static DM DNotGe(D a, D b) { return _mm_cmpnge_pd(a, b); }
  static DM DOr(DM a, DM b) { return _mm_or_pd(a, b); }
  static D DSelect(DM m, D a, D b) { return _mm_or_pd(_mm_and_pd(m, a), _mm_andnot_pd(m, b)); }
  static DI DBits(D v) { return _mm_castpd_si128(v); }
  static D DFromBits(DI b) { return _mm_castsi128_pd(b); }
  static DI IAnd(DI a, uint64_t b) { return _mm_and_si128(a, _mm_set1_epi64x(int64_t(b))); }
  static DI IOr(DI a, uint64_t b) { return _mm_or_si128(a, _mm_set1_epi64x(int64_t(b))); }
  static DI IAdd(DI a, uint64_t b) { return _mm_add_epi64(a, _mm_set1_epi64x(int64_t(b))); }
  static DI IShr52(DI a) { return _mm_srli_epi64(a, 52); }
  static DI IShr5(DI a) { return _mm_srli_epi64(a, 5); }
  static DI IShr47(DI a) { return _mm_srli_epi64(a, 47); }
  static D DTable(const double* table, DI index) {
    return _mm_setr_pd(table[_mm_cvtsi128_si64(index)],
                       table[_mm_cvtsi128_si64(_mm_unpackhi_epi64(index, index))]);
  }
  static DI IShl52(DI a) { return _mm_slli_epi64(a, 52); }
  // The float lanes as doubles, two at a time, and back.
  static D Lo(F a) { return _mm_cvtps_pd(a); }
  static D Hi(F a) { return _mm_cvtps_pd(_mm_movehl_ps(a, a)); }
  static F Join(D lo, D hi) { return _mm_movelh_ps(_mm_cvtpd_ps(lo), _mm_cvtpd_ps(hi)); }
};

}  // namespace
