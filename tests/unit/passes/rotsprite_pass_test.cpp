// The RotSprite pass: exact right angles; the whole algorithm against a plain
// version of it (the 8x picture from three Scale2x passes, all in one piece),
// in one band and in bands of 8 rows; only input indices out; the similarity
// rule; the enlargement held as the 2x picture's cells against the cells; its kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "pass_test_support.h"
#include "passes/pass_kinds.h"
#include "passes/rotsprite/renderer.h"

using namespace passtest;

namespace {

// Entries 1..5: greys 50 apart. 6 (30 more in blue, another fourth byte) and 7 are close
// to 2, at squared distances 900 and 100; 8 is just not (901). The rest, or unpainted all, black.
std::unique_ptr<IndexedImage> painted(std::unique_ptr<IndexedImage> image, bool paint = true) {
    const std::uint8_t close[][4] = {{130, 100, 100, 255}, {100, 100, 110, 0}, {130, 101, 100, 0}};
    std::uint8_t* quads = &image->header[kInfoHeaderBytes];
    for (int i = 1; paint && i < 6; ++i) std::fill_n(quads + 4 * i, 3, 50 * i);
    for (int i = 0; paint && i < 3; ++i) std::copy_n(close[i], 4, quads + 24 + 4 * i);
    return image;
}

// Through the pass as the chain makes it.
Pixels turnedByPass(IndexedImage& in, double degrees, bool wrap) {
    return applyChecked(*makePass(11, settingsFor(degrees, wrap)), in);
}

TEST(RotSprite, RightAnglesMovePixelsExactly) {
    for (auto [w, h] : {std::pair{6, 6}, {7, 7}, {1, 1}, {6, 4}, {5, 3}, {3, 7}, {4, 7}}) {
        auto in = painted(randomImage(w, h, {1, 2, 3, 4, 5}, w * h));  // smoothed when enlarged
        for (int turns = 0; turns <= 4; ++turns) {
            for (bool wrap : {false, true}) {
                const Pixels out = turnedByPass(*in, 90 * turns, wrap);
                for (int k = 0; k < w * h; ++k) {
                    // Doubled offsets from the exact centre, turned a quarter at a time.
                    int dx = 2 * (k % w) + 1 - w, dy = 2 * (k / w) + 1 - h;
                    for (int t = 0; t < turns; ++t) dx = -std::exchange(dy, dx);  // (-dy, dx)
                    // Halved rounding down (sides that differ in parity land centres on
                    // corners: the pixel above right is taken).
                    const int x = (w + dx) >> 1, y = (h + dy) >> 1;
                    const bool kept = x >= 0 && x < w && y >= 0 && y < h;
                    EXPECT_EQ(out[k], kept || wrap ? in->row((y + h) % h)[(x + w) % w] : 0) << k;
                }
            }
        }
    }
}

// Squared RGB distance of two palette entries.
long distanceOf(const IndexedImage& in, int a, int b) {
    long sum = 0;
    for (int c = 0; c < 3; ++c) {
        const long delta = in.palette()[4 * a + c] - in.palette()[4 * b + c];
        sum += delta * delta;
    }
    return sum;
}

// One doubling by Scale2x's rule with "similar" (within the threshold; never
// outside, -1) for "equal". `p` is w x h in memory rows; the result 2w x 2h.
Pixels similarDoubling(const IndexedImage& in, const Pixels& p, int w, int h) {
    const auto at = [&](int x, int y) {
        return x < 0 || y < 0 || x >= w || y >= h ? -1 : p[y * w + x];
    };
    const auto alike = [&](int a, int b) {
        return a >= 0 && b >= 0 && distanceOf(in, a, b) <= rotsprite::kSimilarDistance;
    };
    Pixels out(4 * p.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int b = at(x, y + 1), d = at(x - 1, y), e = at(x, y), f = at(x + 1, y),
                      hh = at(x, y - 1);
            const bool edge = !(b == hh || d == f || alike(b, hh) || alike(d, f));
            const auto corner = [&](int side, int other) {
                return edge && alike(side, other) && !alike(side, e) ? side : e;
            };
            std::uint8_t* upper = &out[(2 * y + 1) * 2 * w + 2 * x];
            std::uint8_t* lower = &out[2 * y * 2 * w + 2 * x];
            upper[0] = std::uint8_t(corner(d, b)), upper[1] = std::uint8_t(corner(f, b));
            lower[0] = std::uint8_t(corner(d, hh)), lower[1] = std::uint8_t(corner(f, hh));
        }
    }
    return out;
}

