// RotSprite on outlined pictures: which index outlines a picture, the picture
// without it, and the turn that draws it again: one piece as in the input, only
// input indices, exact right angles, the same pixels in bands and on threads,
// an outline left open where the input's was, and the held state made anew
// when the input changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <utility>

#include "pass_test_support.h"
#include "passes/rotsprite/outline.h"
#include "passes/rotsprite/renderer.h"

using namespace passtest;

namespace {

constexpr std::uint8_t kInk = 1;

// Entries 1 (the ink) to 6: greys 40 apart, so none is similar to another.
std::unique_ptr<IndexedImage> greys(std::unique_ptr<IndexedImage> image) {
    return withGreys(std::move(image), [](int i) { return i < 7 ? 240 - 40 * i : 0; });
}

// A side x side picture of fill(x, y) (offsets from the centre, y up; 0 is the
// ground), each filled pixel next to the ground made ink, as an artist outlines.
std::unique_ptr<IndexedImage> outlined(int side, const std::function<int(double, double)>& fill) {
    auto filled = imageWith(
        side, side, [&](int x, int y) { return fill(x + 0.5 - side / 2.0, y + 0.5 - side / 2.0); });
    const auto ground = [&](int x, int y) {
        return x < 0 || y < 0 || x >= side || y >= side || filled->row(y)[x] == 0;
    };
    return greys(imageWith(side, side, [&](int x, int y) {
        const bool edge =
            ground(x - 1, y) || ground(x + 1, y) || ground(x, y - 1) || ground(x, y + 1);
        return !ground(x, y) && edge ? kInk : filled->row(y)[x];
    }));
}

// A disc in two colours with a one-pixel highlight (5) just inside its
// outline, a ring, and a blade lying diagonally: between its outlines two
// one-pixel lines (5 and 6) that the outline must not eat where it is drawn
// again.
std::vector<std::unique_ptr<IndexedImage>> outlinedPictures() {
    std::vector<std::unique_ptr<IndexedImage>> pictures;
    pictures.push_back(outlined(30, [](double x, double y) {
        if (std::fabs(x - 7.5) < 0.5 && std::fabs(y - 7.5) < 0.5) return 5;
        return std::hypot(x, y) < 12 ? (x + y < 0 ? 2 : 3) : 0;
    }));
    pictures.push_back(outlined(36, [](double x, double y) {
        const double r = std::hypot(x, y);
        return r > 9 && r < 15 ? 4 : 0;
    }));
    pictures.push_back(outlined(40, [](double x, double y) {
        const double across = y - x, along = x + y;
        if (std::fabs(along) > 30 || across < -1.5 || across > 2.5) return 0;
        return across < 0.5 ? 5 : across < 1.5 ? 6 : 2;
    }));
    return pictures;
}

// Ink pixels with no four-neighbour of ground: an outline drawn thicker than
// one pixel.
int thickInk(const Pixels& pixels, int w, int h) {
    int count = 0;
    for (int y = 1; y + 1 < h; ++y) {
        for (int x = 1; x + 1 < w; ++x) {
            const int k = y * w + x;
            count += pixels[k] == kInk && pixels[k - 1] != 0 && pixels[k + 1] != 0 &&
                     pixels[k - w] != 0 && pixels[k + w] != 0;
        }
    }
    return count;
}

// 8-connected pieces of `index`.
int pieces(const Pixels& pixels, int w, int h, int index) {
    std::vector<bool> seen(pixels.size());
    int count = 0;
    for (int start = 0; start < w * h; ++start) {
        if (pixels[start] != index || seen[start]) continue;
        ++count;
        std::vector<int> stack = {start};
        seen[start] = true;
        while (!stack.empty()) {
            const int k = stack.back();
            stack.pop_back();
            for (int v = std::max(k / w - 1, 0); v <= std::min(k / w + 1, h - 1); ++v) {
                for (int u = std::max(k % w - 1, 0); u <= std::min(k % w + 1, w - 1); ++u) {
                    const int n = v * w + u;
                    if (pixels[n] == index && !seen[n]) seen[n] = true, stack.push_back(n);
                }
            }
        }
    }
    return count;
}

TEST(RotSpriteOutline, IsTheIndexOfThreeInFourBoundaryPixelsThatLiesMostlyOnTheBoundary) {
    EXPECT_EQ(rotsprite::outlineIndex(*imageOf("00000/01110/01210/01110/00000")), 1);
    EXPECT_EQ(rotsprite::outlineIndex(*imageOf("00000/03330/03230/03110/00000")), 3);
    // Boundary pixels of three colours, none three in four.
    EXPECT_EQ(rotsprite::outlineIndex(*imageOf("00000/01320/02310/01110/00000")), -1);
    // A solid shape of one colour: its boundary, but not its outline.
    EXPECT_EQ(rotsprite::outlineIndex(
                  *imageOf("000000000/011111110/011111110/011111110/011111110/011111110/011111110/"
                           "011111110/000000000")),
              -1);
    // No ground, no boundary.
    EXPECT_EQ(rotsprite::outlineIndex(*imageOf("12/21")), -1);
}

TEST(RotSpriteOutline, RemovedTakesTheColourEachOutlinePixelEncloses) {
    const auto in = imageOf("000000/011110/012310/011110/000000");
    auto bare = blankImage(6, 5);
    rotsprite::removeOutline(*in, 1, *bare);
    // Corners touch no fill and stay.
    EXPECT_EQ(pixelsOf(*bare), pixelsOf("000000/012310/022330/012310/000000"));
    // Between two fills as common the first of below, left, right, above wins;
    // a pixel inside keeps the outline's index.
    const auto tie = imageOf("00000/02130/01110/00000");
    auto tieBare = blankImage(5, 4);
    rotsprite::removeOutline(*tie, 1, *tieBare);
    EXPECT_EQ(pixelsOf(*tieBare), pixelsOf("00000/02230/02130/00000"));
}

// Without wrap-around: with it the corners show pieces of the next tiles.
TEST(RotSpriteOutline, TurnedOutlinesStayWholeWithoutCuttingTheLinesInside) {
    rotsprite::Renderer redrawn, before({.redrawOutlines = false});
    const auto pictures = outlinedPictures();
    const std::vector<double> angles = {5.0, 17.5, 30.0, 45.0, 63.435, 100.0, 200.0, 333.0};
    int brokenBefore = 0;
    for (std::size_t p = 0; p < 2; ++p) {  // the disc and the ring: whole at every angle
        const IndexedImage& in = *pictures[p];
        const Pixels source = pixelsOf(in);
        const int w = in.width, h = in.height, own = pieces(source, w, h, kInk);
        for (double degrees : angles) {
            SCOPED_TRACE(testing::Message() << w << " at " << degrees);
            const Pixels out = turned(redrawn, in, degrees, false);
            const Pixels plain = turned(before, in, degrees, false);
            EXPECT_EQ(pieces(out, w, h, kInk), own);
            EXPECT_LE(thickInk(out, w, h), thickInk(source, w, h) + 2);
            EXPECT_GE(std::ranges::count(out, 5), std::ranges::count(plain, 5));  // the highlight
            for (int i : out) EXPECT_TRUE(std::ranges::count(source, i) || i == 0);
            brokenBefore += pieces(plain, w, h, kInk) != own;
        }
    }
    EXPECT_GT(brokenBefore, 0) << "pictures whose outline the plain turn keeps whole test nothing";
    // The blade is too thin for both whole outlines and whole lines at every
    // angle: fewer outline pieces than the plain turn leaves, and its lines
    // inside cut no more.
    const IndexedImage& blade = *pictures[2];
    std::array<int, 7> piecesBefore{}, piecesAfter{};
    for (double degrees : angles) {
        const Pixels out = turned(redrawn, blade, degrees, false);
        const Pixels plain = turned(before, blade, degrees, false);
        EXPECT_LE(pieces(out, 40, 40, kInk), pieces(plain, 40, 40, kInk)) << degrees;
        for (int colour : {int{kInk}, 5, 6}) {
            piecesAfter[colour] += pieces(out, 40, 40, colour);
            piecesBefore[colour] += pieces(plain, 40, 40, colour);
        }
    }
    EXPECT_LT(piecesAfter[kInk], piecesBefore[kInk]);
    EXPECT_LE(piecesAfter[5], piecesBefore[5]);
    EXPECT_LE(piecesAfter[6], piecesBefore[6]);
}

TEST(RotSpriteOutline, RightAnglesStayExactAndHeldFormsAndThreadsGiveTheSamePixels) {
    const auto in = std::move(outlinedPictures()[0]);
    rotsprite::Renderer whole;
    for (int turns = 0; turns <= 4; ++turns) {
        rotsprite::Renderer plain({.redrawOutlines = false});
        EXPECT_EQ(turned(whole, *in, 90 * turns, false), turned(plain, *in, 90 * turns, false));
    }
    // The enlargements held as cells (fresh, or kept from the angle before),
    // or, in too small a budget, as 2x pictures' cells, on one thread or more.
    rotsprite::Renderer compact({.bandBytes = 1});
    for (const auto& picture : outlinedPictures()) {
        for (double degrees : {7.0, 30.0, 45.0, 133.0, 212.5, 301.0}) {
            for (bool wrap : {false, true}) {
                SCOPED_TRACE(testing::Message() << picture->width << " at " << degrees << wrap);
                rotsprite::Renderer fresh;
                const Pixels one = turned(fresh, *picture, degrees, wrap);
                EXPECT_EQ(turned(whole, *picture, degrees, wrap), one);
                EXPECT_EQ(turned(compact, *picture, degrees, wrap), one);
                for (int ranges : {2, 3}) {
                    const SplitWork split(ranges);
                    rotsprite::Renderer threaded(
                        {.bandBytes = ranges == 2 ? 1 : rotsprite::kBandBytes});
                    EXPECT_EQ(turned(threaded, *picture, degrees, wrap), one) << ranges;
                }
            }
        }
    }
}

TEST(RotSpriteOutline, StaysOpenWhereTheInputsWas) {
    // A disc whose outline gives way to a highlight (5) on its upper right.
    auto in = outlined(30, [](double x, double y) { return std::hypot(x, y) < 12 ? 2 : 0; });
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            const double dx = x + 0.5 - 15, dy = y + 0.5 - 15;
            if (in->row(y)[x] == kInk && dx > 3 && dy > 3) in->row(y)[x] = 5;
        }
    }
    const auto highlightOnBoundary = [](const Pixels& out) {
        int count = 0;
        for (int y = 1; y + 1 < 30; ++y) {
            for (int x = 1; x + 1 < 30; ++x) {
                const int k = 30 * y + x;
                const bool edge =
                    out[k - 1] == 0 || out[k + 1] == 0 || out[k - 30] == 0 || out[k + 30] == 0;
                count += edge && out[k] == 5;
            }
        }
        return count;
    };
    rotsprite::Renderer redrawn, before({.redrawOutlines = false});
    for (double degrees : {10.0, 30.0, 80.0}) {
        // About as much of it as the plain turn leaves: the outline is not drawn over it.
        EXPECT_GE(highlightOnBoundary(turned(redrawn, *in, degrees, false)),
                  highlightOnBoundary(turned(before, *in, degrees, false)) - 1)
            << degrees;
    }
}

