#include "sprites.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "example_sprite.h"
#include "page_palette.h"
#include "sample_sprite.h"

namespace {

std::unique_ptr<IndexedImage> blank(int side, const std::uint8_t* palette) {
    auto image = std::make_unique<IndexedImage>(nullptr, side, side, palette);
    for (int y = 0; y < side; ++y) std::fill_n(image->row(y), side, std::uint8_t{0});
    return image;
}

// Screen coordinates (y from the top) into the bottom-up image.
void plot(IndexedImage& image, int x, int y, std::uint8_t index) {
    if (x >= 0 && x < image.width && y >= 0 && y < image.height)
        image.row(image.height - 1 - y)[x] = index;
}

// Entries 1..6: ink, two close greens, a light, a red, white.
std::vector<std::uint8_t> shapePalette() {
    const std::uint8_t rgb[][3] = {{236, 236, 228}, {20, 24, 40},  {60, 150, 70},  {72, 164, 80},
                                   {250, 214, 90},  {200, 40, 50}, {255, 255, 255}};
    std::vector<std::uint8_t> palette(kPaletteBytes, 0);
    for (std::size_t i = 0; i < std::size(rgb); ++i) {
        palette[4 * i] = rgb[i][2];
        palette[4 * i + 1] = rgb[i][1];
        palette[4 * i + 2] = rgb[i][0];
    }
    return palette;
}

// A circle and a rectangle drawn with one-pixel ink lines, filled with green.
std::unique_ptr<IndexedImage> outlines(const std::uint8_t* palette) {
    auto image = blank(40, palette);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const double r = std::hypot(x - 14.5, y - 14.5);
            if (r < 9.5) plot(*image, x, y, r < 8.5 ? 2 : 1);
            const bool box = x >= 22 && x <= 35 && y >= 24 && y <= 35;
            if (box) plot(*image, x, y, x == 22 || x == 35 || y == 24 || y == 35 ? 1 : 3);
        }
    }
    return image;
}

// One-pixel lines at slopes 1, 1/2, 2 and 1/3, and a two-colour stripe.
std::unique_ptr<IndexedImage> diagonals(const std::uint8_t* palette) {
    auto image = blank(40, palette);
    for (int t = 0; t < 30; ++t) {
        plot(*image, 5 + t, 4 + t, 1);
        plot(*image, 4 + t, 20 + t / 2, 5);
        plot(*image, 20 + t / 2, 4 + t, 1);
        plot(*image, 6 + t, 30 + t / 3, 2);
        plot(*image, 7 + t, 30 + t / 3, 4);
    }
    return image;
}

// A shaded ball and a field with single-pixel highlights and specks.
std::unique_ptr<IndexedImage> highlights(const std::uint8_t* palette) {
    auto image = blank(40, palette);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const double r = std::hypot(x - 19.5, y - 19.5);
            if (r < 13) plot(*image, x, y, r < 12 ? (x + y < 34 ? 3 : 2) : 1);
        }
    }
    const int spots[][3] = {{14, 13, 6}, {16, 15, 4}, {24, 20, 6}, {18, 27, 5}, {4, 4, 5},
                            {34, 6, 4},  {5, 34, 6},  {33, 33, 1}, {10, 22, 4}, {28, 12, 5}};
    for (const auto& s : spots) plot(*image, s[0], s[1], static_cast<std::uint8_t>(s[2]));
    return image;
}

}  // namespace

std::vector<Sprite> qualitySprites() {
    std::vector<Sprite> sprites;
    const Project knight = makeSampleProject();
    for (int frame = 1; frame <= knight.frameCount(); ++frame) {
        for (int layer = 0; layer < knight.layerCount(); ++layer) {
            auto image = std::make_unique<IndexedImage>(nullptr, knight.width, knight.height,
                                                        knight.palette.data());
            const LayerPixels& pixels = knight.pixels(frame, layer);
            for (int y = 0; y < knight.height; ++y) {
                std::copy_n(pixels.begin() + std::ptrdiff_t{y} * knight.width, knight.width,
                            image->row(knight.height - 1 - y));
            }
            const char* what = layer == 0 ? "backdrop" : "knight";
            sprites.push_back({std::string(what) + " f" + std::to_string(frame), std::move(image)});
        }
    }
    const auto pageColours = PagePalette(spriteColours()).rgbQuads();
    sprites.push_back({"heart", makeExampleSprite(pageColours.data())});
    const std::vector<std::uint8_t> palette = shapePalette();
    sprites.push_back({"outlines", outlines(palette.data())});
    sprites.push_back({"diagonals", diagonals(palette.data())});
    sprites.push_back({"highlights", highlights(palette.data())});
    return sprites;
}
