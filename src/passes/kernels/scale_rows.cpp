#include "passes/kernels/scale_rows.h"

#include <immintrin.h>

#include "passes/kernels/cpu.h"
#include "passes/kernels/scale_rules.h"
#include "passes/kernels/sse2.h"

namespace kernels {

using namespace sse2;

namespace {

constexpr int kLanes = 16;

// Whole vectors of columns x .. x + 15 read columns x - 1 .. x + 16, which must
// stay inside the row: the vector part ends where that would pass width - 1.
bool vectorFits(int x, int width, int lanes = kLanes) {
    return x + lanes <= width - 1;
}

constexpr int kWideLanes = 32;

#define MARLUNE_AVX2 __attribute__((target("avx2")))

MARLUNE_AVX2 __m256i load32(const std::uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// a0 b0 a1 b1 ... a31 b31. Unpacking works within 128-bit halves; the
// permutes put the halves in order.
MARLUNE_AVX2 void storePairs32(std::uint8_t* out, __m256i a, __m256i b) {
    const __m256i low = _mm256_unpacklo_epi8(a, b), high = _mm256_unpackhi_epi8(a, b);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                        _mm256_permute2x128_si256(low, high, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32),
                        _mm256_permute2x128_si256(low, high, 0x31));
}

// `chosen` where `active` and x1 = x2, else `e`.
MARLUNE_AVX2 __m256i pick32(__m256i active, __m256i x1, __m256i x2, __m256i chosen, __m256i e) {
    return _mm256_blendv_epi8(e, chosen, _mm256_and_si256(active, _mm256_cmpeq_epi8(x1, x2)));
}

// The Scale2x rule on 32 columns at a time from column 1; returns the first
// column it left for the narrower code.
MARLUNE_AVX2 int scale2xWide(const std::uint8_t* above, const std::uint8_t* here,
                             const std::uint8_t* below, std::uint8_t* upper, std::uint8_t* lower,
                             int width) {
    int x = 1;
    for (; vectorFits(x, width, kWideLanes); x += kWideLanes) {
        const __m256i b = load32(above + x), h = load32(below + x);
        const __m256i d = load32(here + x - 1), e = load32(here + x), f = load32(here + x + 1);
        const __m256i active =
            _mm256_andnot_si256(_mm256_or_si256(_mm256_cmpeq_epi8(b, h), _mm256_cmpeq_epi8(d, f)),
                                _mm256_set1_epi8(-1));
        storePairs32(upper + 2 * x, pick32(active, d, b, d, e), pick32(active, b, f, f, e));
        storePairs32(lower + 2 * x, pick32(active, d, h, d, e), pick32(active, h, f, f, e));
    }
    return x;
}

#undef MARLUNE_AVX2

}  // namespace

void scale2xInteriorRow(const std::uint8_t* above, const std::uint8_t* here,
                        const std::uint8_t* below, std::uint8_t* upper, std::uint8_t* lower,
                        int width) {
    int x = hasAvx2() ? scale2xWide(above, here, below, upper, lower, width) : 1;
    for (; vectorFits(x, width); x += kLanes) {
        const __m128i b = load(above + x), h = load(below + x);
        const __m128i d = load(here + x - 1), e = load(here + x), f = load(here + x + 1);
        // Lanes where B != H and D != F; elsewhere every sub-pixel is E.
        const __m128i active =
            _mm_andnot_si128(_mm_or_si128(equal(b, h), equal(d, f)), _mm_set1_epi8(-1));
        const __m128i e0 = select(_mm_and_si128(active, equal(d, b)), d, e);
        const __m128i e1 = select(_mm_and_si128(active, equal(b, f)), f, e);
        const __m128i e2 = select(_mm_and_si128(active, equal(d, h)), d, e);
        const __m128i e3 = select(_mm_and_si128(active, equal(h, f)), f, e);
        storeInterleaved2(upper + 2 * x, e0, e1);
        storeInterleaved2(lower + 2 * x, e2, e3);
    }
    for (; x < width - 1; ++x) {
        writeScale2xBlock(above[x], here[x - 1], here[x], here[x + 1], below[x], upper + 2 * x,
                          lower + 2 * x);
    }
}

void scale3xInteriorRow(const std::uint8_t* above, const std::uint8_t* here,
                        const std::uint8_t* below, std::uint8_t* top, std::uint8_t* middle,
                        std::uint8_t* bottom, int width) {
    int x = 1;
    for (; vectorFits(x, width); x += kLanes) {
        const __m128i a = load(above + x - 1), b = load(above + x), c = load(above + x + 1);
        const __m128i d = load(here + x - 1), e = load(here + x), f = load(here + x + 1);
        const __m128i g = load(below + x - 1), h = load(below + x), i = load(below + x + 1);
        const __m128i active =
            _mm_andnot_si128(_mm_or_si128(equal(b, h), equal(d, f)), _mm_set1_epi8(-1));
        const __m128i db = _mm_and_si128(active, equal(d, b));
        const __m128i bf = _mm_and_si128(active, equal(b, f));
        const __m128i dh = _mm_and_si128(active, equal(d, h));
        const __m128i hf = _mm_and_si128(active, equal(h, f));
        const __m128i ea = equal(e, a), ec = equal(e, c), eg = equal(e, g), ei = equal(e, i);
        // _mm_andnot_si128(x, m): m where E differs from the corner tested by x.
        const __m128i e1 =
            select(_mm_or_si128(_mm_andnot_si128(ec, db), _mm_andnot_si128(ea, bf)), b, e);
        const __m128i e3 =
            select(_mm_or_si128(_mm_andnot_si128(eg, db), _mm_andnot_si128(ea, dh)), d, e);
        const __m128i e5 =
            select(_mm_or_si128(_mm_andnot_si128(ei, bf), _mm_andnot_si128(ec, hf)), f, e);
        const __m128i e7 =
            select(_mm_or_si128(_mm_andnot_si128(ei, dh), _mm_andnot_si128(eg, hf)), h, e);
        storeInterleaved3(top + 3 * x, select(db, d, e), e1, select(bf, f, e));
        storeInterleaved3(middle + 3 * x, e3, e, e5);
        storeInterleaved3(bottom + 3 * x, select(dh, d, e), e7, select(hf, f, e));
    }
    for (; x < width - 1; ++x) {
        writeScale3xBlock(above[x - 1], above[x], above[x + 1], here[x - 1], here[x], here[x + 1],
                          below[x - 1], below[x], below[x + 1], top + 3 * x, middle + 3 * x,
                          bottom + 3 * x);
    }
}

}  // namespace kernels
