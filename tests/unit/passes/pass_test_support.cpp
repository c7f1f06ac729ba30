#include "pass_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace passtest {

namespace {

const std::uint8_t* zeroPalette() {
    static const std::vector<std::uint8_t> palette(kPaletteBytes, 0);
    return palette.data();
}

int pixelAt(const IndexedImage& image, int x, int y) {
    return image.row(y)[x];
}

// The pixel at (x, memory row y), or `marker` when that lies outside.
int pixelOr(const IndexedImage& image, int x, int y, int marker) {
    const bool inside = x >= 0 && x < image.width && y >= 0 && y < image.height;
    return inside ? pixelAt(image, x, y) : marker;
}

struct Output {
    int width;
    Pixels pixels;
    void set(int x, int y, int value) {
        pixels[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>(value);
    }
};

Output outputOf(int width, int height) {
    return Output{width, Pixels(static_cast<std::size_t>(width) * height, 0)};
}

}  // namespace

std::unique_ptr<IndexedImage> blankImage(int width, int height) {
    return std::make_unique<IndexedImage>(nullptr, width, height, zeroPalette());
}

std::unique_ptr<IndexedImage> imageFromScreenRows(const Rows& rows) {
    const int height = static_cast<int>(rows.size());
    const int width = static_cast<int>(rows.front().size());
    auto image = blankImage(width, height);
    for (int r = 0; r < height; ++r) {
        for (int x = 0; x < width; ++x) {
            image->row(height - 1 - r)[x] = static_cast<std::uint8_t>(rows[r][x]);
        }
    }
    fillPadding(*image, 0xEE);
    return image;
}

Rows screenRows(const IndexedImage& image) {
    Rows rows;
    for (int y = image.height - 1; y >= 0; --y) {
        rows.emplace_back(image.row(y), image.row(y) + image.width);
    }
    return rows;
}

std::unique_ptr<IndexedImage> randomImage(int width, int height, const std::vector<int>& colours,
                                          unsigned seed) {
    auto image = blankImage(width, height);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<std::size_t> pick(0, colours.size() - 1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image->row(y)[x] = static_cast<std::uint8_t>(colours[pick(rng)]);
    }
    return image;
}

void fillPadding(IndexedImage& image, std::uint8_t value) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = image.width; x < image.stride(); ++x) image.row(y)[x] = value;
    }
}

bool paddingIs(const IndexedImage& image, std::uint8_t value) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = image.width; x < image.stride(); ++x) {
            if (image.row(y)[x] != value) return false;
        }
    }
    return true;
}

Pixels pixelsOf(const IndexedImage& image) {
    Pixels pixels;
    for (int y = 0; y < image.height; ++y)
        pixels.insert(pixels.end(), image.row(y), image.row(y) + image.width);
    return pixels;
}

Pixels applyChecked(Pass& pass, IndexedImage& input, bool outputPaddingKept) {
    fillPadding(input, 0xA5);
    pass.apply(nullptr, input);
    if (!pass.output || !pass.output->valid) {
        ADD_FAILURE() << "no valid output for " << input.width << "x" << input.height;
        return {};
    }
    const IndexedImage* first = pass.output.get();
    const Pixels firstPixels = pixelsOf(*first);
    fillPadding(*pass.output, 0x5A);
    fillPadding(input, 0x3C);
    pass.apply(nullptr, input);
    EXPECT_EQ(pass.output.get(), first) << "the output is reused";
    EXPECT_EQ(pixelsOf(*pass.output), firstPixels) << "input padding changed the result";
    if (outputPaddingKept) {
        EXPECT_TRUE(paddingIs(*pass.output, 0x5A)) << "output padding written";
    }
    return firstPixels;
}

Pixels zoomReference(const IndexedImage& in, int factor) {
    Output out = outputOf(factor * in.width, factor * in.height);
    for (int y = 0; y < factor * in.height; ++y) {
        for (int x = 0; x < factor * in.width; ++x)
            out.set(x, y, pixelAt(in, x / factor, y / factor));
    }
    return out.pixels;
}

Pixels canvas2xReference(const IndexedImage& in) {
    Output out = outputOf(2 * in.width, 2 * in.height);
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x)
            out.set(x + in.width / 2, y + in.height / 2, pixelAt(in, x, y));
    }
    return out.pixels;
}

