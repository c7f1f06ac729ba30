#pragma once
// MMPX, the style-preserving 2x magnifier of McGuire and Gagiu (Journal of
// Computer Graphics Techniques, 2021): each pixel becomes a 2 x 2 block of
// its own index or a neighbour's, by four groups of rules read from the
// pixels up to three away: 1:1 edges (Scale2x's corners, kept off single-pixel
// features and thin corners), intersections of thin lines, tips of triangles,
// and 2:1 slopes. Where a rule weighs brightness it takes the palette entry's
// luma, assuming dark lines on light ground. Outside the image counts as the
// nearest edge pixel. Only indices of the input are written.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/indexed_image.h"

namespace mmpx {

// Brightness of every palette entry: 299 R + 587 G + 114 B.
using Luma = std::array<std::uint32_t, 256>;
Luma lumaOf(const std::uint8_t* palette);

// Pixels the rules read on each side of the one they enlarge.
inline constexpr int kReach = 3;

// The 2 x 2 blocks of one row: `row` points at its first pixel in a picture
// whose pixels are readable kReach beyond every side (columns at +-1, rows at
// multiples of `down`, the offset from a pixel to the one below it on
// screen). `upper` and `lower` are the output rows as shown, 2 * width bytes.
void magnifyRow(const std::uint8_t* row, std::ptrdiff_t down, int width, const Luma& luma,
                std::uint8_t* upper, std::uint8_t* lower);

// The input with kReach copies of its edge pixels around it, in memory row
// order (a row's screen-lower neighbour is `stride()` bytes before it).
class PaddedImage {
  public:
    void set(const IndexedImage& input);
    const std::uint8_t* row(int memoryRow) const {
        return pixels_.data() + static_cast<std::ptrdiff_t>(memoryRow + kReach) * stride_ + kReach;
    }
    std::ptrdiff_t stride() const { return stride_; }

  private:
    std::ptrdiff_t stride_ = 0;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace mmpx
