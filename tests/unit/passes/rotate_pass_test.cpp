// The rotation pass: its scale field, the worked examples, and the pass
// against the per-pixel formula for many angles, both wrap settings and every
// factor. Angles are set through the chain so radians come out as the app's.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "pass_test_support.h"
#include "passes/kernels/rotate_rows.h"
#include "passes/pass_chain.h"
#include "passes/rotate_pass.h"

using namespace passtest;

namespace {

// Pixel values that tell sources apart: column + 10 * (row % 25), plus 1 so
// no source pixel is index 0.
std::unique_ptr<IndexedImage> labelledImage(int width, int height) {
    auto image = blankImage(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image->row(y)[x] = static_cast<std::uint8_t>(x % 10 + 10 * (y % 25) + 1);
    }
    return image;
}

int label(int column, int row) {
    return column % 10 + 10 * (row % 25) + 1;
}

struct Rotation {
    PassChain chain;  // holds the shared settings; never evaluated here
    Rotation(int degrees, bool wrap) {
        chain.setRotationAngle(nullptr, degrees);
        chain.setWrapAround(nullptr, wrap ? 1 : 0);
    }
    double radians() const { return chain.settings().angleRadians; }
};

// Output pixel (column, memory row).
int at(const IndexedImage& image, int column, int row) {
    return image.row(row)[column];
}

TEST(RotatePass, ScaleIsTheFloatReciprocalOfTheFactor) {
    const PassSettings settings;
    const struct {
        int factor;
        std::uint32_t bits;
        double k;
    } cases[] = {{1, 0x3F800000u, 1.0}, {2, 0x3F000000u, 2.0},
                 {4, 0x3E800000u, 4.0}, {6, 0x3E2AAAABu, 5.999999821186071},
                 {8, 0x3E000000u, 8.0}, {3, 0x3F800000u, 1.0}};
    for (const auto& c : cases) {
        RotatePass pass(c.factor, settings);
        EXPECT_EQ(pass.factor, c.factor);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(pass.scale), c.bits) << c.factor;
        EXPECT_EQ(1.0 / static_cast<double>(pass.scale), c.k) << c.factor;
    }
}

TEST(RotatePass, ZeroAndFullTurnReproduceTheInput) {
    for (int degrees : {0, 360}) {
        for (bool wrap : {false, true}) {
            Rotation rotation(degrees, wrap);
            for (auto [w, h] : {std::pair{7, 5}, std::pair{8, 6}, std::pair{1, 1}}) {
                RotatePass pass(1, rotation.chain.settings());
                auto in = labelledImage(w, h);
                EXPECT_EQ(applyChecked(pass, *in), pixelsOf(*in))
                    << degrees << " " << w << "x" << h;
            }
        }
    }
}

TEST(RotatePass, HalfTurnOfEvenSizeLosesColumnAndRowZero) {
    for (bool wrap : {false, true}) {
        Rotation rotation(180, wrap);
        RotatePass pass(1, rotation.chain.settings());
        auto in = labelledImage(8, 6);
        applyChecked(pass, *in);
        for (int j = 0; j < 6; ++j) {
            for (int i = 0; i < 8; ++i) {
                const int sx = i == 0 ? 0 : 8 - i, sy = j == 0 ? 0 : 6 - j;
                const int expected = (i == 0 || j == 0) && !wrap ? 0 : label(sx, sy);
                EXPECT_EQ(at(*pass.output, i, j), expected) << i << "," << j << " wrap " << wrap;
            }
        }
    }
}

TEST(RotatePass, HalfTurnOfOddSizeIsThePointMirror) {
    Rotation rotation(180, false);
    RotatePass pass(1, rotation.chain.settings());
    auto in = labelledImage(7, 5);
    applyChecked(pass, *in);
    for (int j = 0; j < 5; ++j) {
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(at(*pass.output, i, j), label(6 - i, 4 - j)) << i << "," << j;
    }
}

TEST(RotatePass, QuarterTurnMovesTheRightNeighbourBelowTheCentre) {
    Rotation rotation(90, false);
    RotatePass pass(1, rotation.chain.settings());
    auto in = labelledImage(5, 5);
    applyChecked(pass, *in);
    // Memory row 1 is just below the centre (2, 2) on screen.
    EXPECT_EQ(at(*pass.output, 2, 1), label(3, 2));
}

