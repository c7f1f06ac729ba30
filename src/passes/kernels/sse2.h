#pragma once
// Small SSE2 helpers for the byte kernels (SSE2 is part of every x86-64).
#include <emmintrin.h>

#include <cstdint>

namespace kernels::sse2 {

inline __m128i load(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void store(std::uint8_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
inline __m128i equal(__m128i a, __m128i b) {
    return _mm_cmpeq_epi8(a, b);
}
// Bytes of `mask` that are all ones pick `chosen`, the others `otherwise`.
inline __m128i select(__m128i mask, __m128i chosen, __m128i otherwise) {
    return _mm_or_si128(_mm_and_si128(mask, chosen), _mm_andnot_si128(mask, otherwise));
}

// Four dwords [p q r 0] become twelve bytes p q r p q r ... at the bottom of
// the register, zeros above.
inline __m128i packTriples(__m128i v) {
    const __m128i lowDwords = _mm_set_epi32(0, -1, 0, -1);
    const __m128i halves = _mm_or_si128(_mm_and_si128(v, lowDwords),
                                        _mm_srli_epi64(_mm_andnot_si128(lowDwords, v), 8));
    return _mm_or_si128(_mm_move_epi64(halves), _mm_slli_si128(_mm_srli_si128(halves, 8), 6));
}

// Writes a0 b0 c0 a1 b1 c1 ... a15 b15 c15: 48 bytes.
inline void storeInterleaved3(std::uint8_t* out, __m128i a, __m128i b, __m128i c) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i abLow = _mm_unpacklo_epi8(a, b);
    const __m128i abHigh = _mm_unpackhi_epi8(a, b);
    const __m128i cLow = _mm_unpacklo_epi8(c, zero);
    const __m128i cHigh = _mm_unpackhi_epi8(c, zero);
    const __m128i t0 = packTriples(_mm_unpacklo_epi16(abLow, cLow));
    const __m128i t1 = packTriples(_mm_unpackhi_epi16(abLow, cLow));
    const __m128i t2 = packTriples(_mm_unpacklo_epi16(abHigh, cHigh));
    const __m128i t3 = packTriples(_mm_unpackhi_epi16(abHigh, cHigh));
    store(out, _mm_or_si128(t0, _mm_slli_si128(t1, 12)));
    store(out + 16, _mm_or_si128(_mm_srli_si128(t1, 4), _mm_slli_si128(t2, 8)));
    store(out + 32, _mm_or_si128(_mm_srli_si128(t2, 8), _mm_slli_si128(t3, 4)));
}

// Writes a0 b0 a1 b1 ... a15 b15: 32 bytes.
inline void storeInterleaved2(std::uint8_t* out, __m128i a, __m128i b) {
    store(out, _mm_unpacklo_epi8(a, b));
    store(out + 16, _mm_unpackhi_epi8(a, b));
}

}  // namespace kernels::sse2