Pixels space2xReference(const IndexedImage& in) {
    Output out = outputOf(2 * in.width, 2 * in.height);
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) out.set(2 * x, 2 * y + 1, pixelAt(in, x, y));
    }
    return out.pixels;
}

// Every pixel the same way: neighbours outside the image hold minus their
// position in the 3 x 3 neighbourhood (1..9 from the top left on screen).
Pixels scale2xReference(const IndexedImage& in) {
    Output out = outputOf(2 * in.width, 2 * in.height);
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            const int B = pixelOr(in, x, y + 1, -2), D = pixelOr(in, x - 1, y, -4);
            const int E = pixelAt(in, x, y);
            const int F = pixelOr(in, x + 1, y, -6), H = pixelOr(in, x, y - 1, -8);
            int e0 = E, e1 = E, e2 = E, e3 = E;
            if (B != H && D != F) {
                e0 = D == B ? D : E;
                e1 = B == F ? F : E;
                e2 = D == H ? D : E;
                e3 = H == F ? F : E;
            }
            out.set(2 * x, 2 * y + 1, e0);
            out.set(2 * x + 1, 2 * y + 1, e1);
            out.set(2 * x, 2 * y, e2);
            out.set(2 * x + 1, 2 * y, e3);
        }
    }
    return out.pixels;
}

Pixels scale3xReference(const IndexedImage& in) {
    Output out = outputOf(3 * in.width, 3 * in.height);
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            const int A = pixelOr(in, x - 1, y + 1, -1), B = pixelOr(in, x, y + 1, -2),
                      C = pixelOr(in, x + 1, y + 1, -3);
            const int D = pixelOr(in, x - 1, y, -4), E = pixelAt(in, x, y),
                      F = pixelOr(in, x + 1, y, -6);
            const int G = pixelOr(in, x - 1, y - 1, -7), H = pixelOr(in, x, y - 1, -8),
                      I = pixelOr(in, x + 1, y - 1, -9);
            int e[9] = {E, E, E, E, E, E, E, E, E};
            if (B != H && D != F) {
                e[0] = D == B ? D : E;
                e[1] = (D == B && E != C) || (B == F && E != A) ? B : E;
                e[2] = B == F ? F : E;
                e[3] = (D == B && E != G) || (D == H && E != A) ? D : E;
                e[5] = (B == F && E != I) || (H == F && E != C) ? F : E;
                e[6] = D == H ? D : E;
                e[7] = (D == H && E != I) || (H == F && E != G) ? H : E;
                e[8] = H == F ? F : E;
            }
            for (int n = 0; n < 9; ++n) out.set(3 * x + n % 3, 3 * y + 2 - n / 3, e[n]);
        }
    }
    return out.pixels;
}

Pixels rotateReference(const IndexedImage& in, int factor, double radians, bool wrap) {
    const int w = in.width, h = in.height;
    const int outW = (w + factor - 1) / factor, outH = (h + factor - 1) / factor;
    const float scale = factor == 1 ? 1.0f : 1.0f / static_cast<float>(factor);
    const double k = 1.0 / static_cast<double>(scale);
    Output out = outputOf(outW, outH);
    for (int j = 0; j < outH; ++j) {
        for (int i = 0; i < outW; ++i) {
            const double dx = i - outW / 2, dy = j - outH / 2;
            const double u = k * (dx * std::cos(radians) - dy * std::sin(radians));
            const double v = k * (dx * std::sin(radians) + dy * std::cos(radians));
            int sx = static_cast<int>(halfAwayFromZero(u)) + w / 2;
            int sy = static_cast<int>(halfAwayFromZero(v)) + h / 2;
            if (sx >= 0 && sx < w && sy >= 0 && sy < h) {
                out.set(i, j, pixelAt(in, sx, sy));
            } else if (wrap) {
                while (sx < 0) sx += w;
                if (sx >= w) sx %= w;
                while (sy < 0) sy += h;
                if (sy >= h) sy %= h;
                out.set(i, j, pixelAt(in, sx, sy));
            }
        }
    }
    return out.pixels;
}

std::int64_t halfAwayFromZero(double value) {
    const double magnitude = std::fabs(value);
    const auto whole = static_cast<std::int64_t>(magnitude);
    const std::int64_t rounded = magnitude - static_cast<double>(whole) >= 0.5 ? whole + 1 : whole;
    return value < 0 ? -rounded : rounded;
}

}  // namespace passtest
