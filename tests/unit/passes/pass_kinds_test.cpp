// Every pass kind as the factory makes it meets its plain reference: the
// enlargements over many sizes and colour sets, so that interior, border,
// vector and tail code all see awkward neighbourhoods; the rotations over
// many angles, sizes, both wrap settings and every factor. And a pass writes
// only an output of the size it makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

#include "pass_test_support.h"
#include "passes/pass_kinds.h"

using namespace passtest;

namespace {

// RotSprite has no plain reference: its own tests pin it.
constexpr int kCanvas2x = 4, kMmpx2x = 12;
const std::vector<int> kEnlargements = {0, 1, 2, 3, 4, 5, kMmpx2x};
const std::vector<int> kRotations = {6, 7, 8, 9, 10};

// Greys with many ties, so MMPX's brightness tests meet equal, darker and
// lighter neighbours alike.
int fewGreys(int i) {
    return (i * 7919 % 7) * 40;
}

void expectKindsMatch(const std::vector<int>& kinds, IndexedImage& in,
                      const PassSettings& settings = {}) {
    for (int kind : kinds) {
        SCOPED_TRACE(testing::Message()
                     << passKindNamesNarrow[kind] << " on " << in.width << "x" << in.height
                     << " at " << settings.angleDegrees << (settings.wrapAround ? " wrapped" : ""));
        const auto pass = makePass(kind, settings);
        // The canvas is cleared whole, row padding included, on every run.
        EXPECT_EQ(applyChecked(*pass, in, kind == kCanvas2x ? 0 : kGarbage),
                  referenceFor(kind, in, settings));
    }
}

TEST(PassKinds, EnlargementsMatchTheirReferencesOverManySizesAndColourSets) {
    // Few colours make matches; 247 to 255 are where a narrowed marker would land.
    const std::vector<std::vector<int>> colourSets = {
        {0, 1}, {0, 1, 2}, {3, 7, 200, 255}, {247, 248, 249, 250, 251, 252, 253, 254, 255}, {255}};
    unsigned seed = 1;
    for (int h : {1, 2, 3, 4, 7}) {
        for (int w = 1; w <= 50; ++w) {
            for (const auto& colours : colourSets) {
                expectKindsMatch(kEnlargements,
                                 *withGreys(randomImage(w, h, colours, seed++), fewGreys));
            }
        }
    }
    for (int w : {1, 2, 3, 5})
        expectKindsMatch(kEnlargements, *withGreys(randomImage(w, 41, {0, 1}, seed++), fewGreys));
    expectKindsMatch(kEnlargements,
                     *withGreys(randomImage(301, 67, {0, 1, 7, 200, 255}, seed++), fewGreys));
    // Pixel art: blocks of equal pixels with edges between them, the case the rules smooth.
    auto art = imageWith(133, 61, [](int x, int y) {
        const unsigned block = static_cast<unsigned>((x / 3) * 7919 + (y / 2) * 104729);
        return ((block * 2654435761u) >> 29) % 4 + 252;
    });
    expectKindsMatch(kEnlargements, *withGreys(std::move(art), fewGreys));
}

TEST(PassKinds, RotationsMatchTheReferenceOverManyAnglesAndSizes) {
    std::vector<int> angles = {45, 90, 135, 180, 225, 270, 315, 359, 360};
    for (int a = 0; a < 360; a += 7) angles.push_back(a);
    for (int degrees : angles) {
        for (bool wrap : {false, true}) {
            for (auto [w, h] :
                 {std::pair{1, 1}, {1, 7}, {7, 1}, {2, 2}, {10, 10}, {13, 9}, {16, 16}, {31, 17}}) {
                expectKindsMatch(kRotations, *labelled(w, h), settingsFor(degrees, wrap));
            }
        }
    }
    // Random pixels, so a source off by any amount shows; wide enough for whole
    // vectors, with spans that start and end anywhere in one.
    std::vector<int> colours;
    for (int c = 1; c < 256; ++c) colours.push_back(c);
    unsigned seed = 1;
    for (int degrees : {1, 44, 45, 46, 89, 91, 134, 136, 179, 181, 224, 226, 269, 271, 314, 316}) {
        for (auto [w, h] : {std::pair{64, 48}, {257, 130}, {1000, 5}, {6, 700}, {99, 101}}) {
            const auto in = randomImage(w, h, colours, seed++);
            for (bool wrap : {false, true}) {
                expectKindsMatch(kRotations, *in, settingsFor(degrees, wrap));
            }
        }
    }
}

// Random palettes: brightness from every mix of red, green and blue.
TEST(PassKinds, Mmpx2xMatchesItsReferenceWithAnyPalette) {
    std::mt19937 rng(5);
    for (int run = 0; run < 300; ++run) {
        std::vector<int> colours(2 + run % 5);
        for (int& c : colours) c = static_cast<int>(rng() % 256);
        const int w = 1 + static_cast<int>(rng() % 40), h = 1 + static_cast<int>(rng() % 40);
        const int block = 1 + run % 3;  // blocks of pixels make edges, slopes and tips
        const auto noise = randomImage(w, h, colours, static_cast<unsigned>(rng()));
        auto in = imageWith(w, h, [&](int x, int y) { return noise->row(y / block)[x / block]; });
        std::uint8_t* quads = &in->header[kInfoHeaderBytes];
        for (int i = 0; i < 1024; ++i) quads[i] = static_cast<std::uint8_t>(rng());
        ASSERT_EQ(applyChecked(*makePass(kMmpx2x, {}), *in), mmpx2xReference(*in)) << run;
    }
}

TEST(PassKinds, AnOutputIsWrittenOnlyAtTheSizeItWasMadeFor) {
    const PassSettings settings = settingsFor(30, true);
    for (int kind = 0; kind < kPassKindCount; ++kind) {
        SCOPED_TRACE(passKindNamesNarrow[kind]);
        const auto pass = makePass(kind, settings);
        pass->apply(nullptr, *randomImage(9, 7, {0, 1, 2}, 1));
        const Pixels before = pixelsOf(*pass->output);
        pass->apply(nullptr, *randomImage(20, 3, {5}, 1));
        EXPECT_EQ(pixelsOf(*pass->output), before) << "an output of another size was written";
        for (auto [w, h] : {std::pair{0, 3}, std::pair{4, 0}}) {
            const auto empty = makePass(kind, settings);
            empty->apply(nullptr, *blankImage(w, h));
            EXPECT_FALSE(empty->output->valid);
        }
    }
}

}  // namespace
