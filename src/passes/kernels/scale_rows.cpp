#include "passes/kernels/scale_rows.h"

#include "passes/kernels/scale_rules.h"
#include "passes/kernels/sse2.h"

namespace kernels {

using namespace sse2;

namespace {

constexpr int kLanes = 16;

// Whole vectors of columns x .. x + 15 read columns x - 1 .. x + 16, which must
// stay inside the row: the vector part ends where that would pass width - 1.
bool vectorFits(int x, int width) { return x + kLanes <= width - 1; }

}  // namespace

void scale2xInteriorRow(const std::uint8_t* above, const std::uint8_t* here,
                        const std::uint8_t* below, std::uint8_t* upper, std::uint8_t* lower,
                        int width) {
    int x = 1;
    for (; vectorFits(x, width); x += kLanes) {
        const __m128i b = load(above + x), h = load(below + x);
        const __m128i d = load(here + x - 1), e = load(here + x), f = load(here + x + 1);
        // Lanes where B != H and D != F; elsewhere every sub-pixel is E.
        const __m128i active = _mm_andnot_si128(_mm_or_si128(equal(b, h), equal(d, f)), _mm_set1_epi8(-1));
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
        const __m128i active = _mm_andnot_si128(_mm_or_si128(equal(b, h), equal(d, f)), _mm_set1_epi8(-1));
        const __m128i db = _mm_and_si128(active, equal(d, b));
        const __m128i bf = _mm_and_si128(active, equal(b, f));
        const __m128i dh = _mm_and_si128(active, equal(d, h));
        const __m128i hf = _mm_and_si128(active, equal(h, f));
        const __m128i ea = equal(e, a), ec = equal(e, c), eg = equal(e, g), ei = equal(e, i);
        // _mm_andnot_si128(x, m): m where E differs from the corner tested by x.
        const __m128i e1 = select(_mm_or_si128(_mm_andnot_si128(ec, db), _mm_andnot_si128(ea, bf)), b, e);
        const __m128i e3 = select(_mm_or_si128(_mm_andnot_si128(eg, db), _mm_andnot_si128(ea, dh)), d, e);
        const __m128i e5 = select(_mm_or_si128(_mm_andnot_si128(ei, bf), _mm_andnot_si128(ec, hf)), f, e);
        const __m128i e7 = select(_mm_or_si128(_mm_andnot_si128(ei, dh), _mm_andnot_si128(eg, hf)), h, e);
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
