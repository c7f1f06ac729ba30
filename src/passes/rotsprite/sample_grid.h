#pragma once
// Where the centres of the output pixels land in the 8x picture when the
// image turns by an angle about its exact centre (w/2, h/2): the output pixel
// (i, j) samples the input at c + R(angle) (p - c), p its centre, in memory
// coordinates, as the plain rotation does.
#include <cmath>
#include <cstdint>
#include <vector>

#include "passes/rotsprite/enlargement.h"

namespace rotsprite {

// value modulo size, in [0, size) for negative values too: where a
// coordinate outside the picture lands with wrap-around.
inline std::int64_t wrapInto(std::int64_t value, std::int64_t size) {
    const std::int64_t rest = value % size;
    return rest < 0 ? rest + size : rest;
}

// A pixel of the 8x picture, or a move in half 8x pixels.
struct Point {
    std::int64_t x;
    std::int64_t y;
};

class SampleGrid {
  public:
    // Sizes the per-column and per-row terms (kept between calls) and fills them.
    void set(int width, int height, double radians) {
        const double cosA = std::cos(radians), sinA = std::sin(radians);
        cx_ = width / 2.0;
        cy_ = height / 2.0;
        columnCos_.resize(static_cast<std::size_t>(width));
        columnSin_.resize(static_cast<std::size_t>(width));
        rowCos_.resize(static_cast<std::size_t>(height));
        rowSin_.resize(static_cast<std::size_t>(height));
        // The centre is added here once; the sums are those x() and y() would form.
        for (int i = 0; i < width; ++i) {
            columnCos_[i] = cx_ + (i + 0.5 - cx_) * cosA;
            columnSin_[i] = cy_ + (i + 0.5 - cx_) * sinA;
        }
        for (int j = 0; j < height; ++j) {
            rowCos_[j] = (j + 0.5 - cy_) * cosA;
            rowSin_[j] = (j + 0.5 - cy_) * sinA;
        }
    }

    // Where the centre of output pixel (i, j) lands, in 8x pixels. Scaling by
    // 8 is exact, so the 8x pixel under it lies in the input pixel under it.
    double x(int i, int j) const { return kScale * (columnCos_[i] - rowSin_[j]); }
    double y(int i, int j) const { return kScale * (columnSin_[i] + rowCos_[j]); }

    // at(i, j, {halfStepsX[k], halfStepsY[k]}) for every column i of output
    // row j and each of `count` moves, into columns[k] and rows[k] (width
    // values each; 8x coordinates fit 32 bits for any image size allowed).
    // Four columns at a time where the processor has AVX2.
    void cellsOfRow(int j, const int* halfStepsX, const int* halfStepsY, int count,
                    std::int32_t* const* columns, std::int32_t* const* rows) const;

    // The 8x pixel under that centre moved by `halfSteps` halves of an 8x pixel.
    Point at(int i, int j, Point halfSteps = {0, 0}) const {
        return {cell(x(i, j), halfSteps.x), cell(y(i, j), halfSteps.y)};
    }
    static std::int64_t cell(double coordinate, std::int64_t halfSteps) {
        // Rounded down as std::floor does, without its library call; most
        // samples lie at positive coordinates, where truncating is enough.
        const double moved = coordinate + 0.5 * static_cast<double>(halfSteps);
        const auto truncated = static_cast<std::int64_t>(moved);
        if (moved >= 0) return truncated;
        return truncated - (static_cast<double>(truncated) > moved ? 1 : 0);
    }

  private:
    double cx_ = 0, cy_ = 0;
    // cx + dx cos and cy + dx sin by column; dy cos and dy sin by row.
    std::vector<double> columnCos_, columnSin_, rowCos_, rowSin_;
};

}  // namespace rotsprite
