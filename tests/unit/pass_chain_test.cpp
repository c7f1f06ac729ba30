// The chain: order, output sizes, which outputs survive an edit, settings,
// the displayed image, and the rule that skips passes whose input is unchanged.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "passes/pass_chain.h"
#include "passes/pass_kinds.h"
#include "passes/rotate_pass.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

enum Kind {
    Zoom2x,
    Zoom3x,
    Scale2x,
    Scale3x,
    Canvas2x,
    Space2x,
    Rotate,
    Unzoom2x,
    Unzoom4x,
    Unzoom6x,
    Unzoom8x
};

std::unique_ptr<IndexedImage> randomImage(int w, int h, unsigned seed, int colours = 4) {
    std::vector<std::uint8_t> palette(kPaletteBytes, 0);
    auto image = std::make_unique<IndexedImage>(nullptr, w, h, palette.data());
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) image->row(y)[x] = static_cast<std::uint8_t>(rng() % colours);
    }
    return image;
}

std::vector<std::uint8_t> pixelsOf(const IndexedImage& image) {
    std::vector<std::uint8_t> out;
    for (int y = 0; y < image.height; ++y)
        out.insert(out.end(), image.row(y), image.row(y) + image.width);
    return out;
}

struct Size {
    int w, h;
    bool operator==(const Size&) const = default;
};
Size sizeOf(const IndexedImage* image) {
    return image ? Size{image->width, image->height} : Size{-1, -1};
}

std::unique_ptr<PassChain> chainOn(int w, int h, std::initializer_list<int> kinds) {
    auto chain = std::make_unique<PassChain>();
    chain->setSource(randomImage(w, h, 1));
    int position = 0;
    for (int kind : kinds) chain->insertPass(nullptr, position++, kind);
    return chain;
}

TEST(PassChain, EmptyChainDisplaysTheSource) {
    PassChain chain;
    EXPECT_EQ(chain.displayedImage(), nullptr);
    chain.setSource(randomImage(4, 3, 1));
    chain.evaluate(nullptr);
    EXPECT_EQ(chain.displayedImage(), chain.source());
}

TEST(PassChain, OutputSizesFollowTheKinds) {
    const auto chainOwner = chainOn(10, 7, {Zoom2x, Zoom3x});
    auto& chain = *chainOwner;
    EXPECT_EQ(sizeOf(chain.passAt(0)->output.get()), (Size{20, 14}));
    EXPECT_EQ(sizeOf(chain.displayedImage()), (Size{60, 42}));

    EXPECT_EQ(sizeOf(chainOn(10, 8, {Unzoom4x})->displayedImage()), (Size{3, 2}));
    EXPECT_EQ(sizeOf(chainOn(10, 8, {Rotate})->displayedImage()), (Size{10, 8}));
    EXPECT_EQ(sizeOf(chainOn(12, 13, {Unzoom6x})->displayedImage()), (Size{2, 3}));
    EXPECT_EQ(sizeOf(chainOn(13, 8, {Unzoom6x})->displayedImage()), (Size{3, 2}));
    for (int kind : {Scale2x, Canvas2x, Space2x}) {
        EXPECT_EQ(sizeOf(chainOn(5, 3, {kind})->displayedImage()), (Size{10, 6})) << kind;
    }
    EXPECT_EQ(sizeOf(chainOn(5, 3, {Scale3x})->displayedImage()), (Size{15, 9}));
}

TEST(PassChain, InsertingAtTheFrontRemakesEveryOutputBehindIt) {
    const auto chainOwner = chainOn(3, 2, {Zoom2x, Scale2x});
    auto& chain = *chainOwner;
    chain.insertPass(nullptr, 0, Canvas2x);
    ASSERT_EQ(chain.size(), 3);
    EXPECT_EQ(sizeOf(chain.passAt(0)->output.get()), (Size{6, 4}));
    EXPECT_EQ(sizeOf(chain.passAt(1)->output.get()), (Size{12, 8}));
    EXPECT_EQ(sizeOf(chain.passAt(2)->output.get()), (Size{24, 16}));
}

