// Eight float lanes (four double lanes) on AVX2. Only for files compiled
// for AVX2 (the *_avx2.cpp files); the operations are those of LanesScalar
// (lanes_scalar.h), lane by lane. No fused multiply-add is used.
#pragma once
#include <immintrin.h>

#include <cstdint>

namespace {

struct LanesAvx2 {
  static constexpr int N = 8;
  static constexpr bool kMasked = false;  // masked stores are slow on some processors
  static constexpr bool kCompress = false;  // no compressing stores
  using F = __m256;
  using M = __m256;  // all ones in a lane where true
  using I = __m256i;
  using D = __m256d;
  using DM = __m256d;
  using DI = __m256i;

  static F Set(float v) { return _mm256_set1_ps(v); }
  static F Zero() { return _mm256_setzero_ps(); }
  static F Load(const float* p) { return _mm256_loadu_ps(p); }
  static void Store(float* p, F v) { _mm256_storeu_ps(p, v); }
  static F Iota() { return _mm256_setr_ps(0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f); }
  static F Add(F a, F b) { return _mm256_add_ps(a, b); }
  static F Sub(F a, F b) { return _mm256_sub_ps(a, b); }
  static F Mul(F a, F b) { return _mm256_mul_ps(a, b); }
  static F Div(F a, F b) { return _mm256_div_ps(a, b); }
  static F Sqrt(F a) { return _mm256_sqrt_ps(a); }
  static F Abs(F a) { return _mm256_andnot_ps(_mm256_set1_ps(-0.0f), a); }
  static F Neg(F a) { return _mm256_xor_ps(_mm256_set1_ps(-0.0f), a); }
  // a > b ? a : b and a < b ? a : b (b for NaN), as the instructions do.
  static F Max(F a, F b) { return _mm256_max_ps(a, b); }
  static F Min(F a, F b) { return _mm256_min_ps(a, b); }
  static M Gt(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_GT_OQ); }
  static M Ge(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_GE_OQ); }
  static M Lt(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_LT_OQ); }
  static M Le(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_LE_OQ); }
  static M Eq(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_EQ_OQ); }
  static M Ne(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_NEQ_UQ); }  // also NaN, as != is
  static M And(M a, M b) { return _mm256_and_ps(a, b); }
  static M Or(M a, M b) { return _mm256_or_ps(a, b); }
  static M AndNot(M a, M b) { return _mm256_andnot_ps(b, a); }  // a and not b
  static M True() { return _mm256_castsi256_ps(_mm256_set1_epi32(-1)); }
  static M False() { return _mm256_setzero_ps(); }
  static F Select(M m, F a, F b) { return _mm256_blendv_ps(b, a, m); }
  static int Bits(M m) { return _mm256_movemask_ps(m); }
  static M FirstLanes(int n) { return Lt(Iota(), _mm256_set1_ps(float(n))); }
  static I TruncI(F a) { return _mm256_cvttps_epi32(a); }
  static F FromI(I a) { return _mm256_cvtepi32_ps(a); }
  static F FromInt(int v) { return _mm256_cvtepi32_ps(_mm256_set1_epi32(v)); }

  // Int32 lanes, and N pixels of 16 bits a channel from p split into one
  // int lane vector a channel, and back (8 bits: SpanLanes, on whole words).
  static I ISet(int v) { return _mm256_set1_epi32(v); }
  static I IAnd32(I a, I b) { return _mm256_and_si256(a, b); }
  static I IOr32(I a, I b) { return _mm256_or_si256(a, b); }
  template <int n>
  static I IShr(I a) { return _mm256_srli_epi32(a, n); }
  template <int n>
  static I IShl(I a) { return _mm256_slli_epi32(a, n); }
  static I LoadI(const unsigned char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  }
  static void StoreI(unsigned char* p, I v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
  }
  static M IEq(I a, I b) { return _mm256_castsi256_ps(_mm256_cmpeq_epi32(a, b)); }
  static I ISelect(M m, I a, I b) { return _mm256_blendv_epi8(b, a, _mm256_castps_si256(m)); }
  // 16 bits: the even and odd 32-bit words of eight pixels; the shuffle
  // works within 128-bit halves (pixels 0 1 4 5 2 3 6 7), so the 64-bit
  // quarters are put back in order.
  static void LoadPixels16(const unsigned char* p, I c[4]) {
    const __m256 lo = _mm256_loadu_ps(reinterpret_cast<const float*>(p));
    const __m256 hi = _mm256_loadu_ps(reinterpret_cast<const float*>(p + 32));
    const I a = _mm256_permute4x64_epi64(
        _mm256_castps_si256(_mm256_shuffle_ps(lo, hi, _MM_SHUFFLE(2, 0, 2, 0))),
        _MM_SHUFFLE(3, 1, 2, 0));
    const I b = _mm256_permute4x64_epi64(
        _mm256_castps_si256(_mm256_shuffle_ps(lo, hi, _MM_SHUFFLE(3, 1, 3, 1))),
        _MM_SHUFFLE(3, 1, 2, 0));
    const I m = ISet(0xFFFF);
    c[0] = IAnd32(a, m);
    c[1] = IShr<16>(a);
    c[2] = IAnd32(b, m);
    c[3] = IShr<16>(b);
  }
  static void StorePixels16(unsigned char* p, const I c[4]) {
    const I a = IOr32(c[0], IShl<16>(c[1]));
    const I b = IOr32(c[2], IShl<16>(c[3]));
    const I lo = _mm256_unpacklo_epi32(a, b);  // pixels 0 1 | 4 5
    const I hi = _mm256_unpackhi_epi32(a, b);  // pixels 2 3 | 6 7
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), _mm256_permute2x128_si256(lo, hi, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + 32),
                        _mm256_permute2x128_si256(lo, hi, 0x31));
  }

  static D DSet(double v) { return _mm256_set1_pd(v); }
  static D DAdd(D a, D b) { return _mm256_add_pd(a, b); }
  static D DSub(D a, D b) { return _mm256_sub_pd(a, b); }
  static D DMul(D a, D b) { return _mm256_mul_pd(a, b); }
  static D DDiv(D a, D b) { return _mm256_div_pd(a, b); }
  static D DMax(D a, D b) { return _mm256_max_pd(a, b); }
  static D DMin(D a, D b) { return _mm256_min_pd(a, b); }
  static DM DGt(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
  static DM DLt(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
  static DM DEq(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_EQ_OQ); }
  static DM DNotGe(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_NGE_UQ); }
  static DM DOr(DM a, DM b) { return _mm256_or_pd(a, b); }
  static D DSelect(DM m, D a, D b) { return _mm256_blendv_pd(b, a, m); }
  static DI DBits(D v) { return _mm256_castpd_si256(v); }
  static D DFromBits(DI b) { return _mm256_castsi256_pd(b); }
  static DI IAnd(DI a, uint64_t b) { return _mm256_and_si256(a, _mm256_set1_epi64x(int64_t(b))); }
  static DI IOr(DI a, uint64_t b) { return _mm256_or_si256(a, _mm256_set1_epi64x(int64_t(b))); }
  static DI IAdd(DI a, uint64_t b) { return _mm256_add_epi64(a, _mm256_set1_epi64x(int64_t(b))); }
  static DI IShr52(DI a) { return _mm256_srli_epi64(a, 52); }
  static DI IShr5(DI a) { return _mm256_srli_epi64(a, 5); }
  static DI IShr47(DI a) { return _mm256_srli_epi64(a, 47); }
  static D DTable(const double* table, DI index) {
    return _mm256_i64gather_pd(table, index, 8);
  }
  static DI IShl52(DI a) { return _mm256_slli_epi64(a, 52); }
  static D Lo(F a) { return _mm256_cvtps_pd(_mm256_castps256_ps128(a)); }
  static D Hi(F a) { return _mm256_cvtps_pd(_mm256_extractf128_ps(a, 1)); }
  static F Join(D lo, D hi) {
    return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm256_cvtpd_ps(lo)), _mm256_cvtpd_ps(hi),
                                1);
  }
};

}  // namespace
