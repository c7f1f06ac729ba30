#pragma once
// Palette distances for the RotSprite pass: the enlargement treats entries
// that are close as one colour, and the offset search weighs every boundary
// between two entries by how far apart they are.
#include <array>
#include <cstdint>
#include <vector>

#include "image/section.h"

namespace rotsprite {

// A neighbour outside the image: similar to nothing, itself included.
inline constexpr int kOutside = -1;

// Two entries whose squared RGB distance is at most this count as similar:
// 30 levels in one channel, or about 17 in each. It joins near-duplicates,
// which palettes often hold (the sample knight's shine and cloud whites, its
// steel and palest sky), and keeps apart the steps of a shading ramp (40
// levels and more), which carry shape.
inline constexpr int kSimilarDistance = 900;

class SimilarColours {
  public:
    // Recomputes the distances when `palette` (256 RGBQUAD entries) or
    // `threshold` changed. A negative threshold makes only equal indices similar.
    void prepare(const std::uint8_t* palette, int threshold);

    std::uint32_t distance(int a, int b) const {
        return distances_[static_cast<std::size_t>(a << 8 | b)];
    }
    // The table distance() reads, for lookups eight at a time.
    const std::uint32_t* distances() const { return distances_.data(); }
    // Each of `a`, `b` is an entry or kOutside.
    bool similar(int a, int b) const {
        if (a == kOutside || b == kOutside) return false;
        return alike_[static_cast<std::size_t>(a << 8 | b)] != 0;
    }

  private:
    std::array<std::uint8_t, kPaletteBytes> palette_{};
    int threshold_ = -1;
    std::vector<std::uint32_t> distances_;
    std::vector<std::uint8_t> alike_;  // similar(), looked up: the enlargement asks it often
};

}  // namespace rotsprite