TEST(RotatePass, Unzoom2xSamplesEverySecondPixel) {
    Rotation rotation(0, false);
    RotatePass pass(2, rotation.chain.settings());
    auto in = labelledImage(5, 5);
    applyChecked(pass, *in);
    ASSERT_EQ(pass.output->width, 3);
    ASSERT_EQ(pass.output->height, 3);
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) EXPECT_EQ(at(*pass.output, i, j), label(2 * i, 2 * j));
    }
}

TEST(RotatePass, Unzoom8xReachesOutsideAndWraps) {
    auto in = labelledImage(10, 10);
    Rotation plain(0, false);
    RotatePass clipped(8, plain.chain.settings());
    applyChecked(clipped, *in);
    EXPECT_EQ(screenRows(*clipped.output), (Rows{{0, label(5, 5)}, {0, 0}}));

    Rotation wrapping(0, true);
    RotatePass wrapped(8, wrapping.chain.settings());
    applyChecked(wrapped, *in);
    EXPECT_EQ(at(*wrapped.output, 0, 0), label(7, 7));
    EXPECT_EQ(at(*wrapped.output, 1, 0), label(5, 7));
    EXPECT_EQ(at(*wrapped.output, 0, 1), label(7, 5));
    EXPECT_EQ(at(*wrapped.output, 1, 1), label(5, 5));
}

TEST(RotatePass, WrapsCoordinatesFarOutside) {
    // At 90 degrees on a 10 x 100 image, output row j samples source column
    // 55 - j: row 80 reads column -25 (wraps to 5), row 32 reads 23 (to 3).
    Rotation rotation(90, true);
    RotatePass pass(1, rotation.chain.settings());
    auto in = labelledImage(10, 100);
    applyChecked(pass, *in);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(at(*pass.output, i, 80), label(5, i + 45)) << i;
        EXPECT_EQ(at(*pass.output, i, 32), label(3, i + 45)) << i;
    }
}

TEST(RotatePass, Unzoom6xUsesTheIntegerFactorForTheSize) {
    Rotation rotation(0, false);
    RotatePass pass(6, rotation.chain.settings());
    auto in = labelledImage(13, 1);
    applyChecked(pass, *in);
    ASSERT_EQ(pass.output->width, 3);
    EXPECT_EQ(screenRows(*pass.output), (Rows{{label(0, 0), label(6, 0), label(12, 0)}}));
}

TEST(RotatePass, AngleChangeRewritesTheSameOutput) {
    PassChain chain;
    RotatePass pass(2, chain.settings());
    auto in = labelledImage(9, 7);
    pass.apply(nullptr, *in);
    const IndexedImage* first = pass.output.get();
    chain.setRotationAngle(nullptr, 37);
    pass.apply(nullptr, *in);
    EXPECT_EQ(pass.output.get(), first);
    EXPECT_EQ(pixelsOf(*pass.output),
              rotateReference(*in, 2, chain.settings().angleRadians, false));
}

TEST(RotatePass, MatchesThePerPixelFormula) {
    std::vector<int> angles = {45, 90, 135, 180, 225, 270, 315, 359, 360};
    for (int a = 0; a < 360; a += 7) angles.push_back(a);
    const std::pair<int, int> sizes[] = {{1, 1},   {1, 7},  {7, 1},   {2, 2},
                                         {10, 10}, {13, 9}, {16, 16}, {31, 17}};
    for (int degrees : angles) {
        for (bool wrap : {false, true}) {
            Rotation rotation(degrees, wrap);
            for (int factor : {1, 2, 4, 6, 8}) {
                for (auto [w, h] : sizes) {
                    SCOPED_TRACE(testing::Message()
                                 << degrees << " deg, wrap " << wrap << ", factor " << factor
                                 << ", " << w << "x" << h);
                    RotatePass pass(factor, rotation.chain.settings());
                    auto in = labelledImage(w, h);
                    EXPECT_EQ(applyChecked(pass, *in),
                              rotateReference(*in, factor, rotation.radians(), wrap));
                }
            }
        }
    }
}