// RotSprite step by step, with the 8x picture made whole; with `mmpxFirst` its
// first doubling by MMPX with every entry equally bright (as for an outlined
// picture's shape).
Pixels plainRotSprite(const IndexedImage& in, const PassSettings& s, bool search = true,
                      bool mmpxFirst = false) {
    const int w = in.width, h = in.height;
    Pixels big8 = pixelsOf(in);
    if (mmpxFirst)
        big8 = mmpx2xReference(*imageWith(w, h, [&](int x, int y) { return in.row(y)[x]; }));
    for (int k = mmpxFirst ? 1 : 0; k < 3; ++k) big8 = similarDoubling(in, big8, w << k, h << k);
    const bool wrap = s.wrapAround != 0;
    const auto mod = [](long v, long n) { return (v % n + n) % n; };
    auto ok = [&](long x, long y, int z) { return x >= 0 && y >= 0 && x < z * w && y < z * h; };
    auto big = [&](long x, long y) { return big8[mod(y, 8 * h) * 8 * w + mod(x, 8 * w)]; };
    const double cx = w / 2.0, cy = h / 2.0, c = std::cos(s.angleRadians),
                 n = std::sin(s.angleRadians);
    const auto at = [&](int k, int move, int z) {  // the z-times pixel under output pixel k, moved
        const double i = k % w + 0.5 - cx, j = k / w + 0.5 - cy;
        return std::pair{std::lround(std::floor(z * (cx + i * c - j * n) + 0.5 * (move % 3 - 1))),
                         std::lround(std::floor(z * (cy + i * n + j * c) + 0.5 * (move / 3 - 1)))};
    };
    long sum[9] = {}, best = 4;  // boundary costs; move 4 stays put
    for (int k = 0; k < w * h; ++k) {
        const auto [x0, y0] = at(k, 4, 8);  // votes when every move stays inside
        for (int m = 0; m < 9 && ok(x0 - 2, y0 - 2, 8) && ok(x0 + 2, y0 + 2, 8); ++m) {
            const auto [x, y] = at(k, m, 8);
            for (auto [u, v] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}})
                sum[m] += distanceOf(in, big(x, y), big(u, v));
        }
    }
    for (int m = 0; m < 9; ++m) best = sum[m] < sum[best] && sum[m] * 8 <= sum[4] * 7 ? m : best;
    if (!search) best = 4;
    const auto pick = [&](std::pair<long, long> p) {
        return ok(p.first, p.second, 8) || wrap ? big(p.first, p.second) : std::uint8_t{0};
    };
    Pixels out;
    for (int k = 0; k < w * h; ++k) out.push_back(pick(at(k, int(best), 8)));
    // A lone input pixel comes back where the output is flat or a straight edge and lacks it.
    const auto src = [&](long x, long y) { return ok(x, y, 1) ? in.row(int(y))[x] : -1; };
    const auto dst = [&](long i, long j) { return ok(i, j, 1) ? out[j * w + i] : -1; };
    for (int k = 0; k < w * h; ++k) {
        const auto [fx, fy] = at(k, 4, 1);
        const long x = mod(fx, w), y = mod(fy, h), q = src(x, y), p = out[k], i = k % w, j = k / w;
        int alike = 0, twins = 0, nearby = 0;  // alike and twins: among the four neighbours
        for (int d = 0; d < 9; ++d) {
            alike += d % 2 == 1 && dst(i + d % 3 - 1, j + d / 3 - 1) == p;
            twins += d % 2 == 1 && src(x + d % 3 - 1, y + d / 3 - 1) == q;
            nearby += dst(i + d % 3 - 1, j + d / 3 - 1) == q;
        }
        if ((ok(fx, fy, 1) || wrap) && !twins && alike >= 3 && !nearby) out[k] = std::uint8_t(q);
    }
    return out;
}

