#include "passes/kernels/rotate_rows.h"

#include <immintrin.h>

#include <cmath>

#include "passes/kernels/cpu.h"

namespace kernels {

namespace {

int nearest(double value) { return static_cast<int>(std::round(value)); }

void tail(const double* columnCos, const double* columnSin, const RowTerms& row, int from,
          int count, int* sx, int* sy) {
    for (int i = from; i < count; ++i) {
        sx[i] = nearest(row.k * (columnCos[i] - row.rowSin)) + row.cx;
        sy[i] = nearest(row.k * (columnSin[i] + row.rowCos)) + row.cy;
    }
}

// Two lanes: truncate, then step one away from zero when the dropped fraction
// (exact for these magnitudes) is at least a half.
__m128i nearest2(__m128d value) {
    const __m128i truncated = _mm_cvttpd_epi32(value);
    const __m128d fraction = _mm_sub_pd(value, _mm_cvtepi32_pd(truncated));
    const __m128d up = _mm_cmpge_pd(fraction, _mm_set1_pd(0.5));
    const __m128d down = _mm_cmple_pd(fraction, _mm_set1_pd(-0.5));
    // 64-bit all-ones masks to 32-bit -1 lanes in the low half.
    const __m128i step = _mm_sub_epi32(_mm_shuffle_epi32(_mm_castpd_si128(down), 0x08),
                                       _mm_shuffle_epi32(_mm_castpd_si128(up), 0x08));
    return _mm_add_epi32(truncated, step);
}

void sourcesSse2(const double* columnCos, const double* columnSin, const RowTerms& row, int count,
                 int* sx, int* sy) {
    const __m128d k = _mm_set1_pd(row.k), rowSin = _mm_set1_pd(row.rowSin), rowCos = _mm_set1_pd(row.rowCos);
    const __m128i cx = _mm_set1_epi32(row.cx), cy = _mm_set1_epi32(row.cy);
    int i = 0;
    for (; i + 2 <= count; i += 2) {
        const __m128d u = _mm_mul_pd(k, _mm_sub_pd(_mm_loadu_pd(columnCos + i), rowSin));
        const __m128d v = _mm_mul_pd(k, _mm_add_pd(_mm_loadu_pd(columnSin + i), rowCos));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(sx + i), _mm_add_epi32(nearest2(u), cx));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(sy + i), _mm_add_epi32(nearest2(v), cy));
    }
    tail(columnCos, columnSin, row, i, count, sx, sy);
}

__attribute__((target("avx2"))) __m128i nearest4(__m256d value) {
    const __m128i truncated = _mm256_cvttpd_epi32(value);
    const __m256d fraction = _mm256_sub_pd(value, _mm256_cvtepi32_pd(truncated));
    const __m256d up = _mm256_cmp_pd(fraction, _mm256_set1_pd(0.5), _CMP_GE_OQ);
    const __m256d down = _mm256_cmp_pd(fraction, _mm256_set1_pd(-0.5), _CMP_LE_OQ);
    // Four 64-bit masks to four 32-bit -1 lanes: the low dword of each.
    const __m256i pick = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
    const __m128i upLanes = _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(_mm256_castpd_si256(up), pick));
    const __m128i downLanes =
        _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(_mm256_castpd_si256(down), pick));
    return _mm_add_epi32(truncated, _mm_sub_epi32(downLanes, upLanes));
}

__attribute__((target("avx2"))) void sourcesAvx2(const double* columnCos, const double* columnSin,
                                                 const RowTerms& row, int count, int* sx, int* sy) {
    const __m256d k = _mm256_set1_pd(row.k), rowSin = _mm256_set1_pd(row.rowSin),
                  rowCos = _mm256_set1_pd(row.rowCos);
    const __m128i cx = _mm_set1_epi32(row.cx), cy = _mm_set1_epi32(row.cy);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m256d u = _mm256_mul_pd(k, _mm256_sub_pd(_mm256_loadu_pd(columnCos + i), rowSin));
        const __m256d v = _mm256_mul_pd(k, _mm256_add_pd(_mm256_loadu_pd(columnSin + i), rowCos));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sx + i), _mm_add_epi32(nearest4(u), cx));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sy + i), _mm_add_epi32(nearest4(v), cy));
    }
    sourcesSse2(columnCos + i, columnSin + i, row, count - i, sx + i, sy + i);
}

}  // namespace

void rotationSources(const double* columnCos, const double* columnSin, const RowTerms& row,
                     int count, int* sx, int* sy) {
    if (hasAvx2()) {
        sourcesAvx2(columnCos, columnSin, row, count, sx, sy);
    } else {
        sourcesSse2(columnCos, columnSin, row, count, sx, sy);
    }
}

}  // namespace kernels