TEST(RotatePass, MatchesThePerPixelFormulaOnWideAndTallImages) {
    // Random pixels, so a source off by any amount shows; wide enough for
    // whole vectors, with spans that start and end anywhere in one.
    std::vector<int> colours;
    for (int c = 1; c < 256; ++c) colours.push_back(c);
    std::vector<int> angles = {1,   44,  45,  46,  89,  91,  134, 136,
                               179, 181, 224, 226, 269, 271, 314, 316};
    const std::pair<int, int> sizes[] = {{64, 48}, {257, 130}, {1000, 5}, {6, 700}, {99, 101}};
    unsigned seed = 1;
    for (int degrees : angles) {
        for (bool wrap : {false, true}) {
            Rotation rotation(degrees, wrap);
            for (int factor : {1, 2, 6, 8}) {
                for (auto [w, h] : sizes) {
                    SCOPED_TRACE(testing::Message()
                                 << degrees << " deg, wrap " << wrap << ", factor " << factor
                                 << ", " << w << "x" << h);
                    RotatePass pass(factor, rotation.chain.settings());
                    auto in = randomImage(w, h, colours, seed++);
                    EXPECT_EQ(applyChecked(pass, *in),
                              rotateReference(*in, factor, rotation.radians(), wrap));
                }
            }
        }
    }
}

TEST(RotateRows, NearestRoundsHalvesAwayFromZero) {
    const double justBelowHalf = std::nextafter(0.5, 0.0);
    const double cases[] = {0.0,
                            justBelowHalf,
                            0.5,
                            std::nextafter(0.5, 1.0),
                            1.0,
                            1.5,
                            2.5,
                            std::nextafter(1.5, 0.0),
                            std::nextafter(2.5, 0.0),
                            1e9 + 0.5,
                            2147483647.5,
                            4503599627370495.5,
                            4503599627370495.0};
    for (double value : cases) {
        EXPECT_EQ(kernels::nearest(value), halfAwayFromZero(value)) << value;
        EXPECT_EQ(kernels::nearest(-value), halfAwayFromZero(-value)) << -value;
    }
    // Random magnitudes below 2^52, and halves of random integers.
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> exponent(-60.0, 52.0);
    for (int n = 0; n < 200000; ++n) {
        const double magnitude = std::nextafter(std::exp2(exponent(rng)), 0.0);
        const double value = n % 2 ? magnitude : -magnitude;
        ASSERT_EQ(kernels::nearest(value), halfAwayFromZero(value)) << value;
        const double half = static_cast<double>(rng() >> 13) + 0.5;
        ASSERT_EQ(kernels::nearest(half), halfAwayFromZero(half)) << half;
    }
}

// Columns [first, last) where `inside` holds, checking that they are one span.
template <typename Inside>
kernels::ColumnSpan columnsWhere(int count, Inside inside) {
    int first = count, last = 0, seen = 0;
    for (int i = 0; i < count; ++i) {
        if (!inside(i)) continue;
        first = std::min(first, i);
        last = i + 1;
        ++seen;
    }
    EXPECT_EQ(seen, std::max(last - first, 0)) << "not one span";
    return seen == 0 ? kernels::ColumnSpan{0, 0} : kernels::ColumnSpan{first, last};
}

