#pragma once
// Eight 8x pixels of a band of cells at once (AVX2), as CellView::at reads
// them: for the offset search's windows and the sampling's listed samples.
#include "passes/kernels/avx2.h"
#include "passes/rotsprite/enlargement.h"

namespace rotsprite {

// The pixels at cell `place` (a cell number in the band: 32 bits hold a
// band's), `upper` 2 for an odd 8x row, `right` 1 for an odd 8x column.
MARLUNE_AVX2 inline __m256i cellPixels(const CellView& cells, __m256i place, __m256i upper,
                                       __m256i right) {
    const int* base = reinterpret_cast<const int*>(cells.cells);
    const __m256i one = _mm256_set1_epi32(1), byte = _mm256_set1_epi32(0xFF);
    const __m256i cell = _mm256_i32gather_epi32(base, place, 2);
    const __m256i shift =
        _mm256_add_epi32(_mm256_add_epi32(upper, right), _mm256_set1_epi32(kCornerBit));
    const __m256i copies = _mm256_and_si256(_mm256_srlv_epi32(cell, shift), one);
    if (_mm256_testz_si256(copies, copies)) return _mm256_and_si256(cell, byte);
    // The neighbour beside it: +1 for a right column, -1 for a left one.
    const __m256i step = _mm256_sub_epi32(_mm256_add_epi32(right, right), one);
    const __m256i beside =
        _mm256_add_epi32(place, _mm256_and_si256(step, _mm256_cmpeq_epi32(copies, one)));
    return _mm256_and_si256(_mm256_i32gather_epi32(base, beside, 2), byte);
}

// The cell number of the first cell of 4x row y4 (in the band).
MARLUNE_AVX2 inline __m256i cellRowStart(const CellView& cells, __m256i y4) {
    const __m256i first = _mm256_set1_epi32(static_cast<std::int32_t>(cells.first));
    const __m256i width = _mm256_set1_epi32(static_cast<std::int32_t>(cells.width));
    return _mm256_mullo_epi32(_mm256_sub_epi32(y4, first), width);
}

}  // namespace rotsprite
