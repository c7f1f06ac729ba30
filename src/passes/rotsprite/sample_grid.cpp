#include "passes/rotsprite/sample_grid.h"

#include <immintrin.h>

#include "passes/kernels/cpu.h"

namespace rotsprite {

namespace {

// floor(8 * (terms[i] - rowTerm) + 0.5 * shift) for each shift, or with +
// rowTerm when `adding`: the same operations as SampleGrid::x and y, then
// cell, four at a time. One rounding serves every shift: with c the
// coordinate, c + shift / 2 is exact in doubles at any coordinate an image
// reaches (below 2^19, a multiple of 2^-34), so its floor is that of
// (floor(2 c) + shift) / 2, and 2 c is exact too.
template <int kShifts>
__attribute__((target("avx2"))) int cellsAvx2(const double* terms, double rowTerm, bool adding,
                                              const int* shifts, int count,
                                              std::int32_t* const* out) {
    const __m256d scale = _mm256_set1_pd(kScale), row = _mm256_set1_pd(rowTerm);
    // Held here: the stores may alias anything, so out[k] would be read again.
    __m128i steps[kShifts];
    std::int32_t* targets[kShifts];
    for (int k = 0; k < kShifts; ++k) {
        steps[k] = _mm_set1_epi32(shifts[k]);
        targets[k] = out[k];
    }
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m256d term = _mm256_loadu_pd(terms + i);
        const __m256d sum = adding ? _mm256_add_pd(term, row) : _mm256_sub_pd(term, row);
        const __m256d coordinate = _mm256_mul_pd(scale, sum);
        const __m256d twice = _mm256_add_pd(coordinate, coordinate);
        const __m128i halves =
            _mm256_cvttpd_epi32(_mm256_round_pd(twice, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC));
#pragma GCC unroll 3
        for (int k = 0; k < kShifts; ++k) {
            const __m128i moved = _mm_add_epi32(halves, steps[k]);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(targets[k] + i), _mm_srai_epi32(moved, 1));
        }
    }
    return i;
}

// The same for one to three shifts (unrolled); none for
// more, which the plain loop then makes.
int cellsAvx2(const double* terms, double rowTerm, bool adding, const int* shifts, int shiftCount,
              int count, std::int32_t* const* out) {
    switch (shiftCount) {
        case 1:
            return cellsAvx2<1>(terms, rowTerm, adding, shifts, count, out);
        case 2:
            return cellsAvx2<2>(terms, rowTerm, adding, shifts, count, out);
        case 3:
            return cellsAvx2<3>(terms, rowTerm, adding, shifts, count, out);
        default:
            return 0;
    }
}

}  // namespace

void SampleGrid::cellsOfRow(int j, const int* halfStepsX, const int* halfStepsY, int count,
                            std::int32_t* const* columns, std::int32_t* const* rows) const {
    const int width = static_cast<int>(columnCos_.size());
    int doneX = 0, doneY = 0;
    if (kernels::hasAvx2()) {
        doneX = cellsAvx2(columnCos_.data(), rowSin_[j], false, halfStepsX, count, width, columns);
        doneY = cellsAvx2(columnSin_.data(), rowCos_[j], true, halfStepsY, count, width, rows);
    }
    for (int k = 0; k < count; ++k) {
        for (int i = doneX; i < width; ++i) {
            columns[k][i] = static_cast<std::int32_t>(cell(x(i, j), halfStepsX[k]));
        }
        for (int i = doneY; i < width; ++i) {
            rows[k][i] = static_cast<std::int32_t>(cell(y(i, j), halfStepsY[k]));
        }
    }
}

}  // namespace rotsprite
