#pragma once
// The "ideal raster" measure: a shape rasterised at angle t by pixel centres,
// with a one-pixel outline recomputed on the grid, is what a rotation by t of
// its 0-degree raster should come close to.
#include <memory>

#include "image/indexed_image.h"
#include "shapes.h"

// The shape at `degrees` (the passes' sense: positive turns clockwise on
// screen): output pixel p takes the fill at R(degrees) p, p its centre's
// offset from the raster's centre, and each detail takes the one pixel it
// turns into; then every filled pixel with a four-neighbour of paper (or the
// frame) becomes kInk. Quarter turns are
// exact, so the raster at 90 degrees is the 0-degree one turned exactly.
std::unique_ptr<IndexedImage> idealRaster(const Shape& shape, double degrees,
                                          const std::uint8_t* palette);

struct IdealScore {
    double mismatch = 0;  // pixels differing / pixels not paper in either
    int extraPieces = 0;  // 8-connected pieces of kInk beyond the ideal's (0 when fewer)
};

IdealScore scoreAgainst(const IndexedImage& ideal, const IndexedImage& output);

// 8-connected pieces of pixels of `index`.
int pieces(const IndexedImage& image, std::uint8_t index);
