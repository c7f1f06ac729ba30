#include "example_sprite.h"

#include <stdexcept>

namespace {

// Top row first, as seen on screen.
// clang-format off: the rows are the picture.
constexpr const char* kRows[kSpriteSize] = {
    "................", "................", "...OOO....OOO...", "..OHHRO..ORRRO..",
    ".OHWHRROORRRRDO.", ".OHHRRRRRRRRRDO.", ".ORRRRRRRRRRRDO.", ".ORRRRRRRRRRDDO.",
    "..ORRRRRRRRRDO..", "..ORRRRRRRRDDO..", "...ORRRRRRDDO...", "....ORRRRDDO....",
    ".....ORRDDO.....", "......ORDO......", ".......OO.......", "................",
};
// clang-format on

std::uint8_t indexOf(char cell) {
    switch (cell) {
        case '.':
            return 0;
        case 'O':
            return 1;
        case 'R':
            return 2;
        case 'D':
            return 3;
        case 'H':
            return 4;
        case 'W':
            return 5;
        default:
            throw std::logic_error("unknown sprite cell");
    }
}

}  // namespace

const std::array<Rgb, 16>& spriteColours() {
    static const std::array<Rgb, 16> colours = {{
        {214, 222, 234},  // backdrop
        {44, 26, 52},     // outline
        {222, 52, 74},    // red
        {148, 26, 62},    // shade
        {255, 138, 150},  // highlight
        {255, 246, 248},  // sparkle
    }};
    return colours;
}

std::unique_ptr<IndexedImage> makeExampleSprite(const std::uint8_t* palette) {
    auto sprite = std::make_unique<IndexedImage>(nullptr, kSpriteSize, kSpriteSize, palette);
    if (!sprite->valid) return sprite;
    for (int y = 0; y < kSpriteSize; ++y) {
        std::uint8_t* row = sprite->row(kSpriteSize - 1 - y);  // memory rows are bottom-up
        for (int x = 0; x < kSpriteSize; ++x) row[x] = indexOf(kRows[y][x]);
    }
    return sprite;
}
