#pragma once
// One output row of the rotation, from terms computed once per column
// (dx * cos, dx * sin) and once per row (dy * sin, dy * cos):
//   sx[i] = nearest(k * (columnCos[i] - rowSin)) + cx
//   sy[i] = nearest(k * (columnSin[i] + rowCos)) + cy
// in double precision, in exactly that order (no fused multiply-add), with
// nearest rounding halves away from zero: the same values as forming u and v
// per pixel.
//
// Both coordinates are monotonic along a row (every step rounds monotonically),
// so the columns whose source lies inside the input form one span. The pass
// finds it, reads it without bounds tests and fills or wraps the rest.
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace kernels {

// The double just below one half. Truncating value + copysign(it, value)
// rounds halves away from zero, as std::round does, for every |value| < 2^52:
// a value just below a half gets 1 - 2^-53 (still below 1), an exact half gets
// 1 - 2^-54, which ties to the even 1; from 1 on a fraction below a half is at
// least one ulp below it, so the sum stays below the next integer.
inline constexpr double kJustBelowHalf = 0.49999999999999994;

// Nearest integer, halves away from zero, for |value| < 2^52.
inline std::int64_t nearest(double value) {
    return static_cast<std::int64_t>(value + std::copysign(kJustBelowHalf, value));
}

struct RotationRow {
    const double* columnCos;
    const double* columnSin;
    double rowSin;
    double rowCos;
    double k;
    int count;  // output columns
};

struct RotationSource {
    const std::uint8_t* pixels;  // stride * height bytes, nothing past them is read
    int width;
    int height;
    int stride;
};

// Columns [first, last) of a row; first == last when empty.
struct ColumnSpan {
    int first;
    int last;
};

// Where each coordinate stays inside the input on the last row searched: the
// next row's edges are usually close by.
struct SpanGuess {
    ColumnSpan xs{0, 0};
    ColumnSpan ys{0, 0};
};

// The columns whose source pixel lies inside the input. Searches near the
// spans in `guess` and leaves this row's there.
ColumnSpan insideSpan(const RotationRow& row, const RotationSource& source, SpanGuess& guess);

// Writes target[first, last) from the input; every one of these columns must
// lie inside it (a part of insideSpan).
void copyInside(const RotationRow& row, const RotationSource& source, ColumnSpan columns,
                std::uint8_t* target);
// The same with plain scalar code, whatever the processor supports.
void copyInsideScalar(const RotationRow& row, const RotationSource& source, ColumnSpan columns,
                      std::uint8_t* target);

// Writes target[first, last) with each coordinate wrapped into the input.
void copyWrapped(const RotationRow& row, const RotationSource& source, ColumnSpan columns,
                 std::uint8_t* target);

}  // namespace kernels
