#include "cli/sheet.h"

#include <algorithm>

std::unique_ptr<IndexedImage> makeSheet(const IndexedImage& cell, int columns, int rows) {
    const std::int64_t width = std::int64_t{cell.width} * columns;
    const std::int64_t height = std::int64_t{cell.height} * rows;
    if (!imageSizeAllowed(width, height)) return nullptr;
    auto sheet = std::make_unique<IndexedImage>(cell.owner, static_cast<int>(width),
                                                static_cast<int>(height), cell.palette());
    if (!sheet->valid) return nullptr;
    return sheet;
}

bool placeCell(IndexedImage& sheet, const IndexedImage& cell, int columns, int rows, int column,
               int row) {
    if (std::int64_t{cell.width} * columns != sheet.width ||
        std::int64_t{cell.height} * rows != sheet.height) {
        return false;
    }
    const int left = column * cell.width;
    // Memory rows count from the bottom.
    const int bottom = (rows - 1 - row) * cell.height;
    for (int y = 0; y < cell.height; ++y) {
        std::copy_n(cell.row(y), cell.width, sheet.row(bottom + y) + left);
    }
    return true;
}
