#pragma once
// The 8x enlargement the RotSprite pass samples: Scale2x three times, with
// similar colours counting as equal. The last doubling is kept as choices
// rather than pixels: its 4x picture, and for each 4x pixel which of its four
// 8x pixels copy the neighbour beside them. That is a quarter of the 8x
// picture's bytes, so a sprite up to about 1100 x 1100 is held whole and an
// angle tick only samples; larger pictures are made in bands of rows, or
// held as the 2x picture's cells (DoubledView).
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "image/indexed_image.h"
#include "passes/mmpx/magnify.h"
#include "passes/rotsprite/similar_colours.h"

namespace rotsprite {

inline constexpr int kLevels = 3;  // three doublings: 8x
inline constexpr int kScale = 1 << kLevels;

// Rows [first, first + count) of one level (the input or 2x), each `width`
// bytes, memory rows bottom-up as in the image.
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

// A 4x pixel and what the last doubling makes of it: the index in the low
// byte; bit kCornerBit + c set when 8x pixel c of its block copies its
// neighbour beside it (the left one for a left column, the right one for a
// right column) instead. c = 2 * (8x row is the upper one) + (right column).
// Bit kFlatBit: the 3 x 3 cells around it are all this index with no corner
// copied, so the 6 x 6 8x pixels they make are all alike.
using Cell = std::uint16_t;
inline constexpr int kCornerBit = 8;
inline constexpr int kFlatBit = 12;
inline constexpr Cell kCellMade = (1 << kFlatBit) - 1;  // the bits cellRow makes

// What the sampling reads of any band: which quarters of input pixels are
// quiet, and the input.
struct QuietView {
    const std::uint64_t* quiet;  // the band's first quarter row
    std::ptrdiff_t quietFirst;   // its quarter row
    std::ptrdiff_t quietWords;   // words a quarter row
    const std::uint8_t* input;   // the input, whole, bottom row first, then 3 bytes
    std::ptrdiff_t inputWidth;   // bytes an input row

    // True when the 8x pixels in columns x - 2 .. x + 2 and rows y - 2 ..
    // y + 2 are all alike (false may still mean they are): then they are the
    // input pixel's. (x, y) must lie in the band.
    bool quietAround(std::int64_t x, std::int64_t y) const {
        const std::uint64_t* words = quiet + ((y >> 2) - quietFirst) * quietWords;
        return (words[x >> 8] >> (x >> 2 & 63) & 1) != 0;
    }
};

// What the sampling reads of a band of cells (below), as plain values the
// compiler keeps in registers while a loop stores bytes.
struct CellView : QuietView {
    const Cell* cells;     // the band's first row
    std::ptrdiff_t first;  // its 4x row
    std::ptrdiff_t width;  // cells a row

    const Cell* row(std::int64_t y4) const { return cells + (y4 - first) * width; }
    // The 8x pixel at (x, y), which must lie in the band.
    std::uint8_t at(std::int64_t x, std::int64_t y) const {
        return at(row(y >> 1), x, static_cast<int>(y & 1) << 1);
    }
    // The same in the cells of row y / 2 given, `upper` 2 for an odd y, else 0.
    static std::uint8_t at(const Cell* cellRow, std::int64_t x, int upper) {
        const std::int64_t x4 = x >> 1;
        const Cell cell = cellRow[x4];
        const int right = static_cast<int>(x & 1);
        if ((cell >> (kCornerBit + upper + right) & 1) == 0) return static_cast<std::uint8_t>(cell);
        return static_cast<std::uint8_t>(cellRow[right != 0 ? x4 + 1 : x4 - 1]);
    }
    // True when the 8x pixels in columns x - 2 .. x + 2 and rows y - 2 ..
    // y + 2 are all alike, as quietAround, but looking at cells.
    bool flatAround(std::int64_t x, std::int64_t y) const {
        return (row(y >> 1)[x >> 1] >> kFlatBit & 1) != 0;
    }
    // Asks the cache for the cells of 4x row y4, near 4x column x4, ahead of
    // their use (a hint: nothing is read).
    void prefetch(std::int64_t x4, std::int64_t y4) const { __builtin_prefetch(row(y4) + x4); }
    // The same for the cells 8x pixel (x, y) reads.
    void prefetchPixel(std::int64_t x, std::int64_t y) const { prefetch(x >> 1, y >> 1); }
};

// The 8x picture as its 2x picture's cells (what the second doubling makes
// of each 2x pixel), whole, and the quiet quarters: the last doubling is
// worked out at each 8x pixel read. A quarter of the 4x cells' memory, for
// pictures read only where they are not quiet (a sample each, no offset
// search).
struct DoubledView : QuietView {
    const Cell* cells;     // the 2x picture's, bottom row first
    std::ptrdiff_t width;  // of the 2x picture
    std::ptrdiff_t height;
    const SimilarColours* similar;

