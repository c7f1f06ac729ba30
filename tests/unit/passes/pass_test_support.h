#pragma once
// Helpers for the pass tests: images from literal screen rows, random images,
// padding control, and plain reference versions of every pass rule.
#include <cstdint>
#include <memory>
#include <vector>

#include "image/indexed_image.h"
#include "passes/pass.h"

namespace passtest {

// Screen rows from the top, as the rules' worked examples are written.
using Rows = std::vector<std::vector<int>>;

std::unique_ptr<IndexedImage> blankImage(int width, int height);
std::unique_ptr<IndexedImage> imageFromScreenRows(const Rows& rows);
Rows screenRows(const IndexedImage& image);

// Random pixels drawn from `colours`.
std::unique_ptr<IndexedImage> randomImage(int width, int height, const std::vector<int>& colours,
                                          unsigned seed);
// Every row's padding bytes set to `value`.
void fillPadding(IndexedImage& image, std::uint8_t value);
// True when every padding byte of every row is `value`.
bool paddingIs(const IndexedImage& image, std::uint8_t value);

// Pixels in memory-row order, width bytes per row, no padding.
using Pixels = std::vector<std::uint8_t>;
Pixels pixelsOf(const IndexedImage& image);

// Reference rules, pixel by pixel, straight from their definitions. Each gives
// the output's pixels in memory-row order.
Pixels zoomReference(const IndexedImage& in, int factor);
Pixels canvas2xReference(const IndexedImage& in);
Pixels space2xReference(const IndexedImage& in);
Pixels scale2xReference(const IndexedImage& in);
Pixels scale3xReference(const IndexedImage& in);
Pixels rotateReference(const IndexedImage& in, int factor, double radians, bool wrap);

// Rounding from its definition: the integer part, plus one when the dropped
// fraction (exact below 2^52) is at least a half. Not std::round: MinGW's
// gives 1 for the double just below a half.
std::int64_t halfAwayFromZero(double value);

// Runs `pass` on `input` twice and returns its output's pixels, checking that
// the second run reuses the same output and gives the same pixels although the
// input padding holds different garbage, and (when `outputPaddingKept`) that
// no output padding byte was written. Failures are reported through gtest.
Pixels applyChecked(Pass& pass, IndexedImage& input, bool outputPaddingKept = true);

}  // namespace passtest
