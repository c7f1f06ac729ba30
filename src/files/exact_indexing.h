#pragma once
// Exact indexing of truecolour pixels: every colour keeps its value and gets
// an index of its own, so a picture of at most 256 colours becomes a palette
// image with nothing changed. Portable, and fed untrusted pixels.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

// A colour as 0xAARRGGBB: WIC's 32bppBGRA pixel read as a little-endian word.
using Argb = std::uint32_t;

constexpr int kMaxColours = 256;
// Counting stops here: a photograph need not be counted to the last colour to
// be refused.
constexpr std::int64_t kColourCountCap = std::int64_t{1} << 20;

// Pixels of one picture, rows top first, `width` pixels each.
struct TruecolourView {
    const Argb* pixels = nullptr;
    int width = 0;
    int height = 0;
};

struct ExactPalette {
    std::array<Argb, kMaxColours> colours{};  // by index; unused entries 0
    int count = 0;                            // entries in use
};

// Indexes `pictures` together, so that they share one palette. All fully
// transparent pixels (alpha 0), whatever their colour bits, become one colour
// at index 0 (the first such pixel's value with alpha 0); the other colours
// take the following indices in order of first appearance: picture by picture,
// rows top to bottom. Without transparent pixels the colours start at index 0.
//
// `indices` gets one vector per picture: width x height indices, rows top
// first. Returns false when there are more than kMaxColours colours
// (transparency counted as one); `palette` and `indices` are then unspecified.
// `colours` is the number of colours, at most kColourCountCap (the counting
// stops there).
bool indexExactly(std::span<const TruecolourView> pictures, ExactPalette& palette,
                  std::vector<std::vector<std::uint8_t>>& indices, std::int64_t& colours);