// Entries 1..12 a ramp of greys 8 apart (squared distance 192 a step), so
// near neighbours are similar and those 3 apart are not: similarity is not
// transitive here.
std::unique_ptr<IndexedImage> ramped(std::unique_ptr<IndexedImage> image) {
    std::uint8_t* quads = &image->header[kInfoHeaderBytes];
    for (int i = 1; i <= 12; ++i) std::fill_n(quads + 4 * i, 3, 8 * i);
    return image;
}

// Blocks of 1 to 4 pixels a side, the shapes pixel art has, in `colours`.
std::unique_ptr<IndexedImage> blocky(int w, int h, const std::vector<int>& colours, unsigned seed) {
    return imageWith(w, h, [&](int x, int y) {
        const unsigned block =
            static_cast<unsigned>((x / (1 + seed % 4)) * 7919 + (y / (1 + seed / 4 % 4)) * 104729) +
            seed;
        return colours[(block * 2654435761u >> 20) % colours.size()];
    });
}

TEST(RotSprite, MatchesThePlainAlgorithmInOneBandOrManyAndWritesOnlyInputIndices) {
    // 8 rows a band; and one band, kept while the input stays the same.
    rotsprite::Renderer banded({rotsprite::kSimilarDistance, true, true, 1}), reused;
    const auto check = [&](IndexedImage& in, double degrees, bool wrap) {
        const Pixels whole = turnedByPass(in, degrees, wrap), source = pixelsOf(in);
        EXPECT_EQ(whole, plainRotSprite(in, settingsFor(degrees, wrap)));
        EXPECT_EQ(turned(banded, in, degrees, wrap), whole);
        EXPECT_EQ(turned(reused, in, degrees, wrap), whole);
        for (int i : whole) EXPECT_TRUE(std::ranges::count(source, i) || (!wrap && i == 0));
    };
    for (auto [w, h] : {std::pair{1, 1}, {1, 6}, {6, 1}, {3, 2}, {15, 6}, {3, 22}, {40, 27}}) {
        for (int degrees : {1, 30, 45, 89, 91, 150, 200, 271, 333, 359}) {
            for (bool wrap : {false, true}) {
                SCOPED_TRACE(testing::Message() << w << "x" << h << " at " << degrees << wrap);
                // Far greys, where the enlargement is Scale2x; then, with the same pixels for
                // both wraps, all entries alike (black) or, wrapped, some alike.
                check(*painted(randomImage(w, h, {1, 2, 3, 4, 5}, degrees * w + h)), degrees, wrap);
                check(*painted(randomImage(w, h, {2, 6, 7, 4, 200}, degrees * w + h), wrap),
                      degrees, wrap);
            }
        }
    }
    // Sprite-sized blocky pictures on a ramp, at whole and typed angles.
    unsigned seed = 0;
    for (auto [w, h] : {std::pair{64, 64}, {97, 61}, {33, 120}}) {
        for (double degrees : {12.5, 30.0, 137.0, 300.25}) {
            for (bool wrap : {false, true}) {
                SCOPED_TRACE(testing::Message() << w << "x" << h << " at " << degrees << wrap);
                check(*ramped(blocky(w, h, {1, 2, 3, 5, 8, 9, 12, 0}, ++seed)), degrees, wrap);
            }
        }
    }
}

