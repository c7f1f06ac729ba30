#pragma once
// The 8x enlargement the RotSprite pass samples: Scale2x three times, with
// similar colours counting as equal. It is made in bands of rows, so a large
// image never needs its whole 8x picture in memory.
#include <array>
#include <cstdint>
#include <vector>

#include "image/indexed_image.h"
#include "passes/rotsprite/similar_colours.h"

namespace rotsprite {

inline constexpr int kLevels = 3;  // three doublings: 8x
inline constexpr int kScale = 1 << kLevels;

// Rows [first, first + count) of one level (the input, 2x, 4x or 8x), each
// `width` bytes, memory rows bottom-up as in the image.
struct RowBand {
    int width = 0;
    int height = 0;  // of the whole level
    int first = 0;
    int count = 0;
    std::vector<std::uint8_t> pixels;

    bool holds(int from, int to) const { return first <= from && to <= first + count; }
    const std::uint8_t* row(int y) const {
        return pixels.data() +
               static_cast<std::size_t>(y - first) * static_cast<std::size_t>(width);
    }
    std::uint8_t* row(int y) {
        return pixels.data() +
               static_cast<std::size_t>(y - first) * static_cast<std::size_t>(width);
    }
};

class Enlargement {
  public:
    // Takes a copy of the input the rows come from. When its size, palette
    // and pixels are those of the last input (an angle change), the rows made
    // so far are kept, so an angle tick samples again without enlarging again.
    void setInput(const IndexedImage& input);

    // Rows [first, last) of the 8x picture (0 <= first < last <= 8 * height),
    // in a band that may hold more rows. Makes nothing when the last band made
    // holds them.
    const RowBand& rows(const SimilarColours& similar, int first, int last);

    // One source row's blocks: `above`, `below` are memory rows r + 1 and
    // r - 1 (null outside the image); `upper`, `lower` are output rows 2r + 1
    // and 2r.
    static void scaleRow(const std::uint8_t* above, const std::uint8_t* here,
                         const std::uint8_t* below, int width, std::uint8_t* upper,
                         std::uint8_t* lower, const SimilarColours& similar);

  private:
    std::array<std::uint8_t, kPaletteBytes> palette_{};
    std::array<RowBand, kLevels + 1> levels_;  // the input whole, then bands of 2x, 4x, 8x
};

}  // namespace rotsprite