    // The 8x pixel at (x, y), inside the picture: the same as cells'. Most
    // 4x pixels keep their block whole, since the pixels above and below, or
    // left and right, are the same: that much is looked at here.
    std::uint8_t at(std::int64_t x, std::int64_t y) const {
        const std::int64_t x4 = x >> 1, y4 = y >> 1;
        // Away from the edges no neighbour needs looking for outside.
        if (x4 > 0 && x4 + 1 < 2 * width && y4 > 0 && y4 + 1 < 2 * height) {
            return at(x, y, [this](std::int64_t u, std::int64_t v) { return inside(u, v); });
        }
        return at(x, y, [this](std::int64_t u, std::int64_t v) { return four(u, v); });
    }
    template <typename Four>
    std::uint8_t at(std::int64_t x, std::int64_t y, Four four) const {
        const std::int64_t x4 = x >> 1, y4 = y >> 1;
        const int e = four(x4, y4), b = four(x4, y4 + 1), h = four(x4, y4 - 1);
        if (b == h) return static_cast<std::uint8_t>(e);
        const int d = four(x4 - 1, y4), f = four(x4 + 1, y4);
        if (d == f) return static_cast<std::uint8_t>(e);
        return corner(x, y, b, d, e, f, h);
    }
    // The 4x pixel at (x4, y4), what the second doubling made of a 2x
    // pixel, or kOutside beyond the picture; inside() for one inside.
    int four(std::int64_t x4, std::int64_t y4) const {
        if (x4 < 0 || x4 >= 2 * width || y4 < 0 || y4 >= 2 * height) return kOutside;
        return inside(x4, y4);
    }
    int inside(std::int64_t x4, std::int64_t y4) const {
        return CellView::at(cells + (y4 >> 1) * width, x4, static_cast<int>(y4 & 1) << 1);
    }
    // The rest of at(): the last doubling's rule at 4x pixel e, whose
    // neighbours above, left, right and below are b, d, f, h.
    std::uint8_t corner(std::int64_t x, std::int64_t y, int b, int d, int e, int f, int h) const;
    // Asks the cache for the cells 8x pixel (x, y) reads (a hint).
    void prefetchPixel(std::int64_t x, std::int64_t y) const {
        __builtin_prefetch(cells + (y >> 2) * width + (x >> 2));
    }
};

// Rows [first, first + count) of the 4x picture as cells: 8x rows
// [2 first, 2 (first + count)). Beside them a bit for each quarter of an
// input pixel (4 x 4 8x pixels), set when the quarter and the two 8x pixels
// around it are all the input pixel's own index. Most samples land on such a
// quarter and need nothing but that bit and the input, which stay in the
// cache where the cells, 32 bytes an input pixel, do not.
struct CellBand {
    const RowBand* input = nullptr;  // the input, whole
    int width = 0;                   // of the 4x picture
    int height = 0;                  // of the whole 4x picture
    int first = 0;
    int count = 0;
    std::vector<Cell> cells;  // count rows of width cells, then kSlack more
    int quietFirst = 0;       // the quarter row of quiet's first row
    int quietWords = 0;       // words a quarter row
    std::vector<std::uint64_t> quiet;