TEST(RotSprite, AnOutlinedTurnsShapeAndColoursMatchThePlainVersionHeldAsCellsOr2xPictures) {
    // As an outlined picture's shape (enlarged first by MMPX) and colours are
    // turned: no offset search, no outline drawn; the enlargement held as
    // cells, whole or in bands of 8 rows, or as its 2x picture's cells. One
    // renderer each across every angle, as at angle ticks.
    unsigned seed = 40;
    for (bool mmpx : {false, true}) {
        for (auto [bandBytes, doubled] : {std::pair{rotsprite::kBandBytes, true},
                                          {std::size_t{1}, false},
                                          {std::size_t{1}, true}}) {
            rotsprite::Renderer renderer({.searchOffset = false,
                                          .bandBytes = bandBytes,
                                          .redrawOutlines = false,
                                          .mmpxFirstDoubling = mmpx,
                                          .holdDoubled = doubled});
            for (auto [w, h] : {std::pair{1, 1}, {1, 9}, {9, 1}, {5, 3}, {64, 64}, {97, 61}}) {
                for (double degrees : {12.5, 30.0, 137.0, 300.25}) {
                    for (bool wrap : {false, true}) {
                        SCOPED_TRACE(testing::Message() << w << "x" << h << " at " << degrees
                                                        << wrap << mmpx << bandBytes << doubled);
                        auto in = ramped(blocky(w, h, {1, 2, 3, 5, 8, 9, 12, 0}, ++seed));
                        EXPECT_EQ(turned(renderer, *in, degrees, wrap),
                                  plainRotSprite(*in, settingsFor(degrees, wrap), false, mmpx));
                    }
                }
            }
        }
    }
}

TEST(RotSprite, AHeldEnlargementIsMadeAnewWhenTheInputOrItsPaletteChanges) {
    using Image = std::unique_ptr<IndexedImage>;
    const auto swap = [](std::uint8_t& p) { p = p == 4 ? 2 : 4; };
    const std::vector<InputChange> changes = {
        {"the first row", [](Image& in) { std::fill_n(in->row(0), 40, std::uint8_t{5}); }},
        {"two pixels", [&](Image& in) { swap(in->row(29)[39]), swap(in->row(15)[20]); }},
        // Entry 6, close to 2, moves far away: the same indices enlarge otherwise.
        {"the palette",
         [](Image& in) { std::fill_n(&in->header[kInfoHeaderBytes + 24], 3, std::uint8_t{250}); }},
        {"the size",
         [](Image& in) {
             in = painted(blocky(30, 40, {2, 6, 4, 5}, 5));
         }},
        {"a larger size",
         [](Image& in) {
             in = painted(blocky(80, 70, {2, 6, 4, 5}, 6));
         }},
        {"the smaller again",
         [](Image& in) {
             in = painted(blocky(30, 40, {2, 6, 4, 5}, 7));
         }},
    };
    // Held as cells; as the 2x picture's cells; and as cells up to 40 x 30
    // (38400 bytes), beyond as the 2x picture's, so the last two sizes switch.
    for (const std::size_t doubledAbove : {std::size_t{0}, std::size_t{1}, std::size_t{60000}}) {
        SCOPED_TRACE(doubledAbove);
        rotsprite::Options options;
        if (doubledAbove != 0)
            options = {.searchOffset = false, .bandBytes = doubledAbove, .holdDoubled = true};
        expectHeldStateMadeAnew(options, painted(blocky(40, 30, {2, 6, 4, 5}, 5)), changes);
    }
}

