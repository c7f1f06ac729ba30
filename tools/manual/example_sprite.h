#pragma once
// The 16 x 16 sprite that every example on the manual page starts from: an
// outlined heart, with stair-step diagonals for the scalers and a clear top
// and bottom so that rotations show.
#include <array>
#include <cstdint>
#include <memory>

#include "image/indexed_image.h"
#include "page_palette.h"

constexpr int kSpriteSize = 16;

// Palette entries 0..15 of the page; entry 0 is the backdrop, the index the
// passes give to pixels they create.
const std::array<Rgb, 16>& spriteColours();

// The sprite as an image with `palette` (256 RGBQUAD entries).
std::unique_ptr<IndexedImage> makeExampleSprite(const std::uint8_t* palette);
