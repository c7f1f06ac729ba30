#pragma once
// What an indexed PNG of an image holds: the palette entries it needs and the
// fewest bits per pixel that hold them, rows packed top first. Portable; the
// WIC writer hands these to the encoder.
#include <cstdint>
#include <vector>

#include "files/image_file.h"

struct PngPlan {
    int bitsPerPixel = 8;       // 1, 2, 4 or 8
    std::size_t rowBytes = 0;   // a packed row
    std::vector<Argb> palette;  // the entries written: colour with alpha (opaque without `alpha`)
};

// The entries run to the last one that a pixel uses or that is not opaque
// black (so reading the file back gives the same 256 entries and alpha).
PngPlan planIndexedPng(const IndexedImage& image, const PaletteAlpha& alpha);

// Screen row `screenRow` (0 = top) of `image`, packed at the plan's depth,
// leftmost pixel in the highest bits, into `out` (rowBytes bytes).
void packRow(const IndexedImage& image, int screenRow, const PngPlan& plan, std::uint8_t* out);
