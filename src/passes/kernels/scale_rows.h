#pragma once
// Interior rows of Scale2x and Scale3x: the blocks of source columns 1 to
// width - 2 of one source row that has a row above and below it. Reads only
// columns 0 to width - 1 of the three rows; writes only those blocks.
#include <cstdint>

namespace kernels {

// `above`, `here`, `below`: source memory rows r + 1, r, r - 1.
// `upper`, `lower`: output memory rows 2r + 1, 2r.
void scale2xInteriorRow(const std::uint8_t* above, const std::uint8_t* here,
                        const std::uint8_t* below, std::uint8_t* upper, std::uint8_t* lower,
                        int width);

// `top`, `middle`, `bottom`: output memory rows 3r + 2, 3r + 1, 3r.
void scale3xInteriorRow(const std::uint8_t* above, const std::uint8_t* here,
                        const std::uint8_t* below, std::uint8_t* top, std::uint8_t* middle,
                        std::uint8_t* bottom, int width);

}  // namespace kernels