    // Cells readable past the last one, so four can be read at once anywhere.
    static constexpr int kSlack = 4;

    bool holds(int from8, int to8) const {
        return count > 0 && 2 * first <= from8 && to8 <= 2 * (first + count);
    }
    Cell* row(int y4) {
        return cells.data() +
               static_cast<std::size_t>(y4 - first) * static_cast<std::size_t>(width);
    }
    const Cell* row(int y4) const {
        return cells.data() +
               static_cast<std::size_t>(y4 - first) * static_cast<std::size_t>(width);
    }
    CellView view() const {
        return {{quiet.data(), quietFirst, quietWords, input->pixels.data(), input->width},
                cells.data(),
                first,
                width};
    }
};

class Enlargement {
  public:
    // With `mmpxFirst`, the first doubling follows MMPX's rules of shape
    // (mmpx/magnify.h) with every entry equally bright, rather than Scale2x:
    // it keeps corners sharp and draws 2:1 slopes straight, which the outline
    // redrawing draws around (outline.h).
    explicit Enlargement(bool mmpxFirst = false) : mmpxFirst_(mmpxFirst) {}

    // Takes a copy of the input the rows come from. When its size, palette
    // and pixels are those of the last input (an angle change), the rows made
    // so far are kept, so an angle tick samples again without enlarging again.
    void setInput(const IndexedImage& input);

    // Rows [first, last) of the 8x picture (0 <= first < last <= 8 * height),
    // in a band that may hold more rows. Makes nothing when the last band made
    // holds them; uses every core to make one.
    const CellBand& rows(const SimilarColours& similar, int first, int last);
    // The whole 8x picture as its 2x picture's cells. Makes them and the
    // quiet quarters (through 4x cells made and dropped a band at a time)
    // when the input changed; then nothing.
    DoubledView doubled(const SimilarColours& similar);

    // One source row's blocks: `above`, `below` are memory rows r + 1 and
    // r - 1 (null outside the image); `upper`, `lower` are output rows 2r + 1
    // and 2r.
    static void scaleRow(const std::uint8_t* above, const std::uint8_t* here,
                         const std::uint8_t* below, int width, std::uint8_t* upper,
                         std::uint8_t* lower, const SimilarColours& similar);
    // The same row's cells: what the doubling makes of each of its pixels.
    static void cellRow(const std::uint8_t* above, const std::uint8_t* here,
                        const std::uint8_t* below, int width, Cell* cells,
                        const SimilarColours& similar);

    // Marks the flat cells of row `here` (see kFlatBit), whose neighbours are
    // the rows `above` and `below` (null outside the picture: then none is).
    static void markFlat(const Cell* above, Cell* here, const Cell* below, int width);

  private:
    void makeDoubled(const SimilarColours& similar, int first, int last);
    void makeCells(const SimilarColours& similar, int first, int last);
    // Marks in `words` (quarter row quietFirst first) the quiet quarters of
    // the quarter rows whose cell rows the cells made hold.
    void markQuiet(std::uint64_t* words, int quietFirst, int quietWords);

    bool mmpxFirst_;
    mmpx::PaddedImage padded_;  // the input with MMPX's margin, when mmpxFirst_
    std::array<std::uint8_t, kPaletteBytes> palette_{};
    RowBand input_;    // the input, whole
    RowBand doubled_;  // rows of the 2x picture, while cells are made from them
    CellBand cells_;
    // For doubled(): the 2x picture's cells and every quarter row's quiet
    // bits, and whether they are made for this input.
    std::vector<Cell> doubledCells_;
    std::vector<std::uint64_t> quiet_;
    bool doubledWhole_ = false;
};

}  // namespace rotsprite