TEST(PassChain, AppendingKeepsEveryExistingOutput) {
    const auto chainOwner = chainOn(3, 2, {Zoom2x, Scale2x});
    auto& chain = *chainOwner;
    const IndexedImage* first = chain.passAt(0)->output.get();
    const IndexedImage* second = chain.passAt(1)->output.get();
    chain.insertPass(nullptr, 2, Zoom3x);
    EXPECT_EQ(chain.passAt(0)->output.get(), first);
    EXPECT_EQ(chain.passAt(1)->output.get(), second);
    EXPECT_EQ(sizeOf(chain.displayedImage()), (Size{36, 24}));
    // Beyond the end also appends.
    chain.insertPass(nullptr, 99, Zoom2x);
    EXPECT_EQ(chain.size(), 4);
    EXPECT_EQ(sizeOf(chain.displayedImage()), (Size{72, 48}));
}

TEST(PassChain, RemovingKeepsUpstreamAndRemakesDownstream) {
    const auto chainOwner = chainOn(2, 3, {Zoom2x, Zoom3x, Scale2x});
    auto& chain = *chainOwner;
    const IndexedImage* zoom = chain.passAt(0)->output.get();
    chain.removePass(nullptr, 1);
    ASSERT_EQ(chain.size(), 2);
    EXPECT_EQ(chain.passAt(0)->output.get(), zoom);
    EXPECT_EQ(sizeOf(chain.displayedImage()), (Size{8, 12}));
    chain.removePass(nullptr, 5);
    chain.removePass(nullptr, -1);
    EXPECT_EQ(chain.size(), 2);
}

TEST(PassChain, UnknownKindsLogAndChangeNothing) {
    const auto chainOwner = chainOn(2, 2, {Zoom2x});
    auto& chain = *chainOwner;
    for (int kind : {12, -1, 1000}) {
        CaptureStdout();
        chain.insertPass(nullptr, 0, kind);
        EXPECT_EQ(GetCapturedStdout(), "ERROR: unimplemented pass!!\n");
        EXPECT_EQ(chain.size(), 1);
    }
}

TEST(PassChain, SettingsWithoutASourceAreStoredAndDrawNothing) {
    PassChain chain;
    chain.insertPass(nullptr, 0, Rotate);
    chain.setRotationAngle(nullptr, 90);
    chain.setWrapAround(nullptr, 1);
    EXPECT_EQ(chain.settings().angleDegrees, 90);
    EXPECT_EQ(chain.settings().angleRadians, 1.5707963267948966);
    EXPECT_EQ(chain.settings().wrapAround, 1);
    EXPECT_EQ(chain.displayedImage(), nullptr);
}

TEST(PassChain, DropImagesKeepsThePasses) {
    const auto chainOwner = chainOn(4, 4, {Zoom2x, Scale3x});
    auto& chain = *chainOwner;
    chain.dropImages();
    EXPECT_EQ(chain.source(), nullptr);
    EXPECT_EQ(chain.displayedImage(), nullptr);
    EXPECT_EQ(chain.size(), 2);
    EXPECT_EQ(chain.passAt(0)->output, nullptr);
    EXPECT_EQ(chain.passAt(1)->output, nullptr);
}

TEST(PassChain, AnOutputThatCannotBeMadeStopsTheEvaluation) {
    // 1x1 through nine Zoom3x is 19683 x 19683: more than a section may hold.
    PassChain chain;
    chain.setSource(randomImage(1, 1, 3));
    for (int i = 0; i < 10; ++i) chain.insertPass(nullptr, i, Zoom3x);
    EXPECT_TRUE(chain.passAt(7)->output->valid);
    EXPECT_FALSE(chain.passAt(8)->output->valid);
    EXPECT_EQ(chain.passAt(9)->output, nullptr);
    EXPECT_EQ(chain.displayedImage(), nullptr);
    chain.removePass(nullptr, 9);
    EXPECT_EQ(chain.displayedImage(), nullptr);
    chain.removePass(nullptr, 8);
    EXPECT_EQ(sizeOf(chain.displayedImage()), (Size{6561, 6561}));
}

