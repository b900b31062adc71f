// Sixteen float lanes (eight double lanes) on AVX-512 (F, DQ, BW, VL).
// Only for files compiled for AVX-512 (the *_avx512.cpp files); the
// operations are those of LanesScalar (lanes_scalar.h), lane by lane. No
// fused multiply-add is used. Masks live in the mask registers: one bit a
// lane.
#pragma once
// The compiler's own AVX-512 header leaves the unused parts of some
// intrinsics undefined on purpose, which its uninitialised-use warnings
// report; they are silenced for that header alone.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#ifndef __clang__  // clang has no such group and would warn about the name
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#pragma GCC diagnostic pop

#include <cstdint>

namespace {

struct LanesAvx512 {
  static constexpr int N = 16;
  static constexpr bool kMasked = true;  // loads and stores of chosen lanes
  using F = __m512;
  using M = __mmask16;
  using I = __m512i;
  using D = __m512d;
  using DM = __mmask8;
  using DI = __m512i;

  static F Set(float v) { return _mm512_set1_ps(v); }
  static F Zero() { return _mm512_setzero_ps(); }
  static F Load(const float* p) { return _mm512_loadu_ps(p); }
  static void Store(float* p, F v) { _mm512_storeu_ps(p, v); }
  static F Iota() {
    return _mm512_setr_ps(0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f, 9.0f, 10.0f,
                          11.0f, 12.0f, 13.0f, 14.0f, 15.0f);
  }
  static F Add(F a, F b) { return _mm512_add_ps(a, b); }
  static F Sub(F a, F b) { return _mm512_sub_ps(a, b); }
  static F Mul(F a, F b) { return _mm512_mul_ps(a, b); }
  static F Div(F a, F b) { return _mm512_div_ps(a, b); }
  static F Sqrt(F a) { return _mm512_sqrt_ps(a); }
  static F Abs(F a) { return _mm512_andnot_ps(_mm512_set1_ps(-0.0f), a); }
  static F Neg(F a) { return _mm512_xor_ps(_mm512_set1_ps(-0.0f), a); }
  // a > b ? a : b and a < b ? a : b (b for NaN), as the instructions do.
  static F Max(F a, F b) { return _mm512_max_ps(a, b); }
  static F Min(F a, F b) { return _mm512_min_ps(a, b); }
  static M Gt(F a, F b) { return _mm512_cmp_ps_mask(a, b, _CMP_GT_OQ); }
  static M Ge(F a, F b) { return _mm512_cmp_ps_mask(a, b, _CMP_GE_OQ); }
  static M Lt(F a, F b) { return _mm512_cmp_ps_mask(a, b, _CMP_LT_OQ); }
  static M Le(F a, F b) { return _mm512_cmp_ps_mask(a, b, _CMP_LE_OQ); }
  static M Eq(F a, F b) { return _mm512_cmp_ps_mask(a, b, _CMP_EQ_OQ); }
  static M Ne(F a, F b) { return _mm512_cmp_ps_mask(a, b, _CMP_NEQ_UQ); }  // also NaN, as != is
  static M And(M a, M b) { return M(a & b); }
  static M Or(M a, M b) { return M(a | b); }
  static M AndNot(M a, M b) { return M(a & ~b); }  // a and not b
  static M True() { return M(0xFFFF); }
  static M False() { return M(0); }
  static F Select(M m, F a, F b) { return _mm512_mask_blend_ps(m, b, a); }
  static int Bits(M m) { return int(m); }
  static M FirstLanes(int n) { return M((1u << n) - 1u); }  // lanes 0 .. n-1, n < 16
  // float to int32 toward zero, and back: only for values inside the int range.
  static I TruncI(F a) { return _mm512_cvttps_epi32(a); }
  static F FromI(I a) { return _mm512_cvtepi32_ps(a); }
  static F FromInt(int v) { return _mm512_cvtepi32_ps(_mm512_set1_epi32(v)); }

