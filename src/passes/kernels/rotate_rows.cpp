#include "passes/kernels/rotate_rows.h"

#include <immintrin.h>

#include <limits>

#include "passes/kernels/cpu.h"

namespace kernels {

namespace {

// Source coordinates of one column, relative to the input's centre. Bounded
// by 8 * (2^31 + 2^31) in magnitude, far inside nearest()'s range.
std::int64_t columnX(const RotationRow& row, int i) {
    return nearest(row.k * (row.columnCos[i] - row.rowSin));
}
std::int64_t columnY(const RotationRow& row, int i) {
    return nearest(row.k * (row.columnSin[i] + row.rowCos));
}

// The first column in [low, high) for which `reached` holds, or high; it must
// hold for every column after one where it holds.
template <typename Predicate>
int firstWhere(int low, int high, Predicate reached) {
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (reached(middle)) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

// The same over [0, count), starting near `guess`: steps that double away
// from it bracket the answer, so a good guess costs a few tests.
template <typename Predicate>
int firstWhereNear(int count, int guess, Predicate reached) {
    guess = guess < 0 ? 0 : guess >= count ? count - 1 : guess;
    if (reached(guess)) {
        int high = guess, step = 1;
        while (guess - step >= 0 && reached(guess - step)) {
            high = guess - step;
            step *= 2;
        }
        return firstWhere(guess - step < 0 ? 0 : guess - step + 1, high, reached);
    }
    int low = guess + 1, step = 1;
    while (guess + step < count && !reached(guess + step)) {
        low = guess + step + 1;
        step *= 2;
    }
    return firstWhere(low, guess + step < count ? guess + step : count, reached);
}

// Columns where `from <= coordinate(i) < to`, for a coordinate that rises
// (or falls) with i, searched near `guess`.
template <typename Coordinate>
ColumnSpan spanWithin(int count, bool rising, std::int64_t from, std::int64_t to, ColumnSpan guess,
                      Coordinate coordinate) {
    if (rising) {
        return {firstWhereNear(count, guess.first, [&](int i) { return coordinate(i) >= from; }),
                firstWhereNear(count, guess.last, [&](int i) { return coordinate(i) >= to; })};
    }
    return {firstWhereNear(count, guess.first, [&](int i) { return coordinate(i) < to; }),
            firstWhereNear(count, guess.last, [&](int i) { return coordinate(i) < from; })};
}

std::int64_t wrapInto(std::int64_t value, std::int64_t size) {
    const std::int64_t rest = value % size;
    return rest < 0 ? rest + size : rest;
}

// Keeps a wrapped coordinate in step with a coordinate that moves a few
// pixels per column, so most columns need no division.
class Wrapped {
  public:
    Wrapped(std::int64_t first, std::int64_t size)
        : raw_(first), wrapped_(wrapInto(first, size)), size_(size) {}
    std::int64_t next(std::int64_t raw) {
        wrapped_ += raw - raw_;
        raw_ = raw;
        if (wrapped_ < 0 || wrapped_ >= size_) wrapped_ = wrapInto(wrapped_, size_);
        return wrapped_;
    }

  private:
    std::int64_t raw_, wrapped_, size_;
};

// Eight columns at a time: both coordinates rounded as nearest() does (add
// the signed bias, truncate), offsets y * stride + x + base, then one byte
// read per offset; plain loads beat a gather here, and read nothing beside it.
__attribute__((target("avx2"))) void copyInsideAvx2(const RotationRow& row,
                                                    const RotationSource& source,
                                                    ColumnSpan columns, std::uint8_t* target) {
    const __m256d k = _mm256_set1_pd(row.k), rowSin = _mm256_set1_pd(row.rowSin),
                  rowCos = _mm256_set1_pd(row.rowCos),
                  justBelowHalf = _mm256_set1_pd(kJustBelowHalf), sign = _mm256_set1_pd(-0.0);
    const __m256i strideLanes = _mm256_set1_epi32(source.stride),
                  baseLanes =
                      _mm256_set1_epi32(source.height / 2 * source.stride + source.width / 2);
    const auto biased = [&](__m256d value) __attribute__((target("avx2"))) {
        return _mm256_add_pd(value, _mm256_or_pd(justBelowHalf, _mm256_and_pd(value, sign)));
    };
    const auto offsets8 = [&](int i) __attribute__((target("avx2"))) {
        const __m256d u0 =
            _mm256_mul_pd(k, _mm256_sub_pd(_mm256_loadu_pd(row.columnCos + i), rowSin));
        const __m256d u1 =
            _mm256_mul_pd(k, _mm256_sub_pd(_mm256_loadu_pd(row.columnCos + i + 4), rowSin));
        const __m256d v0 =
            _mm256_mul_pd(k, _mm256_add_pd(_mm256_loadu_pd(row.columnSin + i), rowCos));
        const __m256d v1 =
            _mm256_mul_pd(k, _mm256_add_pd(_mm256_loadu_pd(row.columnSin + i + 4), rowCos));
        const __m256i x =
            _mm256_setr_m128i(_mm256_cvttpd_epi32(biased(u0)), _mm256_cvttpd_epi32(biased(u1)));
        const __m256i y =
            _mm256_setr_m128i(_mm256_cvttpd_epi32(biased(v0)), _mm256_cvttpd_epi32(biased(v1)));
        return _mm256_add_epi32(_mm256_mullo_epi32(y, strideLanes), _mm256_add_epi32(x, baseLanes));
    };
    const std::uint8_t* const pixels = source.pixels;
    int i = columns.first;
    for (; i + 8 <= columns.last; i += 8) {
        const __m256i offsets = offsets8(i);
        alignas(32) int lanes[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), offsets);
        for (int lane = 0; lane < 8; ++lane) target[i + lane] = pixels[lanes[lane]];
    }
    copyInsideScalar(row, source, {i, columns.last}, target);
}

}  // namespace

ColumnSpan insideSpan(const RotationRow& row, const RotationSource& source, SpanGuess& guess) {
    if (row.count <= 0) return {0, 0};
    const int last = row.count - 1;
    const std::int64_t cx = source.width / 2, cy = source.height / 2;
    // Each coordinate rises with i when its column term does.
    guess.xs = spanWithin(row.count, row.columnCos[0] <= row.columnCos[last], -cx,
                          source.width - cx, guess.xs, [&](int i) { return columnX(row, i); });
    guess.ys = spanWithin(row.count, row.columnSin[0] <= row.columnSin[last], -cy,
                          source.height - cy, guess.ys, [&](int i) { return columnY(row, i); });
    const int first = guess.xs.first > guess.ys.first ? guess.xs.first : guess.ys.first;
    const int end = guess.xs.last < guess.ys.last ? guess.xs.last : guess.ys.last;
    return first < end ? ColumnSpan{first, end} : ColumnSpan{0, 0};
}

void copyInsideScalar(const RotationRow& row, const RotationSource& source, ColumnSpan columns,
                      std::uint8_t* target) {
    const std::int64_t cx = source.width / 2, cy = source.height / 2;
    for (int i = columns.first; i < columns.last; ++i) {
        target[i] = source.pixels[(columnY(row, i) + cy) * source.stride + columnX(row, i) + cx];
    }
}

void copyInside(const RotationRow& row, const RotationSource& source, ColumnSpan columns,
                std::uint8_t* target) {
    // The vector code forms offsets in 32-bit lanes.
    const std::int64_t size = static_cast<std::int64_t>(source.stride) * source.height;
    if (hasAvx2() && size <= std::numeric_limits<std::int32_t>::max()) {
        copyInsideAvx2(row, source, columns, target);
    } else {
        copyInsideScalar(row, source, columns, target);
    }
}

void copyWrapped(const RotationRow& row, const RotationSource& source, ColumnSpan columns,
                 std::uint8_t* target) {
    if (columns.first >= columns.last) return;
    const std::int64_t cx = source.width / 2, cy = source.height / 2;
    Wrapped x(columnX(row, columns.first) + cx, source.width);
    Wrapped y(columnY(row, columns.first) + cy, source.height);
    for (int i = columns.first; i < columns.last; ++i) {
        const std::int64_t sx = x.next(columnX(row, i) + cx);
        const std::int64_t sy = y.next(columnY(row, i) + cy);
        target[i] = source.pixels[sy * source.stride + sx];
    }
}

}  // namespace kernels