TEST(RotSprite, GivesTheSamePixelsOnOneThreadAndSplitIntoAnyNumberOfRanges) {
    for (auto [w, h] : {std::pair{1, 1}, {1, 40}, {40, 1}, {17, 5}, {64, 63}, {130, 97}}) {
        for (double degrees : {7.0, 30.0, 212.5}) {
            for (bool wrap : {false, true}) {
                SCOPED_TRACE(testing::Message() << w << "x" << h << " at " << degrees << wrap);
                const auto in = ramped(blocky(w, h, {1, 2, 4, 5, 7, 9, 12}, w + h));
                // Held whole, in bands of 8 rows, and as the 2x picture's cells.
                for (auto [bandBytes, doubled] : {std::pair{rotsprite::kBandBytes, false},
                                                  {std::size_t{1}, false},
                                                  {std::size_t{1}, true}}) {
                    const auto render = [&](int ranges) {
                        const SplitWork split(ranges);
                        rotsprite::Renderer renderer({.searchOffset = !doubled,
                                                      .bandBytes = bandBytes,
                                                      .holdDoubled = doubled});
                        return turned(renderer, *in, degrees, wrap);
                    };
                    const Pixels alone = render(1);
                    for (int ranges : {2, 3, 7}) EXPECT_EQ(render(ranges), alone) << ranges;
                }
            }
        }
    }
}

TEST(RotSprite, SimilarNeighboursCountAsEqual) {
    rotsprite::SimilarColours similar;
    similar.prepare(painted(blankImage(1, 1))->palette(), rotsprite::kSimilarDistance);
    // Blocks of columns 1, 4, 7, 10 (the others have alike neighbours above and below).
    // 1: the corner between left 2 and above 6 (close) takes the 2. 4: the centre 7,
    // itself close to the 2, keeps its index. 7: above 6 and below 2 alike keep the
    // block whole. 10: 8 and 2 are not alike.
    const std::uint8_t above[] = {5, 6, 5, 5, 6, 5, 5, 6, 5, 5, 8, 5},
                       here[] = {2, 4, 3, 2, 7, 3, 6, 4, 3, 8, 4, 3},
                       below[] = {5, 3, 5, 5, 3, 5, 5, 2, 5, 5, 2, 5};
    Pixels block(48);  // the upper output row, then the lower
    rotsprite::Enlargement::scaleRow(above, here, below, 12, &block[0], &block[24], similar);
    EXPECT_EQ(block,
              (Pixels{2, 2, 2, 4, 3, 3, 2, 2, 7, 7, 3, 3, 6, 6, 4, 4, 3, 3, 8, 8, 8, 4, 3, 3,
                      2, 2, 4, 3, 3, 3, 2, 2, 7, 3, 3, 3, 6, 6, 4, 4, 3, 3, 8, 8, 4, 4, 3, 3}));
}

TEST(RotSprite, The2xPicturesCellsGiveEvery8xPixelTheCellsGive) {
    // Edges, similar entries (2, 6, 7) and far ones, thin pictures.
    for (auto [w, h] : {std::pair{1, 1}, {1, 5}, {6, 1}, {2, 3}, {7, 5}, {33, 20}}) {
        for (unsigned seed : {1u, 2u, 3u}) {
            SCOPED_TRACE(testing::Message() << w << "x" << h << " seed " << seed);
            auto in = painted(randomImage(w, h, {2, 6, 7, 4, 8, 200}, seed * 31 + w));
            rotsprite::SimilarColours similar;
            similar.prepare(in->palette(), rotsprite::kSimilarDistance);
            rotsprite::Enlargement asCells, as2x;
            asCells.setInput(*in);
            as2x.setInput(*in);
            const rotsprite::CellView cells = asCells.rows(similar, 0, 8 * h).view();
            const rotsprite::DoubledView doubled = as2x.doubled(similar);
            int differing = 0;
            for (int y = 0; y < 8 * h; ++y) {
                for (int x = 0; x < 8 * w; ++x) differing += cells.at(x, y) != doubled.at(x, y);
            }
            EXPECT_EQ(differing, 0);
        }
    }
}

TEST(RotSprite, IsKindElevenReadsTheSettingsAndLeavesAnEmptyImageAlone) {
    EXPECT_EQ(std::wstring(passKindNames[11]), L"RotSprite");
    const auto pass = makePass(11, settingsFor(30, false));
    EXPECT_TRUE(pass->readsSettings());
    pass->apply(nullptr, *blankImage(0, 0));
    EXPECT_FALSE(pass->output->valid);
}

}  // namespace
