#include "pass_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <random>

#include "base/parallel.h"
#include "passes/pass_chain.h"

namespace passtest {

namespace {

// The pixel at (x, memory row y), or `outside` when that is not in the image.
int at(const IndexedImage& image, int x, int y, int outside = -1) {
    const bool inside = x >= 0 && x < image.width && y >= 0 && y < image.height;
    return inside ? image.row(y)[x] : outside;
}

// The 3 x 3 neighbourhood of (x, memory row y) as shown, row by row from the
// top left; a neighbour outside the image is minus its position (1 to 9).
std::array<int, 9> neighbours(const IndexedImage& in, int x, int y) {
    std::array<int, 9> n;
    for (int i = 0; i < 9; ++i) n[i] = at(in, x + i % 3 - 1, y + 1 - i / 3, -(i + 1));
    return n;
}

// A width x height result whose pixel (x, memory row y) is value(x, y).
template <typename Value>
Pixels eachPixel(int width, int height, Value value) {
    Pixels out;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) out.push_back(static_cast<std::uint8_t>(value(x, y)));
    }
    return out;
}

// A k-fold enlargement: the k x k block of source pixel (x, memory row y) is
// block(x, y), its pixels listed row by row from the top left as shown.
using Block = std::array<int, 9>;
template <typename Blocks>
Pixels eachBlock(const IndexedImage& in, int k, Blocks block) {
    const int width = k * in.width;
    Pixels out(static_cast<std::size_t>(width) * k * in.height);
    for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < in.width; ++x) {
            const Block b = block(x, y);
            for (int i = 0; i < k * k; ++i) {
                out[static_cast<std::size_t>((k * y + k - 1 - i / k) * width + k * x + i % k)] =
                    static_cast<std::uint8_t>(b[i]);
            }
        }
    }
    return out;
}