TEST(RotateRows, InsideSpanIsTheSameWhateverTheGuess) {
    // A 40 x 30 input seen through a 57-column row at many angles and row
    // offsets; each axis's span against a column-by-column test, from guesses
    // on, near, far from and outside the answer.
    const kernels::RotationSource source{nullptr, 40, 30, 40};
    const int count = 57;
    std::vector<double> columnCos(count), columnSin(count);
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> anyGuess(-100, 160), nearby(-9, 9);
    for (int degrees = 0; degrees < 360; degrees += 3) {
        const double radians = degrees * 3.14159265358979323846 / 180.0;
        for (int i = 0; i < count; ++i) {
            columnCos[i] = (i - count / 2) * std::cos(radians);
            columnSin[i] = (i - count / 2) * std::sin(radians);
        }
        for (int dy = -45; dy <= 45; dy += 5) {
            SCOPED_TRACE(testing::Message() << degrees << " deg, dy " << dy);
            const kernels::RotationRow row{columnCos.data(),
                                           columnSin.data(),
                                           dy * std::sin(radians),
                                           dy * std::cos(radians),
                                           1.5,
                                           count};
            const auto x = [&](int i) {
                return 20 + halfAwayFromZero(1.5 * (columnCos[i] - row.rowSin));
            };
            const auto y = [&](int i) {
                return 15 + halfAwayFromZero(1.5 * (columnSin[i] + row.rowCos));
            };
            const kernels::ColumnSpan xs =
                columnsWhere(count, [&](int i) { return x(i) >= 0 && x(i) < 40; });
            const kernels::ColumnSpan ys =
                columnsWhere(count, [&](int i) { return y(i) >= 0 && y(i) < 30; });
            const kernels::ColumnSpan both = columnsWhere(
                count, [&](int i) { return x(i) >= 0 && x(i) < 40 && y(i) >= 0 && y(i) < 30; });
            for (int attempt = 0; attempt < 24; ++attempt) {
                kernels::SpanGuess guess;
                if (attempt < 16) {
                    guess = {{xs.first + nearby(rng), xs.last + nearby(rng)},
                             {ys.first + nearby(rng), ys.last + nearby(rng)}};
                } else {
                    guess = {{anyGuess(rng), anyGuess(rng)}, {anyGuess(rng), anyGuess(rng)}};
                }
                const kernels::ColumnSpan span = kernels::insideSpan(row, source, guess);
                EXPECT_EQ(span.first, both.first);
                EXPECT_EQ(span.last, both.last);
                // Where the axis never comes inside, any empty span will do.
                if (xs.first < xs.last) {
                    EXPECT_EQ(guess.xs.first, xs.first);
                    EXPECT_EQ(guess.xs.last, xs.last);
                }
                if (ys.first < ys.last) {
                    EXPECT_EQ(guess.ys.first, ys.first);
                    EXPECT_EQ(guess.ys.last, ys.last);
                }
            }
        }
    }
}

TEST(RotateRows, VectorLookupRoundsExactHalvesAndReadsTheLastBytes) {
    // 12 x 3 input: centre (6, 1), no row padding, so the last three pixels
    // sit in the final three bytes of the input. Column i reads
    // x = 6 + nearest(u[i]), y = 1 + nearest(v[i]); not a rotation, so these
    // columns need not be monotonic.
    std::vector<int> colours;
    for (int c = 1; c < 256; ++c) colours.push_back(c);
    auto in = randomImage(12, 3, colours, 3);
    const kernels::RotationSource source{in->pixels, 12, 3, in->stride()};
    ASSERT_EQ(source.stride, 12);
    const double below = std::nextafter(0.5, 0.0);
    const double belowOneHalf = std::nextafter(1.5, 0.0), belowFiveHalf = std::nextafter(5.5, 0.0);
    const std::vector<double> u = {0.5,           3.0,  4.0,  5.0, -0.5, 1.5,   -1.5,
                                   2.5,           -2.5, 4.5,  3.5, -3.5, below, -below,
                                   belowFiveHalf, -4.5, -5.5, 4.0, 0.0,  5.0};
    const std::vector<double> v = {0.5, 1.0,  1.0,  1.0,   -0.5,   0.5,          -0.5,
                                   0.5, -0.5, 1.0,  below, -below, belowOneHalf, -belowOneHalf,
                                   1.0, 0.5,  -0.5, 1.0,   0.5,    1.0};
    const kernels::RotationRow row{u.data(), v.data(), 0.0, 0.0, 1.0, static_cast<int>(u.size())};
    std::vector<std::uint8_t> vector(u.size()), scalar(u.size());
    kernels::copyInside(row, source, {0, row.count}, vector.data());
    kernels::copyInsideScalar(row, source, {0, row.count}, scalar.data());
    for (int i = 0; i < row.count; ++i) {
        const auto x = 6 + halfAwayFromZero(u[i]), y = 1 + halfAwayFromZero(v[i]);
        ASSERT_TRUE(x >= 0 && x < 12 && y >= 0 && y < 3) << i;
        EXPECT_EQ(vector[i], in->row(static_cast<int>(y))[x]) << i;
        EXPECT_EQ(scalar[i], in->row(static_cast<int>(y))[x]) << i;
    }
}

TEST(RotatePass, EmptyInputWritesNothing) {
    const PassSettings settings;
    RotatePass pass(4, settings);
    auto empty = blankImage(0, 0);
    pass.apply(nullptr, *empty);
    EXPECT_FALSE(pass.output->valid);
}

}  // namespace
