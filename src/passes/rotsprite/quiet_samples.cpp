#include "passes/rotsprite/quiet_samples.h"

#include <array>

#include "passes/kernels/cpu.h"
#include "passes/rotsprite/cell_lanes.h"

namespace rotsprite {

namespace {

bool inBox(const Box& box, std::int64_t x, std::int64_t y) {
    return static_cast<std::uint64_t>(x - box.columnLow) <
               static_cast<std::uint64_t>(box.columnSpan) &&
           static_cast<std::uint64_t>(y - box.rowLow) < static_cast<std::uint64_t>(box.rowSpan);
}

// Whether sample i is in the box and quiet; the read goes to a place in the
// box either way, so no branch is needed.
bool quietAt(const QuietView& cells, const Box& box, std::int64_t x, std::int64_t y) {
    const bool inside = inBox(box, x, y);
    return inside && cells.quietAround(inside ? x : box.columnLow, inside ? y : box.rowLow);
}

int listEdgesFrom(int from, const QuietView& cells, const std::int32_t* columns,
                  const std::int32_t* rows, int width, const Box& box, int* edges, int count) {
    for (int i = from; i < width; ++i) {
        edges[count] = i;
        count += inBox(box, columns[i], rows[i]) && !quietAt(cells, box, columns[i], rows[i]);
    }
    return count;
}

int takeQuietFrom(int from, const QuietView& cells, const std::int32_t* columns,
                  const std::int32_t* rows, int width, const Box& box, std::uint8_t* target,
                  std::uint8_t* marks, int* others, int count) {
    for (int i = from; i < width; ++i) {
        const std::int64_t x = columns[i], y = rows[i];
        const bool quiet = quietAt(cells, box, x, y);
        const std::int64_t u = quiet ? x : box.columnLow, v = quiet ? y : box.rowLow;
        const std::uint8_t value = cells.input[(v >> kLevels) * cells.inputWidth + (u >> kLevels)];
        target[i] = quiet ? value : target[i];
        if (marks != nullptr) marks[i] = quiet ? 0 : marks[i];
        others[count] = i;
        count += quiet ? 0 : 1;
    }
    return count;
}

// For each 8-bit mask, the positions of its set bits first: the lanes a
// list keeps, moved to its front.
struct Compress {
    std::array<std::array<std::int32_t, 8>, 256> lanes{};
    constexpr Compress() {
        for (int mask = 0; mask < 256; ++mask) {
            int n = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if ((mask >> bit & 1) != 0) lanes[mask][n++] = bit;
            }
        }
    }
};
constexpr Compress kCompress{};

// Lanes of v in [low, low + span).
MARLUNE_AVX2 inline __m256i within(__m256i v, std::int64_t low, std::int64_t span) {
    const __m256i offset = _mm256_sub_epi32(v, _mm256_set1_epi32(static_cast<std::int32_t>(low)));
    return _mm256_andnot_si256(
        _mm256_cmpgt_epi32(_mm256_setzero_si256(), offset),
        _mm256_cmpgt_epi32(_mm256_set1_epi32(static_cast<std::int32_t>(span)), offset));
}

// The eight samples at columns i.. : which lie in the box, and which of those
// in a quiet quarter; and where the quiet ones read their input pixel.
struct Eight {
    __m256i inside, quiet, column, row;
};

MARLUNE_AVX2 inline Eight lookEight(const QuietView& cells, const Box& box,
                                    const std::int32_t* columns, const std::int32_t* rows, int i) {
    const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + i));
    const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows + i));
    const __m256i inside = _mm256_and_si256(within(x, box.columnLow, box.columnSpan),
                                            within(y, box.rowLow, box.rowSpan));
    const __m256i u =
        _mm256_blendv_epi8(_mm256_set1_epi32(static_cast<std::int32_t>(box.columnLow)), x, inside);
    const __m256i v =
        _mm256_blendv_epi8(_mm256_set1_epi32(static_cast<std::int32_t>(box.rowLow)), y, inside);
    // The 32-bit word of quiet bits: quarter row v / 4, quarter u / 4, bit u / 4 % 32.
    const __m256i word = _mm256_add_epi32(
        _mm256_mullo_epi32(
            _mm256_sub_epi32(_mm256_srai_epi32(v, 2),
                             _mm256_set1_epi32(static_cast<std::int32_t>(cells.quietFirst))),
            _mm256_set1_epi32(static_cast<std::int32_t>(2 * cells.quietWords))),
        _mm256_srai_epi32(u, 7));
    const __m256i bits = _mm256_i32gather_epi32(reinterpret_cast<const int*>(cells.quiet), word, 4);
    const __m256i bit = _mm256_and_si256(
        _mm256_srlv_epi32(bits, _mm256_and_si256(_mm256_srai_epi32(u, 2), _mm256_set1_epi32(31))),
        _mm256_set1_epi32(1));
    const __m256i quiet = _mm256_and_si256(inside, _mm256_cmpeq_epi32(bit, _mm256_set1_epi32(1)));
    return {inside, quiet, u, v};
}

// Appends the lanes of `keep` (column i + lane) to list + count.
MARLUNE_AVX2 inline int appendLanes(__m256i keep, int i, int* list, int count) {
    const int mask = _mm256_movemask_ps(_mm256_castsi256_ps(keep));
    const __m256i lanes =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kCompress.lanes[mask].data()));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(list + count),
                        _mm256_add_epi32(lanes, _mm256_set1_epi32(i)));
    return count + __builtin_popcount(static_cast<unsigned>(mask));
}

