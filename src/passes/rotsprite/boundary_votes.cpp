#include "passes/rotsprite/boundary_votes.h"

#include "passes/kernels/cpu.h"
#include "passes/rotsprite/cell_lanes.h"

namespace rotsprite {

namespace {

// Where a sample's moves share four 8x pixels, x0 or x0 + 1 by y0 or y0 + 1,
// their window is the pixels of rows y0 - 1 .. y0 + 2 and columns x0 - 1 ..
// x0 + 2 but the corners; here eight samples' at once, a lane each.
struct Window {
    const CellView& cells;
    __m256i rowStart[4], upper[4];  // by row of the window: its cells, 2 for an odd 8x row
    __m256i x4[4], right[4];        // by column: its 4x column, 1 for an odd 8x column

    MARLUNE_AVX2 __m256i at(int r, int c) const {
        return cellPixels(cells, _mm256_add_epi32(rowStart[r], x4[c]), upper[r], right[c]);
    }
};

// values[at] in each lane.
MARLUNE_AVX2 inline __m256i lanes(const std::int32_t* values, __m256i at) {
    return _mm256_i32gather_epi32(reinterpret_cast<const int*>(values), at, 4);
}

// distance(e, n) in each lane; alike lanes (distance 0) are not looked up.
MARLUNE_AVX2 __m256i distances(const std::uint32_t* table, __m256i e, __m256i n) {
    const __m256i unlike = _mm256_xor_si256(_mm256_cmpeq_epi32(e, n), _mm256_set1_epi32(-1));
    if (_mm256_testz_si256(unlike, unlike)) return _mm256_setzero_si256();
    const __m256i entry = _mm256_or_si256(_mm256_slli_epi32(e, 8), n);
    return _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), reinterpret_cast<const int*>(table),
                                       entry, unlike, 4);
}

MARLUNE_AVX2 int addSharedAvx2(const CellView& cells, const SimilarColours& similar,
                               const std::int32_t* const* columns, const std::int32_t* const* rows,
                               const int* edges, int count, Votes& votes) {
    // Per lane, at most 4096 samples of 4 distances of at most 3 * 255^2:
    // 32 bits hold the sums of a row.
    __m256i sums[16];
    for (__m256i& sum : sums) sum = _mm256_setzero_si256();
    const __m256i one = _mm256_set1_epi32(1);
    int k = 0;
    for (; k + 8 <= count; k += 8) {
        const __m256i at = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(edges + k));
        const __m256i x0 = lanes(columns[0], at), y0 = lanes(rows[0], at);
        const __m256i sharing =
            _mm256_and_si256(_mm256_cmpeq_epi32(_mm256_sub_epi32(lanes(columns[2], at), x0), one),
                             _mm256_cmpeq_epi32(_mm256_sub_epi32(lanes(rows[2], at), y0), one));
        if (_mm256_movemask_ps(_mm256_castsi256_ps(sharing)) != 0xFF) break;
        for (int ahead = k + 8; ahead < count && ahead < k + 16; ++ahead) {
            // The window's three rows of cells (its corners reach two 8x rows out).
            const int i = edges[ahead];
            const std::int64_t x4 = (columns[1][i] >> 1) - 1, y4 = rows[1][i] >> 1;
            for (std::int64_t y = y4 - 1; y <= y4 + 1; ++y) cells.prefetch(x4, y);
        }
        Window window{cells, {}, {}, {}, {}};
        for (int r = 0; r < 4; ++r) {
            const __m256i y = _mm256_add_epi32(y0, _mm256_set1_epi32(r - 1));
            window.rowStart[r] = cellRowStart(cells, _mm256_srai_epi32(y, 1));
            window.upper[r] = _mm256_slli_epi32(_mm256_and_si256(y, one), 1);
        }
        for (int c = 0; c < 4; ++c) {
            const __m256i x = _mm256_add_epi32(x0, _mm256_set1_epi32(c - 1));
            window.x4[c] = _mm256_srai_epi32(x, 1);
            window.right[c] = _mm256_and_si256(x, one);
        }
        __m256i v[4][4];
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) {
                if ((r == 0 || r == 3) && (c == 0 || c == 3)) continue;
                v[r][c] = window.at(r, c);
            }
        }
        // Where the middle move rounds to: which four of the sums it adds to.
        const __m256i group =
            _mm256_add_epi32(_mm256_slli_epi32(_mm256_sub_epi32(lanes(rows[1], at), y0), 1),
                             _mm256_sub_epi32(lanes(columns[1], at), x0));
        const std::uint32_t* table = similar.distances();
        for (int dy = 0; dy < 2; ++dy) {
            for (int dx = 0; dx < 2; ++dx) {
                const __m256i e = v[1 + dy][1 + dx];
                const __m256i sum =
                    _mm256_add_epi32(_mm256_add_epi32(distances(table, e, v[1 + dy][dx]),
                                                      distances(table, e, v[1 + dy][2 + dx])),
                                     _mm256_add_epi32(distances(table, e, v[dy][1 + dx]),
                                                      distances(table, e, v[2 + dy][1 + dx])));
                for (int g = 0; g < 4; ++g) {
                    const __m256i own = _mm256_cmpeq_epi32(group, _mm256_set1_epi32(g));
                    __m256i& target = sums[4 * g + 2 * dy + dx];
                    target = _mm256_add_epi32(target, _mm256_and_si256(sum, own));
                }
            }
        }
    }
    for (int s = 0; s < 16; ++s) {
        alignas(32) std::uint32_t parts[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(parts), sums[s]);
        for (const std::uint32_t part : parts) votes.shared[static_cast<std::size_t>(s)] += part;
    }
    return k;
}

}  // namespace

int addSharedVotes(const CellView& cells, const SimilarColours& similar,
                   const std::int32_t* const* columns, const std::int32_t* const* rows,
                   const int* edges, int count, Votes& votes) {
    if (!kernels::hasAvx2()) return 0;
    return addSharedAvx2(cells, similar, columns, rows, edges, count, votes);
}

}  // namespace rotsprite