TEST(PassChain, AngleChangeRerunsOnlyTheRotation) {
    const auto chainOwner = chainOn(24, 20, {Scale2x, Scale2x, Scale2x, Unzoom8x});
    auto& chain = *chainOwner;
    // A mark in an upstream output survives only if that pass is skipped.
    chain.passAt(2)->output->row(0)[0] ^= 0xFF;
    const auto marked = pixelsOf(*chain.passAt(2)->output);
    chain.setRotationAngle(nullptr, 30);
    EXPECT_EQ(pixelsOf(*chain.passAt(2)->output), marked);
    // The wrap-around flag is a rotation setting too.
    const auto rotated = pixelsOf(*chain.displayedImage());
    chain.setWrapAround(nullptr, 1);
    EXPECT_NE(pixelsOf(*chain.displayedImage()), rotated);
}

TEST(PassChain, IncrementalEvaluationEqualsAFullRecompute) {
    const std::vector<int> flow = {Scale2x, Zoom2x, Rotate, Scale3x, Unzoom4x, Canvas2x, Unzoom2x};
    PassChain live;
    live.setSource(randomImage(17, 11, 7));
    std::mt19937 rng(11);
    for (std::size_t i = 0; i < flow.size(); ++i) {
        live.insertPass(nullptr, static_cast<int>(i), flow[i]);
        live.setRotationAngle(nullptr, static_cast<int>(rng() % 361));
        if (rng() % 3 == 0) live.setWrapAround(nullptr, live.settings().wrapAround ^ 1);
    }
    for (int tick = 0; tick < 20; ++tick)
        live.setRotationAngle(nullptr, static_cast<int>(rng() % 361));
    live.removePass(nullptr, 3);
    live.setRotationAngle(nullptr, 123);

    PassChain fresh;
    fresh.setRotationAngle(nullptr, 123);
    fresh.setWrapAround(nullptr, live.settings().wrapAround);
    fresh.setSource(randomImage(17, 11, 7));
    int position = 0;
    for (std::size_t i = 0; i < flow.size(); ++i) {
        if (i != 3) fresh.insertPass(nullptr, position++, flow[i]);
    }
    ASSERT_NE(live.displayedImage(), nullptr);
    ASSERT_NE(fresh.displayedImage(), nullptr);
    EXPECT_EQ(sizeOf(live.displayedImage()), sizeOf(fresh.displayedImage()));
    EXPECT_EQ(pixelsOf(*live.displayedImage()), pixelsOf(*fresh.displayedImage()));
}

TEST(PassChain, NewSourceRerunsEveryPass) {
    const auto chainOwner = chainOn(6, 6, {Zoom2x, Rotate});
    auto& chain = *chainOwner;
    chain.dropOutputs();
    chain.setSource(randomImage(6, 6, 99));
    chain.evaluate(nullptr);
    const auto expectedOwner = chainOn(6, 6, {Zoom2x, Rotate});
    auto& expected = *expectedOwner;
    expected.setSource(randomImage(6, 6, 99));
    expected.dropOutputs();
    expected.evaluate(nullptr);
    EXPECT_EQ(pixelsOf(*chain.displayedImage()), pixelsOf(*expected.displayedImage()));
}

TEST(PassKinds, NamesAndFactory) {
    EXPECT_EQ(std::wstring(passKindNames[4]), L"Canvas2x");
    EXPECT_EQ(std::wstring(passKindNames[5]), L"Space2x");
    EXPECT_EQ(std::wstring(passKindNames[12]), L"END");
    PassSettings settings;
    const std::pair<int, float> rotations[] = {{6, 1.0f}, {7, 0.5f}, {8, 0.25f}, {10, 0.125f}};
    for (auto [kind, scale] : rotations) {
        auto pass = makePass(kind, settings);
        auto* rotate = dynamic_cast<RotatePass*>(pass.get());
        ASSERT_NE(rotate, nullptr);
        EXPECT_EQ(rotate->scale, scale);
    }
    auto six = makePass(9, settings);
    const float sixth = dynamic_cast<RotatePass&>(*six).scale;
    std::uint32_t bits;
    std::memcpy(&bits, &sixth, 4);
    EXPECT_EQ(bits, 0x3E2AAAABu);
    EXPECT_EQ(makePass(12, settings), nullptr);
}

}  // namespace

TEST(PassChain, TypedAngleKeepsItsFraction) {
    PassChain chain;
    chain.setRotationAngle(nullptr, 26.565);
    EXPECT_EQ(chain.settings().angleDegrees, 26.565);
    EXPECT_DOUBLE_EQ(chain.settings().angleRadians, 0.46364671579229366);
}