  // Int32 lanes, and N pixels of 16 bits a channel from p split into one
  // int lane vector a channel, and back (8 bits: SpanLanes, on whole words).
  static I ISet(int v) { return _mm512_set1_epi32(v); }
  static I IAnd32(I a, I b) { return _mm512_and_si512(a, b); }
  static I IOr32(I a, I b) { return _mm512_or_si512(a, b); }
  template <int n>
  static I IShr(I a) { return _mm512_srli_epi32(a, n); }
  template <int n>
  static I IShl(I a) { return _mm512_slli_epi32(a, n); }
  static I LoadI(const unsigned char* p) { return _mm512_loadu_si512(p); }
  static void StoreI(unsigned char* p, I v) { _mm512_storeu_si512(p, v); }
  // Only the lanes of m are read (the others are 0) or written; the others
  // may lie outside any buffer.
  static F LoadMasked(const float* p, M m) { return _mm512_maskz_loadu_ps(m, p); }
  static void StoreMasked(float* p, M m, F v) { _mm512_mask_storeu_ps(p, m, v); }
  static I LoadIMasked(const unsigned char* p, M m) { return _mm512_maskz_loadu_epi32(m, p); }
  static void StoreIMasked(unsigned char* p, M m, I v) { _mm512_mask_storeu_epi32(p, m, v); }
  static M IEq(I a, I b) { return _mm512_cmpeq_epi32_mask(a, b); }
  static I ISelect(M m, I a, I b) { return _mm512_mask_blend_epi32(m, b, a); }
  // 16 bits: the first and second 32-bit word of each of sixteen pixels.
  static void LoadPixels16(const unsigned char* p, I c[4]) {
    Split16(_mm512_loadu_si512(p), _mm512_loadu_si512(p + 64), c);
  }
  static void Split16(I lo, I hi, I c[4]) {
    const I even = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const I odd = _mm512_setr_epi32(1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31);
    const I a = _mm512_permutex2var_epi32(lo, even, hi);
    const I b = _mm512_permutex2var_epi32(lo, odd, hi);
    const I m = ISet(0xFFFF);
    c[0] = IAnd32(a, m);
    c[1] = IShr<16>(a);
    c[2] = IAnd32(b, m);
    c[3] = IShr<16>(b);
  }
  static void StorePixels16(unsigned char* p, const I c[4]) { StorePixels16Masked(p, True(), c); }
  // The same for the pixels of m alone (eight bytes a pixel: a 64-bit
  // element each).
  static void LoadPixels16Masked(const unsigned char* p, M m, I c[4]) {
    const I lo = _mm512_maskz_loadu_epi64(__mmask8(m), p);
    const I hi = _mm512_maskz_loadu_epi64(__mmask8(m >> 8), p + 64);
    Split16(lo, hi, c);
  }
  static void StorePixels16Masked(unsigned char* p, M m, const I c[4]) {
    const I a = IOr32(c[0], IShl<16>(c[1]));
    const I b = IOr32(c[2], IShl<16>(c[3]));
    const I first = _mm512_setr_epi32(0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23);
    const I second = _mm512_setr_epi32(8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31);
    _mm512_mask_storeu_epi64(p, __mmask8(m), _mm512_permutex2var_epi32(a, first, b));
    _mm512_mask_storeu_epi64(p + 64, __mmask8(m >> 8), _mm512_permutex2var_epi32(a, second, b));
  }

  static D DSet(double v) { return _mm512_set1_pd(v); }
  static D DAdd(D a, D b) { return _mm512_add_pd(a, b); }
  static D DSub(D a, D b) { return _mm512_sub_pd(a, b); }
  static D DMul(D a, D b) { return _mm512_mul_pd(a, b); }
  static D DDiv(D a, D b) { return _mm512_div_pd(a, b); }
  static D DMax(D a, D b) { return _mm512_max_pd(a, b); }
  static D DMin(D a, D b) { return _mm512_min_pd(a, b); }
  static DM DGt(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_GT_OQ); }
  static DM DLt(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
  static DM DEq(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_EQ_OQ); }
  static DM DNotGe(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_NGE_UQ); }
  static DM DOr(DM a, DM b) { return DM(a | b); }
  static D DSelect(DM m, D a, D b) { return _mm512_mask_blend_pd(m, b, a); }
  static DI DBits(D v) { return _mm512_castpd_si512(v); }
  static D DFromBits(DI b) { return _mm512_castsi512_pd(b); }
  static DI IAnd(DI a, uint64_t b) { return _mm512_and_si512(a, _mm512_set1_epi64(int64_t(b))); }
  static DI IOr(DI a, uint64_t b) { return _mm512_or_si512(a, _mm512_set1_epi64(int64_t(b))); }
  static DI IAdd(DI a, uint64_t b) { return _mm512_add_epi64(a, _mm512_set1_epi64(int64_t(b))); }
  static DI IShr52(DI a) { return _mm512_srli_epi64(a, 52); }
  static DI IShr5(DI a) { return _mm512_srli_epi64(a, 5); }
  static DI IShr47(DI a) { return _mm512_srli_epi64(a, 47); }
  // A table of 32 doubles held in four registers: entries index & 15 of the
  // two halves (bit 3 picks the register of a pair), then bit 4 the half.
  static D DTable(const double* table, DI index) {
    const D lower = _mm512_permutex2var_pd(_mm512_loadu_pd(table), index, _mm512_loadu_pd(table + 8));
    const D upper =
        _mm512_permutex2var_pd(_mm512_loadu_pd(table + 16), index, _mm512_loadu_pd(table + 24));
    return _mm512_mask_blend_pd(_mm512_test_epi64_mask(index, _mm512_set1_epi64(16)), lower, upper);
  }
  static DI IShl52(DI a) { return _mm512_slli_epi64(a, 52); }
  // The float lanes as doubles, eight at a time, and back.
  static D Lo(F a) { return _mm512_cvtps_pd(_mm512_castps512_ps256(a)); }
  static D Hi(F a) {
    return _mm512_cvtps_pd(_mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(a), 1)));
  }
  static F Join(D lo, D hi) {
    return _mm512_castpd_ps(_mm512_insertf64x4(_mm512_castps_pd(_mm512_castps256_ps512(_mm512_cvtpd_ps(lo))),
                                               _mm256_castps_pd(_mm512_cvtpd_ps(hi)), 1));
  }
};

}  // namespace
