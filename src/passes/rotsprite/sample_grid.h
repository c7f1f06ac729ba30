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
        for (int i = 0; i < width; ++i) {
            columnCos_[i] = (i + 0.5 - cx_) * cosA;
            columnSin_[i] = (i + 0.5 - cx_) * sinA;
        }
        for (int j = 0; j < height; ++j) {
            rowCos_[j] = (j + 0.5 - cy_) * cosA;
            rowSin_[j] = (j + 0.5 - cy_) * sinA;
        }
    }

    // Where the centre of output pixel (i, j) lands, in 8x pixels. Scaling by
    // 8 is exact, so the 8x pixel under it lies in the input pixel under it.
    double x(int i, int j) const { return kScale * (cx_ + columnCos_[i] - rowSin_[j]); }
    double y(int i, int j) const { return kScale * (cy_ + columnSin_[i] + rowCos_[j]); }

    // The 8x pixel under that centre moved by `halfSteps` halves of an 8x pixel.
    Point at(int i, int j, Point halfSteps = {0, 0}) const {
        return {cell(x(i, j), halfSteps.x), cell(y(i, j), halfSteps.y)};
    }
    static std::int64_t cell(double coordinate, std::int64_t halfSteps) {
        // Rounded down as std::floor does, without its library call.
        const double moved = coordinate + 0.5 * static_cast<double>(halfSteps);
        const auto truncated = static_cast<std::int64_t>(moved);
        return truncated - (static_cast<double>(truncated) > moved ? 1 : 0);
    }

  private:
    double cx_ = 0, cy_ = 0;
    std::vector<double> columnCos_, columnSin_, rowCos_, rowSin_;
};

}  // namespace rotsprite
