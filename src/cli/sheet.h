#pragma once
// A sheet: views side by side, frames one under another, in one image.
#include <memory>

#include "image/indexed_image.h"

// A blank sheet of `columns` x `rows` cells the size of `cell`, with its
// palette. Null when it would be larger than an image may be or could not be
// made.
std::unique_ptr<IndexedImage> makeSheet(const IndexedImage& cell, int columns, int rows);

// Copies `cell` into column `column`, row `row` (row 0 on top). False when the
// cell is not the sheet's cell size.
bool placeCell(IndexedImage& sheet, const IndexedImage& cell, int columns, int rows, int column,
               int row);
