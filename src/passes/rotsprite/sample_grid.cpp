#include "passes/rotsprite/sample_grid.h"

#include <immintrin.h>

#include "passes/kernels/cpu.h"

namespace rotsprite {

namespace {

// floor(8 * (terms[i] - rowTerm) + shift), or with + rowTerm when `adding`:
// the same operations as SampleGrid::x and y, then cell, four at a time.
__attribute__((target("avx2"))) int cellsAvx2(const double* terms, double rowTerm, bool adding,
                                              double shift, int count, std::int32_t* out) {
    const __m256d scale = _mm256_set1_pd(kScale), row = _mm256_set1_pd(rowTerm),
                  moved = _mm256_set1_pd(shift);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m256d term = _mm256_loadu_pd(terms + i);
        const __m256d sum = adding ? _mm256_add_pd(term, row) : _mm256_sub_pd(term, row);
        const __m256d coordinate = _mm256_add_pd(_mm256_mul_pd(scale, sum), moved);
        const __m256d down = _mm256_round_pd(coordinate, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm256_cvttpd_epi32(down));
    }
    return i;
}

}  // namespace

void SampleGrid::cellsOfRow(int j, Point halfSteps, std::int32_t* columns,
                            std::int32_t* rows) const {
    const int width = static_cast<int>(columnCos_.size());
    const double shiftX = 0.5 * static_cast<double>(halfSteps.x);
    const double shiftY = 0.5 * static_cast<double>(halfSteps.y);
    int doneX = 0, doneY = 0;
    if (kernels::hasAvx2()) {
        doneX = cellsAvx2(columnCos_.data(), rowSin_[j], false, shiftX, width, columns);
        doneY = cellsAvx2(columnSin_.data(), rowCos_[j], true, shiftY, width, rows);
    }
    for (int i = doneX; i < width; ++i)
        columns[i] = static_cast<std::int32_t>(cell(x(i, j), halfSteps.x));
    for (int i = doneY; i < width; ++i)
        rows[i] = static_cast<std::int32_t>(cell(y(i, j), halfSteps.y));
}

}  // namespace rotsprite
