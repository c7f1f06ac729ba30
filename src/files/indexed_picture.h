#pragma once
// A palette picture as the readers make it, before it becomes IndexedImages:
// rows top first, as files hold them.
#include <array>
#include <cstdint>
#include <vector>

#include "files/exact_indexing.h"

struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::vector<std::uint8_t>> frames;  // width x height indices each, rows top first
    // 0xAARRGGBB by index, alpha as the file gives it; entries the file has no
    // colour for are opaque black.
    std::array<Argb, kMaxColours> palette = opaqueBlack();

    static std::array<Argb, kMaxColours> opaqueBlack() {
        std::array<Argb, kMaxColours> colours;
        colours.fill(0xFF000000u);
        return colours;
    }
};
