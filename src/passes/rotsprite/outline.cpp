#include "passes/rotsprite/outline.h"

#include <algorithm>
#include <array>

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

std::int64_t wrapInto(std::int64_t value, std::int64_t size) {
    const std::int64_t rest = value % size;
    return rest < 0 ? rest + size : rest;
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

void joinShapeAndColours(const IndexedImage& shape, IndexedImage& colours) {
    for (int j = 0; j < shape.height; ++j) {
        const std::uint8_t* outer = shape.row(j);
        std::uint8_t* inner = colours.row(j);
        for (int i = 0; i < shape.width; ++i) {
            const bool keepShape =
                outer[i] == kGround || inner[i] == kGround || nextToGround(shape, i, j);
            inner[i] = keepShape ? outer[i] : inner[i];
        }
    }
}

void redrawOutline(const IndexedImage& input, std::uint8_t outline, const SampleGrid& grid,
                   bool wrap, IndexedImage& output, std::vector<std::uint8_t>& marks) {
    const int w = output.width, h = output.height;
    marks.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const int own = output.row(j)[i];
            if (own == kGround || own == outline || !nextToGround(output, i, j)) continue;
            const Point centre = grid.at(i, j);
            std::int64_t x = centre.x >> kLevels, y = centre.y >> kLevels;
            if (wrap) {
                x = wrapInto(x, input.width);
                y = wrapInto(y, input.height);
            }
            if (closedAround(input, outline, x, y) && colourStaysWhole(output, i, j)) {
                marks[static_cast<std::size_t>(j) * w + i] = 1;
            }
        }
    }
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (marks[static_cast<std::size_t>(j) * w + i] != 0) output.row(j)[i] = outline;
        }
    }
}

}  // namespace rotsprite
