#pragma once
// Small AVX2 helpers for the byte kernels. Only for functions compiled for
// AVX2 (MARLUNE_AVX2) and called where hasAvx2() holds.
#include <immintrin.h>

#include <array>
#include <cstdint>

#define MARLUNE_AVX2 __attribute__((target("avx2")))

namespace kernels::avx2 {

MARLUNE_AVX2 inline __m256i load(const std::uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
MARLUNE_AVX2 inline __m256i equal(__m256i a, __m256i b) {
    return _mm256_cmpeq_epi8(a, b);
}
// Bytes of `mask` that are all ones pick `chosen`, the others `otherwise`.
MARLUNE_AVX2 inline __m256i select(__m256i mask, __m256i chosen, __m256i otherwise) {
    return _mm256_blendv_epi8(otherwise, chosen, mask);
}

// Writes a0 b0 a1 b1 ... a31 b31: 64 bytes. Unpacking works within 128-bit
// halves; the permutes put the halves in order.
MARLUNE_AVX2 inline void storeInterleaved2(std::uint8_t* out, __m256i a, __m256i b) {
    const __m256i low = _mm256_unpacklo_epi8(a, b), high = _mm256_unpackhi_epi8(a, b);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                        _mm256_permute2x128_si256(low, high, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32),
                        _mm256_permute2x128_si256(low, high, 0x31));
}

// Shuffle masks for three-way interleaving: in 16-byte chunk k of the output,
// byte p is byte (16k + p) / 3 of input (16k + p) % 3, else zero (0x80).
struct TripleMasks {
    alignas(32) std::array<std::array<std::uint8_t, 32>, 9> mask{};  // [3 * k + input]
    constexpr TripleMasks() {
        for (int k = 0; k < 3; ++k) {
            for (int input = 0; input < 3; ++input) {
                for (int p = 0; p < 32; ++p) {
                    const int g = 16 * k + p % 16;
                    mask[3 * k + input][p] =
                        g % 3 == input ? static_cast<std::uint8_t>(g / 3) : 0x80;
                }
            }
        }
    }
};
inline constexpr TripleMasks kTripleMasks{};

// Writes a0 b0 c0 a1 b1 c1 ... a31 b31 c31: 96 bytes. Shuffles work within
// 128-bit halves, so each gives a chunk of the first 48 bytes in its low half
// and the same chunk of the last 48 in its high half.
MARLUNE_AVX2 inline __m256i tripleMasked(__m256i v, int which) {
    return _mm256_shuffle_epi8(
        v, _mm256_load_si256(reinterpret_cast<const __m256i*>(kTripleMasks.mask[which].data())));
}

MARLUNE_AVX2 inline void storeInterleaved3(std::uint8_t* out, __m256i a, __m256i b, __m256i c) {
    const auto masked = tripleMasked;
    for (int k = 0; k < 3; ++k) {
        const __m256i chunk = _mm256_or_si256(
            _mm256_or_si256(masked(a, 3 * k), masked(b, 3 * k + 1)), masked(c, 3 * k + 2));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * k), _mm256_castsi256_si128(chunk));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 48 + 16 * k),
                         _mm256_extracti128_si256(chunk, 1));
    }
}

}  // namespace kernels::avx2
