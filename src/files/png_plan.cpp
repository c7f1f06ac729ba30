#include "files/png_plan.h"

#include <algorithm>

PngPlan planIndexedPng(const IndexedImage& image, const PaletteAlpha& alpha) {
    std::vector<Argb> colours(kMaxColours);
    const std::uint8_t* quads = image.palette();
    int entries = 1;
    for (int i = 0; i < kMaxColours; ++i) {
        const Argb opacity = alpha.present ? alpha.alpha[i] : 0xFF;
        colours[i] = opacity << 24 | Argb{quads[4 * i + 2]} << 16 | Argb{quads[4 * i + 1]} << 8 |
                     quads[4 * i];
        if (colours[i] != 0xFF000000u) entries = i + 1;
    }
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.row(y);
        entries = std::max(entries, *std::max_element(row, row + image.width) + 1);
    }
    PngPlan plan;
    plan.bitsPerPixel = entries <= 2 ? 1 : entries <= 4 ? 2 : entries <= 16 ? 4 : 8;
    plan.rowBytes = (static_cast<std::size_t>(image.width) * plan.bitsPerPixel + 7) / 8;
    colours.resize(entries);
    plan.palette = std::move(colours);
    return plan;
}

void packRow(const IndexedImage& image, int screenRow, const PngPlan& plan, std::uint8_t* out) {
    const std::uint8_t* row = image.row(image.height - 1 - screenRow);
    const int bits = plan.bitsPerPixel;
    if (bits == 8) {
        std::copy_n(row, image.width, out);
        return;
    }
    std::fill_n(out, plan.rowBytes, std::uint8_t{0});
    const int perByte = 8 / bits;
    for (int x = 0; x < image.width; ++x) {
        const int shift = 8 - bits * (x % perByte + 1);
        out[x / perByte] |= static_cast<std::uint8_t>(row[x] << shift);
    }
}
