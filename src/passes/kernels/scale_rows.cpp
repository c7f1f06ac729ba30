#include "passes/kernels/scale_rows.h"

#include <algorithm>

#include "passes/kernels/avx2.h"
#include "passes/kernels/cpu.h"
#include "passes/kernels/scale_rules.h"
#include "passes/kernels/sse2.h"

namespace kernels {

namespace {

// Source row r with the rows above and below it, the row itself where the
// image ends.
struct Around {
    const std::uint8_t* above;
    const std::uint8_t* here;
    const std::uint8_t* below;
    int width;
};

Around around(const IndexedImage& in, int r) {
    const std::ptrdiff_t stride = in.stride();
    const std::uint8_t* here = in.pixels + r * stride;
    return {r + 1 < in.height ? here + stride : here, here, r > 0 ? here - stride : here, in.width};
}

// Columns [from, to) one at a time, the pixel itself beside the first and last.
void scale2xColumns(const Around& s, std::uint8_t* upper, std::uint8_t* lower, int from, int to) {
    for (int x = from; x < to; ++x) {
        const int left = x > 0 ? x - 1 : x, right = x + 1 < s.width ? x + 1 : x;
        writeScale2xBlock(s.above[x], s.here[left], s.here[x], s.here[right], s.below[x],
                          upper + 2 * x, lower + 2 * x);
    }
}

void scale3xColumns(const Around& s, std::uint8_t* top, std::uint8_t* middle, std::uint8_t* bottom,
                    int from, int to) {
    for (int x = from; x < to; ++x) {
        const int l = x > 0 ? x - 1 : x, r = x + 1 < s.width ? x + 1 : x;
        writeScale3xBlock(s.above[l], s.above[x], s.above[r], s.here[l], s.here[x], s.here[r],
                          s.below[l], s.below[x], s.below[r], top + 3 * x, middle + 3 * x,
                          bottom + 3 * x);
    }
}

// The rules on 16 columns from x. The neighbours beside them are loaded from
// the row, or at the row's first and last column made by shifting in the
// pixel itself.
struct Columns16 {
    __m128i left, here, right;
};

Columns16 columns16(const std::uint8_t* row, int x, int width) {
    using namespace sse2;
    const __m128i here = load(row + x);
    const __m128i first = _mm_setr_epi8(-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    const __m128i last = _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1);
    const __m128i left = x > 0 ? load(row + x - 1)
                               : _mm_or_si128(_mm_slli_si128(here, 1), _mm_and_si128(here, first));
    const __m128i right = x + 16 < width
                              ? load(row + x + 1)
                              : _mm_or_si128(_mm_srli_si128(here, 1), _mm_and_si128(here, last));
    return {left, here, right};
}

void scale2x16(const Around& s, std::uint8_t* upper, std::uint8_t* lower, int x) {
    using namespace sse2;
    const __m128i b = load(s.above + x), h = load(s.below + x);
    const auto [d, e, f] = columns16(s.here, x, s.width);
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

void scale3x16(const Around& s, std::uint8_t* top, std::uint8_t* middle, std::uint8_t* bottom,
               int x) {
    using namespace sse2;
    const auto [a, b, c] = columns16(s.above, x, s.width);
    const auto [d, e, f] = columns16(s.here, x, s.width);
    const auto [g, h, i] = columns16(s.below, x, s.width);
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

// A row in vectors of kLanes columns: the first and last ones make the
// neighbours beyond the row; the last may overlap the one before, writing the
// same blocks again. Rows narrower than a vector take `narrow`.
template <int kLanes, typename Narrow, typename Vector>
inline void wholeRow(int width, Narrow narrow, Vector vector) {
    if (width < kLanes) {
        narrow();
        return;
    }
    for (int x = 0; x < width - kLanes; x += kLanes) vector(x);
    vector(width - kLanes);
}

void scale2xRowSse2(const Around& s, std::uint8_t* upper, std::uint8_t* lower) {
    wholeRow<16>(
        s.width, [&] { scale2xColumns(s, upper, lower, 0, s.width); },
        [&](int x) { scale2x16(s, upper, lower, x); });
}

void scale3xRowSse2(const Around& s, std::uint8_t* top, std::uint8_t* middle,
                    std::uint8_t* bottom) {
    wholeRow<16>(
        s.width, [&] { scale3xColumns(s, top, middle, bottom, 0, s.width); },
        [&](int x) { scale3x16(s, top, middle, bottom, x); });
}

// The same 32 columns at a time.
struct Columns32 {
    __m256i left, here, right;
};

MARLUNE_AVX2 inline Columns32 columns32(const std::uint8_t* row, int x, int width) {
    using namespace avx2;
    const __m256i here = load(row + x);
    // Shifted a byte up or down across the halves, the end byte kept.
    const auto shiftedUp = [&]() __attribute__((target("avx2"))) {
        const __m256i up =
            _mm256_alignr_epi8(here, _mm256_permute2x128_si256(here, here, 0x08), 15);
        return _mm256_or_si256(up, _mm256_and_si256(here, _mm256_setr_epi64x(0xFF, 0, 0, 0)));
    };
    const auto shiftedDown = [&]() __attribute__((target("avx2"))) {
        const __m256i down =
            _mm256_alignr_epi8(_mm256_permute2x128_si256(here, here, 0x81), here, 1);
        return _mm256_or_si256(
            down, _mm256_and_si256(here, _mm256_setr_epi64x(0, 0, 0, std::int64_t{-1} << 56)));
    };
    return {x > 0 ? load(row + x - 1) : shiftedUp(), here,
            x + 32 < width ? load(row + x + 1) : shiftedDown()};
}

MARLUNE_AVX2 inline void scale2x32(const Around& s, std::uint8_t* upper, std::uint8_t* lower,
                                   int x) {
    using namespace avx2;
    const __m256i b = load(s.above + x), h = load(s.below + x);
    const Columns32 row = columns32(s.here, x, s.width);
    const __m256i d = row.left, e = row.here, f = row.right;
    const __m256i still = _mm256_or_si256(equal(b, h), equal(d, f));
    const auto pick = [&](__m256i x1, __m256i x2, __m256i chosen) __attribute__((target("avx2"))) {
        return select(_mm256_andnot_si256(still, equal(x1, x2)), chosen, e);
    };
    storeInterleaved2(upper + 2 * x, pick(d, b, d), pick(b, f, f));
    storeInterleaved2(lower + 2 * x, pick(d, h, d), pick(h, f, f));
}

// m1 where E differs from the corner c1 is equal to, or m2 where from c2.
MARLUNE_AVX2 inline __m256i either(__m256i c1, __m256i m1, __m256i c2, __m256i m2) {
    return _mm256_or_si256(_mm256_andnot_si256(c1, m1), _mm256_andnot_si256(c2, m2));
}

MARLUNE_AVX2 inline void scale3x32(const Around& s, std::uint8_t* top, std::uint8_t* middle,
                                   std::uint8_t* bottom, int x) {
    using namespace avx2;
    const auto [a, b, c] = columns32(s.above, x, s.width);
    const auto [d, e, f] = columns32(s.here, x, s.width);
    const auto [g, h, i] = columns32(s.below, x, s.width);
    const __m256i still = _mm256_or_si256(equal(b, h), equal(d, f));
    const __m256i db = _mm256_andnot_si256(still, equal(d, b));
    const __m256i bf = _mm256_andnot_si256(still, equal(b, f));
    const __m256i dh = _mm256_andnot_si256(still, equal(d, h));
    const __m256i hf = _mm256_andnot_si256(still, equal(h, f));
    const __m256i ea = equal(e, a), ec = equal(e, c), eg = equal(e, g), ei = equal(e, i);
    storeInterleaved3(top + 3 * x, select(db, d, e), select(either(ec, db, ea, bf), b, e),
                      select(bf, f, e));
    storeInterleaved3(middle + 3 * x, select(either(eg, db, ea, dh), d, e), e,
                      select(either(ei, bf, ec, hf), f, e));
    storeInterleaved3(bottom + 3 * x, select(dh, d, e), select(either(ei, dh, eg, hf), h, e),
                      select(hf, f, e));
}

MARLUNE_AVX2 void scale2xRowsAvx2(const IndexedImage& in, IndexedImage& out, int first, int last) {
    for (int r = first; r < last; ++r) {
        const Around s = around(in, r);
        std::uint8_t* upper = out.row(2 * r + 1);
        std::uint8_t* lower = out.row(2 * r);
        wholeRow<32>(
            s.width, [&] { scale2xRowSse2(s, upper, lower); },
            [&](int x) __attribute__((target("avx2"))) { scale2x32(s, upper, lower, x); });
    }
}

MARLUNE_AVX2 void scale3xRowsAvx2(const IndexedImage& in, IndexedImage& out, int first, int last) {
    for (int r = first; r < last; ++r) {
        const Around s = around(in, r);
        std::uint8_t* top = out.row(3 * r + 2);
        std::uint8_t* middle = out.row(3 * r + 1);
        std::uint8_t* bottom = out.row(3 * r);
        wholeRow<32>(
            s.width, [&] { scale3xRowSse2(s, top, middle, bottom); },
            [&](int x) __attribute__((target("avx2"))) { scale3x32(s, top, middle, bottom, x); });
    }
}

}  // namespace

void scale2xRows(const IndexedImage& in, IndexedImage& out, int first, int last) {
    if (hasAvx2()) {
        scale2xRowsAvx2(in, out, first, last);
        return;
    }
    for (int r = first; r < last; ++r) {
        scale2xRowSse2(around(in, r), out.row(2 * r + 1), out.row(2 * r));
    }
}

void scale3xRows(const IndexedImage& in, IndexedImage& out, int first, int last) {
    if (hasAvx2()) {
        scale3xRowsAvx2(in, out, first, last);
        return;
    }
    for (int r = first; r < last; ++r) {
        scale3xRowSse2(around(in, r), out.row(3 * r + 2), out.row(3 * r + 1), out.row(3 * r));
    }
}

}  // namespace kernels
