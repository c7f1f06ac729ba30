#include "passes/rotsprite/outline.h"

#include <algorithm>
#include <array>

#include "passes/kernels/sse2.h"

namespace rotsprite {

namespace {

constexpr std::uint8_t kGround = 0;

// Pixel (x, y) of `image`, -1 outside it (never ground).
int at(const IndexedImage& image, std::int64_t x, std::int64_t y) {
    const bool inside = x >= 0 && x < image.width && y >= 0 && y < image.height;
    return inside ? image.row(static_cast<int>(y))[x] : -1;
}

bool nextToGround(const IndexedImage& image, std::int64_t x, std::int64_t y) {
    return at(image, x - 1, y) == kGround || at(image, x + 1, y) == kGround ||
           at(image, x, y - 1) == kGround || at(image, x, y + 1) == kGround;
}

// Whether the input's outline is closed around input pixel (x, y): no pixel
// within one of it is a boundary pixel of another colour.
bool closedAround(const IndexedImage& input, int outline, std::int64_t x, std::int64_t y) {
    for (std::int64_t v = y - 1; v <= y + 1; ++v) {
        for (std::int64_t u = x - 1; u <= x + 1; ++u) {
            const int s = at(input, u, v);
            if (s > kGround && s != outline && nextToGround(input, u, v)) return false;
        }
    }
    return true;
}

// Whether output pixel (i, j) may turn to outline without taking its colour
// away around it: some of its eight neighbours share its colour, and those
// that do form one piece (8-connected, along the ring around it).
bool colourStaysWhole(const IndexedImage& output, int i, int j) {
    static constexpr int kRingX[8] = {-1, 0, 1, 1, 1, 0, -1, -1};
    static constexpr int kRingY[8] = {1, 1, 1, 0, -1, -1, -1, 0};
    const int own = at(output, i, j);
    std::array<bool, 8> same{};
    for (int k = 0; k < 8; ++k) same[k] = at(output, i + kRingX[k], j + kRingY[k]) == own;
    // Pieces: runs around the ring, where a run also passes from one side's
    // middle to the next side's middle, which touch at a corner.
    std::array<int, 8> piece{};
    for (int k = 0; k < 8; ++k) piece[k] = k;
    const auto find = [&](int k) {
        while (piece[k] != k) k = piece[k] = piece[piece[k]];
        return k;
    };
    for (int k = 0; k < 8; ++k) {
        const int next = (k + 1) % 8, across = (k + 2) % 8;
        if (same[k] && same[next]) piece[find(k)] = find(next);
        if (k % 2 == 1 && same[k] && same[across]) piece[find(k)] = find(across);
    }
    int first = -1;
    for (int k = 0; k < 8; ++k) {
        if (!same[k]) continue;
        if (first < 0) first = find(k);
        if (find(k) != first) return false;
    }
    return first >= 0;
}

}  // namespace

int outlineIndex(const IndexedImage& input) {
    std::array<int, 256> onBoundary{}, all{};
    int boundary = 0;
    for (int y = 0; y < input.height; ++y) {
        const std::uint8_t* row = input.row(y);
        for (int x = 0; x < input.width; ++x) {
            ++all[row[x]];
            if (row[x] == kGround || !nextToGround(input, x, y)) continue;
            ++boundary;
            ++onBoundary[row[x]];
        }
    }
    int outline = 1;
    for (int i = 2; i < 256; ++i) {
        if (onBoundary[i] > onBoundary[outline]) outline = i;
    }
    const int count = onBoundary[outline];
    if (boundary == 0 || 4 * count < 3 * boundary || 2 * count < all[outline]) return -1;
    return outline;
}

void removeOutline(const IndexedImage& input, std::uint8_t outline, IndexedImage& bare) {
    // Below, left, right, above: the first of the most common wins.
    static constexpr int kNeighbourX[4] = {0, -1, 1, 0}, kNeighbourY[4] = {-1, 0, 0, 1};
    for (int y = 0; y < input.height; ++y) {
        for (int x = 0; x < input.width; ++x) {
            int own = input.row(y)[x];
            if (own == outline && nextToGround(input, x, y)) {
                std::array<int, 4> around{};
                for (int k = 0; k < 4; ++k)
                    around[k] = at(input, x + kNeighbourX[k], y + kNeighbourY[k]);
                int most = 0;
                for (int fill : around) {
                    if (fill <= kGround || fill == outline) continue;
                    const auto votes = static_cast<int>(std::ranges::count(around, fill));
                    if (votes > most) {
                        most = votes;
                        own = fill;
                    }
                }
            }
            bare.row(y)[x] = static_cast<std::uint8_t>(own);
        }
    }
}

void markClosedOutline(const IndexedImage& input, std::uint8_t outline,
                       std::vector<std::uint8_t>& closed) {
    const int w = input.width, h = input.height;
    const auto at = [w](int x, int y) { return static_cast<std::size_t>(y) * w + x; };
    // First the boundary pixels of other colours, then what lies within one of them.
    std::vector<std::uint8_t> open(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int s = input.row(y)[x];
            open[at(x, y)] = s > kGround && s != outline && nextToGround(input, x, y);
        }
    }
    closed.assign(open.size(), 1);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (open[at(x, y)] == 0) continue;
            for (int v = std::max(y - 1, 0); v <= std::min(y + 1, h - 1); ++v) {
                for (int u = std::max(x - 1, 0); u <= std::min(x + 1, w - 1); ++u)
                    closed[at(u, v)] = 0;
            }
        }
    }
}

