#pragma once
// RotSprite's outlines. Where the shapes of a picture (everything not index
// 0, the ground) are drawn with a one-colour outline, a turned picture keeps
// it whole: the shape and the colours inside are turned apart, and the
// outline is drawn again one pixel wide around the turned shape, as an artist
// redraws it after turning by hand. Each step is linear in the pixels.
#include <cstdint>
#include <vector>

#include "image/indexed_image.h"
#include "passes/rotsprite/sample_grid.h"

namespace rotsprite {

// The index that outlines the input's shapes: the one most of their boundary
// pixels (those with a four-neighbour of index 0) have, when at least three
// in four have it and at least half of its pixels are on the boundary (an
// outline, not a colour that happens to touch the ground). -1 when there is
// none, and then nothing here applies.
int outlineIndex(const IndexedImage& input);

// `bare` (the input's size and palette): the input with every outline pixel
// on the boundary replaced by the colour it encloses (the most common of its
// four neighbours that are neither ground nor outline; thin parts with none
// stay outline).
void removeOutline(const IndexedImage& input, std::uint8_t outline, IndexedImage& bare);

// Marks in `closed` (an input pixel each, in memory row order) where the
// input's outline is closed around the pixel: no pixel within one of it is a
// boundary pixel of another colour. Made once for an input.
void markClosedOutline(const IndexedImage& input, std::uint8_t outline,
                       std::vector<std::uint8_t>& closed);

// Joins the two turned pictures into `colours`: ground where `shape` has
// ground, `shape`'s pixels on its boundary (where its outline will be
// drawn), and the colours turned without the outline inside. Lists in
// `boundary` (as y * width + x) the boundary pixels that are neither ground
// nor the outline: where redrawOutline may draw it.
void joinShapeAndColours(const IndexedImage& shape, std::uint8_t outline, IndexedImage& colours,
                         std::vector<std::int32_t>& boundary);

// Draws the outline on `output`'s boundary pixels listed: a pixel takes the
// outline's index where the input's outline around its source (the input
// pixels within one of where `grid` puts its centre) was closed, and unless
// the pixel is the last of its colour around it or joins two pieces of its
// colour (a highlight, a thin line inside the outline). The list is left
// holding the pixels drawn.
void redrawOutline(const IndexedImage& input, std::uint8_t outline,
                   const std::vector<std::uint8_t>& closed, const SampleGrid& grid, bool wrap,
                   IndexedImage& output, std::vector<std::int32_t>& boundary);

}  // namespace rotsprite
