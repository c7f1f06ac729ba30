// Exact indexing: literal pictures with known indices, the 256-colour bound
// and the count in its refusal, and the fast table against a plain reference.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "files/exact_indexing.h"

namespace {

constexpr Argb kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu;

struct Indexed {
    bool ok = false;
    ExactPalette palette;
    std::vector<std::vector<std::uint8_t>> indices;
    std::int64_t colours = 0;
};

Indexed indexed(const std::vector<std::vector<Argb>>& pictures, int width) {
    std::vector<TruecolourView> views;
    for (const auto& pixels : pictures) {
        views.push_back({pixels.data(), width, static_cast<int>(pixels.size()) / width});
    }
    Indexed result;
    result.ok = indexExactly(views, result.palette, result.indices, result.colours);
    return result;
}

TEST(ExactIndexing, ClearPixelsTakeIndexZeroAndColoursFollowInOrder) {
    // Two clear pixels of different colour bits are one colour; half-clear red
    // is not red.
    const Indexed result =
        indexed({{kGreen, 0x00123456u, kRed, 0x80FF0000u, 0x00FFFFFFu, kGreen}}, 3);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.indices[0], (std::vector<std::uint8_t>{1, 0, 2, 3, 0, 1}));
    EXPECT_EQ(result.palette.count, 4);
    EXPECT_EQ(result.colours, 4);
    const Argb expected[] = {0x00123456u, kGreen, kRed, 0x80FF0000u};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(result.palette.colours[i], expected[i]) << i;
    EXPECT_EQ(result.palette.colours[4], 0u);

    // Opaque pictures start at 0; pictures indexed together share the palette.
    const Indexed opaque = indexed({{kBlue, kRed}, {kRed, kGreen, kBlue, kBlue}}, 2);
    ASSERT_TRUE(opaque.ok);
    EXPECT_EQ(opaque.indices[0], (std::vector<std::uint8_t>{0, 1}));
    EXPECT_EQ(opaque.indices[1], (std::vector<std::uint8_t>{1, 2, 0, 0}));
    EXPECT_EQ(opaque.palette.count, 3);
    // A clear pixel found only in the second picture still takes index 0.
    const Indexed late = indexed({{kBlue, kRed}, {0u, kGreen}}, 2);
    EXPECT_EQ(late.indices[0], (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(late.indices[1], (std::vector<std::uint8_t>{0, 3}));
}

std::vector<Argb> distinctColours(int count, bool clear) {
    std::vector<Argb> pixels;
    for (int i = 0; i < count; ++i) pixels.push_back(0xFF000000u | Argb(i) * 2654435761u >> 8);
    if (clear) pixels.push_back(0x00ABCDEFu);
    return pixels;
}

TEST(ExactIndexing, AtMost256ColoursCountingClearAsOne) {
    EXPECT_TRUE(indexed({distinctColours(256, false)}, 1).ok);
    EXPECT_TRUE(indexed({distinctColours(255, true)}, 1).ok);
    const Indexed over = indexed({distinctColours(256, true)}, 1);
    EXPECT_FALSE(over.ok);
    EXPECT_EQ(over.colours, 257);
    // The count runs on over every later picture, repeats not counted again.
    const Indexed spread = indexed({distinctColours(200, false), distinctColours(300, true)}, 1);
    EXPECT_FALSE(spread.ok);
    EXPECT_EQ(spread.colours, 301);
    // A photograph is counted only so far.
    const Indexed huge = indexed({distinctColours(int(kColourCountCap) + 5, false)}, 1);
    EXPECT_FALSE(huge.ok);
    EXPECT_EQ(huge.colours, kColourCountCap);
}

TEST(ExactIndexing, AgreesWithAPlainReference) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const int width = 1 + int(random() % 40);
        const int height = 1 + int(random() % 20);
        const int kinds = 1 + int(random() % 256);
        std::vector<Argb> colours;
        for (int i = 0; i < kinds; ++i) {
            // Colliding low bits and a few clear values test the table's probing.
            const Argb alpha = random() % 8 == 0 ? 0 : random() % 2 ? 0xFF : random() % 256;
            colours.push_back(alpha << 24 | (random() % 4) << 16 | Argb(i) << 9);
        }
        std::vector<Argb> pixels(std::size_t(width) * height);
        for (Argb& pixel : pixels) pixel = colours[random() % kinds];
        const Indexed result = indexed({pixels}, width);

        std::map<Argb, int> reference;
        bool anyClear = false;
        for (const Argb pixel : pixels) anyClear = anyClear || pixel >> 24 == 0;
        if (anyClear) reference[0] = 0;
        std::vector<std::uint8_t> expected;
        for (const Argb pixel : pixels) {
            const Argb key = pixel >> 24 == 0 ? 0 : pixel;
            if (!reference.count(key)) {
                const int next = static_cast<int>(reference.size());
                reference[key] = next;
            }
            expected.push_back(static_cast<std::uint8_t>(reference[key]));
        }
        ASSERT_EQ(result.ok, reference.size() <= 256u) << round;
        if (!result.ok) {
            EXPECT_EQ(result.colours, std::int64_t(reference.size()));
            continue;
        }
        EXPECT_EQ(result.indices[0], expected) << round;
        EXPECT_EQ(result.palette.count, int(reference.size()));
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const Argb back = result.palette.colours[result.indices[0][i]];
            EXPECT_TRUE(back == pixels[i] || (back >> 24 == 0 && pixels[i] >> 24 == 0)) << i;
        }
    }
}

}  // namespace