void joinShapeAndColours(const IndexedImage& shape, std::uint8_t outline, IndexedImage& colours,
                         std::vector<std::int32_t>& boundary) {
    const int w = shape.width, h = shape.height;
    boundary.clear();
    for (int j = 0; j < h; ++j) {
        const std::uint8_t* outer = shape.row(j);
        const std::uint8_t* below = j > 0 ? shape.row(j - 1) : nullptr;
        const std::uint8_t* above = j + 1 < h ? shape.row(j + 1) : nullptr;
        std::uint8_t* inner = colours.row(j);
        const std::int32_t rowStart = j * w;
        const auto one = [&](int i) {
            const bool edge = (i > 0 && outer[i - 1] == kGround) ||
                              (i + 1 < w && outer[i + 1] == kGround) ||
                              (below != nullptr && below[i] == kGround) ||
                              (above != nullptr && above[i] == kGround);
            const bool keepShape = outer[i] == kGround || inner[i] == kGround || edge;
            inner[i] = keepShape ? outer[i] : inner[i];
            if (edge && outer[i] != kGround && outer[i] != outline)
                boundary.push_back(rowStart + i);
        };
        // Sixteen pixels at a time between the first and last column; rows
        // beyond the picture have no ground.
        using namespace kernels::sse2;
        const __m128i ground = _mm_setzero_si128(), ink = _mm_set1_epi8(static_cast<char>(outline));
        const auto groundIn = [&](const std::uint8_t* row, int i) {
            return row != nullptr ? equal(load(row + i), ground) : _mm_setzero_si128();
        };
        int i = 0;
        one(i++);
        for (; i + 16 < w; i += 16) {
            const __m128i own = load(outer + i), theirs = load(inner + i);
            const __m128i edge = _mm_or_si128(_mm_or_si128(equal(load(outer + i - 1), ground),
                                                           equal(load(outer + i + 1), ground)),
                                              _mm_or_si128(groundIn(below, i), groundIn(above, i)));
            const __m128i ownGround = equal(own, ground);
            const __m128i keep = _mm_or_si128(_mm_or_si128(ownGround, equal(theirs, ground)), edge);
            store(inner + i, select(keep, own, theirs));
            int drawable =
                _mm_movemask_epi8(_mm_andnot_si128(_mm_or_si128(ownGround, equal(own, ink)), edge));
            while (drawable != 0) {
                boundary.push_back(rowStart + i + __builtin_ctz(static_cast<unsigned>(drawable)));
                drawable &= drawable - 1;
            }
        }
        for (; i < w; ++i) one(i);
    }
}

void redrawOutline(const IndexedImage& input, std::uint8_t outline,
                   const std::vector<std::uint8_t>& closed, const SampleGrid& grid, bool wrap,
                   IndexedImage& output, std::vector<std::int32_t>& boundary) {
    const int w = output.width;
    std::size_t drawn = 0;
    for (const std::int32_t k : boundary) {
        const int i = k % w, j = k / w;
        const Point centre = grid.at(i, j);
        std::int64_t x = centre.x >> kLevels, y = centre.y >> kLevels;
        if (wrap) {
            x = wrapInto(x, input.width);
            y = wrapInto(y, input.height);
        }
        const bool inside = x >= 0 && x < input.width && y >= 0 && y < input.height;
        const bool isClosed = inside ? closed[static_cast<std::size_t>(y) * input.width + x] != 0
                                     : closedAround(input, outline, x, y);
        if (isClosed && colourStaysWhole(output, i, j)) boundary[drawn++] = k;
    }
    boundary.resize(drawn);
    for (const std::int32_t k : boundary) output.row(k / w)[k % w] = outline;
}

}  // namespace rotsprite
