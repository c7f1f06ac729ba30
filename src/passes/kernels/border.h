#pragma once
// The border step shared by Scale2x and Scale3x: the pixels of the outer rows
// and columns, each with its 3 x 3 neighbourhood where a neighbour outside the
// image is minus its position (1..9, row by row from the top left on screen).
#include "image/indexed_image.h"

namespace kernels {

struct Neighbourhood {
    int a, b, c;  // row above on screen (memory row + 1)
    int d, e, f;
    int g, h, i;  // row below on screen (memory row - 1)
};

inline Neighbourhood neighbourhoodWithMarkers(const IndexedImage& image, int memoryRow,
                                              int column) {
    const bool top = memoryRow == image.height - 1;
    const bool bottom = memoryRow == 0;
    const bool left = column == 0;
    const bool right = column == image.width - 1;
    const auto at = [&](int rowOffset, int columnOffset) {
        return static_cast<int>(image.row(memoryRow + rowOffset)[column + columnOffset]);
    };
    Neighbourhood n;
    n.a = top || left ? -1 : at(1, -1);
    n.b = top ? -2 : at(1, 0);
    n.c = top || right ? -3 : at(1, 1);
    n.d = left ? -4 : at(0, -1);
    n.e = at(0, 0);
    n.f = right ? -6 : at(0, 1);
    n.g = bottom || left ? -7 : at(-1, -1);
    n.h = bottom ? -8 : at(-1, 0);
    n.i = bottom || right ? -9 : at(-1, 1);
    return n;
}

// Calls visit(memoryRow, column) for the bottom row, the top row, the left
// column and the right column, in that order; corners come twice.
template <typename Visit>
void forEachBorderPixel(int width, int height, Visit visit) {
    for (int x = 0; x < width; ++x) visit(0, x);
    for (int x = 0; x < width; ++x) visit(height - 1, x);
    for (int y = 0; y < height; ++y) visit(y, 0);
    for (int y = 0; y < height; ++y) visit(y, width - 1);
}

}  // namespace kernels