TEST(RotSpriteOutline, HeldStateIsMadeAnewWhenTheInputOrItsPaletteChanges) {
    using Image = std::unique_ptr<IndexedImage>;
    const std::vector<InputChange> changes = {
        {"a row of pixels", [](Image& in) { std::fill_n(in->row(15) + 10, 10, std::uint8_t{4}); }},
        // Entry 3 close to 2: the colours inside enlarge otherwise.
        {"the palette",
         [](Image& in) { std::fill_n(&in->header[kInfoHeaderBytes + 12], 3, std::uint8_t{165}); }},
        {"the picture", [](Image& in) { in = std::move(outlinedPictures()[1]); }},
        // To a picture without an outline and back: each way holds its own state.
        {"no outline",
         [](Image& in) {
             in = greys(randomImage(36, 36, {2, 3, 4}, 1));
         }},
        {"outlined again", [](Image& in) { in = std::move(outlinedPictures()[1]); }},
    };
    // The enlargements held as cells, and as 2x pictures' cells.
    for (std::size_t bandBytes : {rotsprite::kBandBytes, std::size_t{1}}) {
        SCOPED_TRACE(bandBytes);
        expectHeldStateMadeAnew({.bandBytes = bandBytes}, std::move(outlinedPictures()[0]),
                                changes);
    }
}

}  // namespace
