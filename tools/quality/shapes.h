#pragma once
// Shapes defined exactly, for the "ideal raster" measure: each gives the fill
// index at any point, so it can be rasterised at any angle by pixel centres
// and the result compared with what a rotation makes of its 0-degree raster.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Palette entries of the shapes: 0 is the paper around them, kInk their
// outline (recomputed on the grid, never a fill).
inline constexpr std::uint8_t kPaper = 0;
inline constexpr std::uint8_t kInk = 1;

// A one-pixel detail (a highlight, a nail, a stud): at any angle, the one
// pixel whose square holds the point turned with the shape.
struct Detail {
    double x, y;
    std::uint8_t index;
};

struct Shape {
    std::string name;
    int side;  // the raster is side x side pixels
    // The fill index at a point given as its offset from the raster's centre,
    // in pixels, y pointing up as memory rows count; kPaper outside the shape.
    std::function<std::uint8_t(double x, double y)> fill;
    std::vector<Detail> details;  // inside the fill, clear of its edge
};

// A disc, a plank, a sword, a star, an arrow, a striped ellipse and a ring,
// 48 to 64 pixels, with one-pixel details and thin parts, each inside the
// circle inscribed in its raster so no angle turns any of it out.
std::vector<Shape> idealShapes();

// The 256 RGBQUAD entries the shapes are drawn with.
std::vector<std::uint8_t> shapePaletteQuads();
