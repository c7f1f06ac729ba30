// Scale2x and Scale3x: the worked examples, then both passes against the
// marker-based references over many sizes and colour sets, so that interior,
// border, vector and tail code paths all meet awkward neighbourhoods.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "pass_test_support.h"
#include "passes/scale2x_pass.h"
#include "passes/scale3x_pass.h"

using namespace passtest;

namespace {

template <typename P>
Rows run(const Rows& input) {
    P pass;
    auto in = imageFromScreenRows(input);
    pass.apply(nullptr, *in);
    return screenRows(*pass.output);
}

TEST(Scale2x, WorkedExamples) {
    EXPECT_EQ(run<Scale2xPass>({{1, 2}, {2, 1}}),
              (Rows{{1, 1, 2, 2}, {1, 2, 1, 2}, {2, 1, 2, 1}, {2, 2, 1, 1}}));
    EXPECT_EQ(run<Scale2xPass>({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}),
              (Rows{{1, 1, 0, 0, 0, 0},
                    {1, 0, 1, 0, 0, 0},
                    {0, 1, 1, 1, 0, 0},
                    {0, 0, 1, 1, 1, 0},
                    {0, 0, 0, 1, 0, 1},
                    {0, 0, 0, 0, 1, 1}}));
    EXPECT_EQ(run<Scale2xPass>({{0, 0, 1, 1}, {0, 1, 1, 1}, {1, 1, 1, 1}}),
              (Rows{{0, 0, 0, 0, 1, 1, 1, 1},
                    {0, 0, 0, 1, 1, 1, 1, 1},
                    {0, 0, 0, 1, 1, 1, 1, 1},
                    {0, 1, 1, 1, 1, 1, 1, 1},
                    {1, 1, 1, 1, 1, 1, 1, 1},
                    {1, 1, 1, 1, 1, 1, 1, 1}}));
}

TEST(Scale2x, OutsideMarkerIsNeverAPaletteIndex) {
    EXPECT_EQ(run<Scale2xPass>({{0, 5, 254}, {0, 0, 0}}),
              (Rows{{0, 0, 5, 5, 254, 254}, {0, 0, 0, 5, 254, 254}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}));
}

TEST(Scale3x, WorkedExamples) {
    EXPECT_EQ(run<Scale3xPass>({{1, 2}, {2, 1}}), (Rows{{1, 1, 1, 2, 2, 2},
                                                        {1, 1, 2, 1, 2, 2},
                                                        {1, 2, 2, 1, 1, 2},
                                                        {2, 1, 1, 2, 2, 1},
                                                        {2, 2, 1, 2, 1, 1},
                                                        {2, 2, 2, 1, 1, 1}}));
    EXPECT_EQ(run<Scale3xPass>({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}),
              (Rows{{1, 1, 1, 0, 0, 0, 0, 0, 0},
                    {1, 1, 0, 1, 0, 0, 0, 0, 0},
                    {1, 0, 0, 1, 0, 0, 0, 0, 0},
                    {0, 1, 1, 1, 1, 1, 0, 0, 0},
                    {0, 0, 0, 1, 1, 1, 0, 0, 0},
                    {0, 0, 0, 1, 1, 1, 1, 1, 0},
                    {0, 0, 0, 0, 0, 1, 0, 0, 1},
                    {0, 0, 0, 0, 0, 1, 0, 1, 1},
                    {0, 0, 0, 0, 0, 0, 1, 1, 1}}));
    EXPECT_EQ(run<Scale3xPass>({{0, 0, 1, 1}, {0, 1, 1, 1}, {1, 1, 1, 1}}),
              (Rows{{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1},
                    {0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1},
                    {0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1},
                    {0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1},
                    {0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1},
                    {0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
                    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
                    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
                    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}}));
}

TEST(Scale3x, OutsideMarkersAreNeverPaletteIndices) {
    EXPECT_EQ(run<Scale3xPass>({{0, 5, 254}, {0, 0, 0}}),
              (Rows{{0, 0, 0, 5, 5, 5, 254, 254, 254},
                    {0, 0, 0, 0, 5, 5, 254, 254, 254},
                    {0, 0, 0, 0, 0, 5, 254, 254, 254},
                    {0, 0, 0, 0, 0, 0, 0, 0, 0},
                    {0, 0, 0, 0, 0, 0, 0, 0, 0},
                    {0, 0, 0, 0, 0, 0, 0, 0, 0}}));
}

TEST(ScalePasses, ThinImagesAreReplicated) {
    for (const Rows& thin : {Rows{{3}, {255}, {3}, {9}}, Rows{{3, 255, 3, 9, 9}}}) {
        auto in = imageFromScreenRows(thin);
        Scale2xPass scale2;
        Scale3xPass scale3;
        EXPECT_EQ(applyChecked(scale2, *in), zoomReference(*in, 2));
        EXPECT_EQ(applyChecked(scale3, *in), zoomReference(*in, 3));
    }
}

void expectBothMatchReference(IndexedImage& in) {
    SCOPED_TRACE(testing::Message() << in.width << "x" << in.height);
    Scale2xPass scale2;
    Scale3xPass scale3;
    EXPECT_EQ(applyChecked(scale2, in), scale2xReference(in));
    EXPECT_EQ(applyChecked(scale3, in), scale3xReference(in));
}

TEST(ScalePasses, MatchReferenceOverManySizesAndColourSets) {
    const std::vector<std::vector<int>> colourSets = {
        {0, 1}, {0, 1, 2}, {3, 7, 8, 9}, {247, 248, 249, 250, 251, 252, 253, 254, 255}, {0, 254, 255}};
    unsigned seed = 1;
    for (int h : {1, 2, 3, 4, 7}) {
        for (int w = 1; w <= 50; ++w) {
            for (const auto& colours : colourSets) {
                auto in = randomImage(w, h, colours, seed++);
                expectBothMatchReference(*in);
            }
        }
    }
    for (int w : {1, 2, 3, 5}) {
        auto in = randomImage(w, 41, {0, 1, 2}, seed++);
        expectBothMatchReference(*in);
    }
}

TEST(ScalePasses, MatchReferenceOnLargePixelArt) {
    // Blocks of equal pixels with edges between them, the case the rules smooth.
    std::mt19937 rng(11);
    auto in = blankImage(133, 61);
    for (int y = 0; y < in->height; ++y) {
        for (int x = 0; x < in->width; ++x) {
            const unsigned block = static_cast<unsigned>((x / 3) * 7919 + (y / 2) * 104729);
            in->row(y)[x] = static_cast<std::uint8_t>(((block * 2654435761u) >> 29) % 4 + 250);
        }
    }
    expectBothMatchReference(*in);
    auto noisy = randomImage(133, 61, {1, 2}, 12);
    expectBothMatchReference(*noisy);
}

TEST(ScalePasses, AllPaletteIndicesMatchReference) {
    std::vector<int> order(256);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(4));
    auto in = blankImage(16, 16);
    for (int n = 0; n < 256; ++n) in->row(n / 16)[n % 16] = static_cast<std::uint8_t>(order[n]);
    expectBothMatchReference(*in);
    // The same indices with every second row repeated, so matches occur.
    for (int y = 1; y < 16; y += 2) std::copy(in->row(y - 1), in->row(y - 1) + 16, in->row(y));
    expectBothMatchReference(*in);
}

TEST(ScalePasses, UniformImagesStayUniform) {
    for (int value : {0, 254, 255}) {
        auto in = randomImage(19, 5, {value}, 1);
        Scale2xPass scale2;
        Scale3xPass scale3;
        EXPECT_EQ(applyChecked(scale2, *in), Pixels(38 * 10, static_cast<std::uint8_t>(value)));
        EXPECT_EQ(applyChecked(scale3, *in), Pixels(57 * 15, static_cast<std::uint8_t>(value)));
    }
}

TEST(ScalePasses, EmptyInputWritesNothing) {
    Scale2xPass scale2;
    Scale3xPass scale3;
    auto empty = blankImage(4, 0);
    scale2.apply(nullptr, *empty);
    scale3.apply(nullptr, *empty);
    EXPECT_FALSE(scale2.output->valid);
    EXPECT_FALSE(scale3.output->valid);
}

}  // namespace