// The low bytes of eight 32-bit lanes, in order.
MARLUNE_AVX2 inline __m128i lowBytes(__m256i v) {
    const __m256i gathered = _mm256_shuffle_epi8(
        v, _mm256_setr_epi8(0, 4, 8, 12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 4, 8,
                            12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1));
    return _mm256_castsi256_si128(
        _mm256_permutevar8x32_epi32(gathered, _mm256_setr_epi32(0, 4, 1, 1, 1, 1, 1, 1)));
}

MARLUNE_AVX2 int listEdgesAvx2(const QuietView& cells, const std::int32_t* columns,
                               const std::int32_t* rows, int width, const Box& box, int* edges) {
    int count = 0, i = 0;
    for (; i + 8 <= width; i += 8) {
        const Eight eight = lookEight(cells, box, columns, rows, i);
        count = appendLanes(_mm256_andnot_si256(eight.quiet, eight.inside), i, edges, count);
    }
    return listEdgesFrom(i, cells, columns, rows, width, box, edges, count);
}

MARLUNE_AVX2 int takeQuietAvx2(const QuietView& cells, const std::int32_t* columns,
                               const std::int32_t* rows, int width, const Box& box,
                               std::uint8_t* target, std::uint8_t* marks, int* others) {
    int count = 0, i = 0;
    for (; i + 8 <= width; i += 8) {
        const Eight eight = lookEight(cells, box, columns, rows, i);
        // The input pixel at (u / 8, v / 8), a 32-bit read whose low byte it is.
        const __m256i at = _mm256_add_epi32(
            _mm256_mullo_epi32(_mm256_srai_epi32(eight.row, kLevels),
                               _mm256_set1_epi32(static_cast<std::int32_t>(cells.inputWidth))),
            _mm256_srai_epi32(eight.column, kLevels));
        const __m256i values =
            _mm256_i32gather_epi32(reinterpret_cast<const int*>(cells.input), at, 1);
        const __m128i quiet = lowBytes(eight.quiet);
        const auto blend = [&](std::uint8_t * bytes, __m128i with) __attribute__((target("avx2"))) {
            const __m128i old = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes + i));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(bytes + i),
                             _mm_blendv_epi8(old, with, quiet));
        };
        blend(target, lowBytes(values));
        if (marks != nullptr) blend(marks, _mm_setzero_si128());
        count = appendLanes(_mm256_xor_si256(eight.quiet, _mm256_set1_epi32(-1)), i, others, count);
    }
    return takeQuietFrom(i, cells, columns, rows, width, box, target, marks, others, count);
}

MARLUNE_AVX2 int readEightAvx2(const CellView& cells, const std::int32_t* columns,
                               const std::int32_t* rows, const int* list, const Box& box,
                               std::uint8_t* target) {
    const __m256i at = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(list));
    const __m256i x = _mm256_i32gather_epi32(reinterpret_cast<const int*>(columns), at, 4);
    const __m256i y = _mm256_i32gather_epi32(reinterpret_cast<const int*>(rows), at, 4);
    const __m256i inside = _mm256_and_si256(within(x, box.columnLow, box.columnSpan),
                                            within(y, box.rowLow, box.rowSpan));
    if (_mm256_movemask_ps(_mm256_castsi256_ps(inside)) != 0xFF) return -1;
    const __m256i one = _mm256_set1_epi32(1);
    const __m256i place =
        _mm256_add_epi32(cellRowStart(cells, _mm256_srai_epi32(y, 1)), _mm256_srai_epi32(x, 1));
    const __m256i value = cellPixels(cells, place, _mm256_slli_epi32(_mm256_and_si256(y, one), 1),
                                     _mm256_and_si256(x, one));
    // The input pixel under each, the low byte of a 32-bit read.
    const __m256i pixel = _mm256_add_epi32(
        _mm256_mullo_epi32(_mm256_srai_epi32(y, kLevels),
                           _mm256_set1_epi32(static_cast<std::int32_t>(cells.inputWidth))),
        _mm256_srai_epi32(x, kLevels));
    const __m256i under = _mm256_and_si256(
        _mm256_i32gather_epi32(reinterpret_cast<const int*>(cells.input), pixel, 1),
        _mm256_set1_epi32(0xFF));
    alignas(32) std::int32_t values[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(values), value);
    for (int l = 0; l < 8; ++l) target[list[l]] = static_cast<std::uint8_t>(values[l]);
    return _mm256_movemask_ps(_mm256_castsi256_ps(
        _mm256_xor_si256(_mm256_cmpeq_epi32(under, value), _mm256_set1_epi32(-1))));
}

}  // namespace

int readEightSamples(const CellView& cells, const std::int32_t* columns, const std::int32_t* rows,
                     const int* list, const Box& box, std::uint8_t* target) {
    if (!kernels::hasAvx2()) return -1;
    return readEightAvx2(cells, columns, rows, list, box, target);
}

int listEdgeSamples(const QuietView& cells, const std::int32_t* columns, const std::int32_t* rows,
                    int width, const Box& box, int* edges) {
    if (kernels::hasAvx2()) return listEdgesAvx2(cells, columns, rows, width, box, edges);
    return listEdgesFrom(0, cells, columns, rows, width, box, edges, 0);
}

int takeQuietSamples(const QuietView& cells, const std::int32_t* columns, const std::int32_t* rows,
                     int width, const Box& box, std::uint8_t* target, std::uint8_t* marks,
                     int* others) {
    if (kernels::hasAvx2()) {
        return takeQuietAvx2(cells, columns, rows, width, box, target, marks, others);
    }
    return takeQuietFrom(0, cells, columns, rows, width, box, target, marks, others, 0);
}

}  // namespace rotsprite