void fillPadding(IndexedImage& image, std::uint8_t value) {
    for (int y = 0; y < image.height; ++y) {
        std::memset(image.row(y) + image.width, value, image.stride() - image.width);
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

}  // namespace

std::unique_ptr<IndexedImage> blankImage(int width, int height) {
    const std::vector<std::uint8_t> palette(kPaletteBytes, 0);
    return std::make_unique<IndexedImage>(nullptr, width, height, palette.data());
}

std::unique_ptr<IndexedImage> imageOf(const std::string& rows) {
    const auto width = static_cast<int>(std::min(rows.find('/'), rows.size()));
    const auto height = static_cast<int>(rows.size() + 1) / (width + 1);
    return imageWith(width, height, [&](int x, int y) {
        const char c = rows[static_cast<std::size_t>((height - 1 - y) * (width + 1) + x)];
        return c <= '9' ? c - '0' : c >= 'a' ? c - 'a' + 10 : 255 - ('Z' - c);
    });
}

Pixels pixelsOf(const std::string& rows) {
    return pixelsOf(*imageOf(rows));
}

Pixels pixelsOf(const IndexedImage& image) {
    return eachPixel(image.width, image.height, [&](int x, int y) { return at(image, x, y); });
}

std::unique_ptr<IndexedImage> withGreys(std::unique_ptr<IndexedImage> image, int (*grey)(int)) {
    std::uint8_t* quads = &image->header[kInfoHeaderBytes];
    for (int i = 0; i < 256; ++i) std::fill_n(quads + 4 * i, 3, static_cast<std::uint8_t>(grey(i)));
    return image;
}

std::unique_ptr<IndexedImage> randomImage(int width, int height, const std::vector<int>& colours,
                                          unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<std::size_t> pick(0, colours.size() - 1);
    return imageWith(width, height, [&](int, int) { return colours[pick(rng)]; });
}

std::uint8_t label(int x, int y) {
    return static_cast<std::uint8_t>(x % 10 + 10 * (y % 25) + 1);
}

std::unique_ptr<IndexedImage> labelled(int width, int height) {
    return imageWith(width, height, label);
}

PassSettings settingsFor(double degrees, bool wrap) {
    PassChain chain;
    chain.setRotationAngle(nullptr, degrees);
    chain.setWrapAround(nullptr, wrap ? 1 : 0);
    return chain.settings();
}

Pixels turned(rotsprite::Renderer& renderer, const IndexedImage& in, double degrees, bool wrap) {
    auto out = blankImage(in.width, in.height);
    renderer.render(in, settingsFor(degrees, wrap), *out);
    return pixelsOf(*out);
}

void expectHeldStateMadeAnew(const rotsprite::Options& options, std::unique_ptr<IndexedImage> image,
                             const std::vector<InputChange>& changes) {
    rotsprite::Renderer held(options);
    Pixels last = turned(held, *image, 30, false);
    for (const InputChange& change : changes) {
        SCOPED_TRACE(change.name);
        change.apply(image);
        rotsprite::Renderer fresh(options);
        const Pixels now = turned(fresh, *image, 30, false);
        EXPECT_NE(now, last);
        EXPECT_EQ(turned(held, *image, 30, false), now);
        last = now;
    }
}

Pixels applyChecked(Pass& pass, IndexedImage& input, std::uint8_t paddingAfter) {
    fillPadding(input, 0xA5);
    pass.apply(nullptr, input);
    if (!pass.output || !pass.output->valid) {
        ADD_FAILURE() << "no valid output for " << input.width << "x" << input.height;
        return {};
    }
    IndexedImage& output = *pass.output;
    const Pixels first = pixelsOf(output);
    std::memset(output.pixels, kGarbage, static_cast<std::size_t>(output.stride()) * output.height);
    fillPadding(input, 0x3C);
    pass.apply(nullptr, input);
    EXPECT_EQ(pass.output.get(), &output) << "the output is reused";
    EXPECT_EQ(pixelsOf(output), first) << "the rerun differs";
    EXPECT_TRUE(paddingIs(output, paddingAfter)) << "output padding";
    return first;
}

SplitWork::SplitWork(int ranges) {
    parallel::setRangeLimit(ranges);
    parallel::setSmallestRange(1);
}

SplitWork::~SplitWork() {
    parallel::setRangeLimit(0);
    parallel::setSmallestRange(0);
}

Pixels zoomReference(const IndexedImage& in, int k) {
    return eachBlock(in, k, [&](int x, int y) {
        const int v = at(in, x, y);
        return Block{v, v, v, v, v, v, v, v, v};
    });
}

Pixels canvas2xReference(const IndexedImage& in) {
    return eachPixel(2 * in.width, 2 * in.height,
                     [&](int x, int y) { return at(in, x - in.width / 2, y - in.height / 2, 0); });
}

Pixels space2xReference(const IndexedImage& in) {
    return eachBlock(in, 2, [&](int x, int y) { return Block{at(in, x, y)}; });
}

Pixels scale2xReference(const IndexedImage& in) {
    return eachBlock(in, 2, [&](int x, int y) {
        const auto [A, B, C, D, E, F, G, H, I] = neighbours(in, x, y);
        if (B == H || D == F) return Block{E, E, E, E};
        return Block{D == B ? D : E, B == F ? F : E, D == H ? D : E, H == F ? F : E};
    });
}

Pixels scale3xReference(const IndexedImage& in) {
    return eachBlock(in, 3, [&](int x, int y) {
        const auto [A, B, C, D, E, F, G, H, I] = neighbours(in, x, y);
        if (B == H || D == F) return Block{E, E, E, E, E, E, E, E, E};
        return Block{D == B ? D : E,
                     (D == B && E != C) || (B == F && E != A) ? B : E,
                     B == F ? F : E,
                     (D == B && E != G) || (D == H && E != A) ? D : E,
                     E,
                     (B == F && E != I) || (H == F && E != C) ? F : E,
                     D == H ? D : E,
                     (D == H && E != I) || (H == F && E != G) ? H : E,
                     H == F ? F : E};
    });
}

Pixels rotateReference(const IndexedImage& in, int factor, double radians, bool wrap) {
    const int w = in.width, h = in.height;
    const int outW = (w + factor - 1) / factor, outH = (h + factor - 1) / factor;
    const double k = 1.0 / static_cast<double>(1.0f / static_cast<float>(factor));
    const double cosine = std::cos(radians), sine = std::sin(radians);
    return eachPixel(outW, outH, [&](int i, int j) {
        const double dx = i - outW / 2, dy = j - outH / 2;
        const double u = k * (dx * cosine - dy * sine), v = k * (dx * sine + dy * cosine);
        int sx = static_cast<int>(halfAwayFromZero(u)) + w / 2;
        int sy = static_cast<int>(halfAwayFromZero(v)) + h / 2;
        if (!wrap) return at(in, sx, sy, 0);
        while (sx < 0) sx += w;
        while (sy < 0) sy += h;
        return at(in, sx % w, sy % h);
    });
}

Pixels mmpx2xReference(const IndexedImage& in) {
    const int w = in.width, h = in.height;
    const std::uint8_t* quads = in.palette();
    // Screen coordinates, y down, clamped to the nearest edge pixel.
    const auto src = [&](int x, int y) {
        return int{in.row(h - 1 - std::clamp(y, 0, h - 1))[std::clamp(x, 0, w - 1)]};
    };
    const auto luma = [&](int i) {
        return 299 * quads[4 * i + 2] + 587 * quads[4 * i + 1] + 114 * quads[4 * i];
    };
    const auto all = [](int v, std::initializer_list<int> others) {
        return std::ranges::all_of(others, [v](int o) { return o == v; });
    };
    const auto none = [](int v, std::initializer_list<int> others) {
        return std::ranges::none_of(others, [v](int o) { return o == v; });
    };
    Pixels out(static_cast<std::size_t>(4 * w * h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int A = src(x - 1, y - 1), B = src(x, y - 1), C = src(x + 1, y - 1);
            const int D = src(x - 1, y), E = src(x, y), F = src(x + 1, y);
            const int G = src(x - 1, y + 1), H = src(x, y + 1), I = src(x + 1, y + 1);
            const int P = src(x, y - 2), Q = src(x - 2, y), R = src(x + 2, y), S = src(x, y + 2);
            const int Bl = luma(B), Dl = luma(D), El = luma(E), Fl = luma(F), Hl = luma(H);
            int J = E, K = E, L = E, M = E;  // the block: J K above, L M below
            // 1:1 edges.
            if (D == B && D != H && D != F && (El >= Dl || E == A) && !none(E, {A, C, G}) &&
                (El < Dl || A != D || E != P || E != Q))
                J = D;
            if (B == F && B != D && B != H && (El >= Bl || E == C) && !none(E, {A, C, I}) &&
                (El < Bl || C != B || E != P || E != R))
                K = B;
            if (H == D && H != F && H != B && (El >= Hl || E == G) && !none(E, {A, G, I}) &&
                (El < Hl || G != H || E != S || E != Q))
                L = H;
            if (F == H && F != B && F != D && (El >= Fl || E == I) && !none(E, {C, G, I}) &&
                (El < Fl || I != H || E != R || E != S))
                M = F;
            // Intersections.
            if (E != F && all(E, {C, I, D, Q}) && all(F, {B, H}) && F != src(x + 3, y)) K = M = F;
            if (E != D && all(E, {A, G, F, R}) && all(D, {B, H}) && D != src(x - 3, y)) J = L = D;
            if (E != H && all(E, {G, I, B, P}) && all(H, {D, F}) && H != src(x, y + 3)) L = M = H;
            if (E != B && all(E, {A, C, H, S}) && all(B, {D, F}) && B != src(x, y - 3)) J = K = B;
            // Triangle tips.
            if (Bl < El && all(E, {G, H, I, S}) && none(E, {A, D, C, F})) J = K = B;
            if (Hl < El && all(E, {A, B, C, P}) && none(E, {D, G, I, F})) L = M = H;
            if (Fl < El && all(E, {A, D, G, Q}) && none(E, {B, C, I, H})) K = M = F;
            if (Dl < El && all(E, {C, F, I, R}) && none(E, {B, A, G, H})) J = L = D;
            // 2:1 slopes.
            if (H != B) {
                if (none(H, {A, E, C})) {
                    if (all(H, {G, F, R}) && none(H, {D, src(x + 2, y - 1)})) L = M;
                    if (all(H, {I, D, Q}) && none(H, {F, src(x - 2, y - 1)})) M = L;
                }
                if (none(B, {I, G, E})) {
                    if (all(B, {A, F, R}) && none(B, {D, src(x + 2, y + 1)})) J = K;
                    if (all(B, {C, D, Q}) && none(B, {F, src(x - 2, y + 1)})) K = J;
                }
            }
            if (F != D) {
                if (none(D, {I, E, C})) {
                    if (all(D, {A, H, S}) && none(D, {B, src(x + 1, y + 2)})) J = L;
                    if (all(D, {G, B, P}) && none(D, {H, src(x + 1, y - 2)})) L = J;
                }
                if (none(F, {E, A, G})) {
                    if (all(F, {C, H, S}) && none(F, {B, src(x - 1, y + 2)})) K = M;
                    if (all(F, {I, B, P}) && none(F, {H, src(x - 1, y - 2)})) M = K;
                }
            }
            // Memory rows count upwards: the block's upper row is row 2 (h - 1 - y) + 1.
            const std::size_t upper = static_cast<std::size_t>(2 * (h - 1 - y) + 1) * 2 * w;
            const std::size_t lower = upper - static_cast<std::size_t>(2 * w);
            out[upper + 2 * x] = static_cast<std::uint8_t>(J);
            out[upper + 2 * x + 1] = static_cast<std::uint8_t>(K);
            out[lower + 2 * x] = static_cast<std::uint8_t>(L);
            out[lower + 2 * x + 1] = static_cast<std::uint8_t>(M);
        }
    }
    return out;
}

Pixels referenceFor(int kind, const IndexedImage& in, const PassSettings& settings) {
    if (kind == 12) return mmpx2xReference(in);
    if (kind < 2) return zoomReference(in, kind + 2);
    if (kind > 5) {
        const int factor = kind == 6 ? 1 : 2 * (kind - 6);
        return rotateReference(in, factor, settings.angleRadians, settings.wrapAround != 0);
    }
    using Rule = Pixels (*)(const IndexedImage&);
    const Rule rules[] = {scale2xReference, scale3xReference, canvas2xReference, space2xReference};
    return rules[kind - 2](in);
}

std::int64_t halfAwayFromZero(double value) {
    const double magnitude = std::fabs(value);
    const auto whole = static_cast<std::int64_t>(magnitude);
    const std::int64_t rounded = magnitude - static_cast<double>(whole) >= 0.5 ? whole + 1 : whole;
    return value < 0 ? -rounded : rounded;
}

}  // namespace passtest
