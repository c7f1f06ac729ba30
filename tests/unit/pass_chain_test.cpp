// The chain: which outputs survive an edit, settings, the displayed image, and
// the rule that skips passes whose input and settings are unchanged.
#include <gtest/gtest.h>

#include "pass_test_support.h"
#include "passes/pass_chain.h"
#include "passes/pass_kinds.h"

using namespace passtest;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

enum Kind { Zoom2x, Zoom3x, Scale2x, Scale3x, Canvas2x, Space2x, Rotate, Unzoom2x, Unzoom4x };

struct Size {
    int w, h;
    bool operator==(const Size&) const = default;
};
Size sizeOf(const IndexedImage* image) {
    return image ? Size{image->width, image->height} : Size{-1, -1};
}
IndexedImage* outputAt(const PassChain& chain, int position) {
    return chain.passAt(position)->output.get();
}

std::unique_ptr<PassChain> chainOn(int w, int h, std::initializer_list<int> kinds) {
    auto chain = std::make_unique<PassChain>();
    chain->setSource(randomImage(w, h, {0, 1, 2, 3}, 1));
    for (int kind : kinds) chain->insertPass(nullptr, chain->size(), kind);
    return chain;
}

TEST(PassChain, WithoutASourceSettingsAreStoredAndNothingIsShown) {
    PassChain chain;
    chain.insertPass(nullptr, 0, Rotate);
    chain.setRotationAngle(nullptr, 90);
    chain.setWrapAround(nullptr, 1);
    EXPECT_EQ(chain.settings().angleRadians, 1.5707963267948966);
    EXPECT_EQ(chain.settings().wrapAround, 1);
    chain.setRotationAngle(nullptr, 26.565);  // a typed angle keeps its fraction
    EXPECT_EQ(chain.settings().angleDegrees, 26.565);
    EXPECT_DOUBLE_EQ(chain.settings().angleRadians, 0.46364671579229366);
    EXPECT_EQ(chain.displayedImage(), nullptr);
    chain.setSource(randomImage(4, 3, {1}, 1));
    chain.evaluate(nullptr);
    ASSERT_NE(outputAt(chain, 0), nullptr);
    chain.dropImages();
    EXPECT_EQ(chain.source(), nullptr);
    EXPECT_EQ(outputAt(chain, 0), nullptr);
    EXPECT_EQ(chain.displayedImage(), nullptr);
    // An empty chain shows its source.
    chain.removePass(nullptr, 0);
    chain.setSource(randomImage(4, 3, {1}, 1));
    chain.evaluate(nullptr);
    EXPECT_EQ(chain.displayedImage(), chain.source());
}

TEST(PassChain, EditsRemakeTheOutputsBehindAndKeepThoseAhead) {
    const auto chain = chainOn(3, 2, {Zoom2x, Scale2x, Zoom3x});
    const IndexedImage* first = outputAt(*chain, 0);
    chain->insertPass(nullptr, 99, Zoom2x);  // beyond the end appends
    chain->removePass(nullptr, 1);
    chain->removePass(nullptr, 5);
    chain->removePass(nullptr, -1);
    EXPECT_EQ(outputAt(*chain, 0), first);
    EXPECT_EQ(sizeOf(chain->displayedImage()), (Size{36, 24}));
    chain->insertPass(nullptr, 0, Canvas2x);
    ASSERT_EQ(chain->size(), 4);
    EXPECT_EQ(chain->passAt(4), nullptr);
    EXPECT_EQ(sizeOf(outputAt(*chain, 1)), (Size{12, 8}));
    EXPECT_EQ(sizeOf(chain->displayedImage()), (Size{72, 48}));
    // A kind outside the table is refused with a log line.
    for (int kind : {kPassKindCount, -1, 1000}) {
        CaptureStdout();
        chain->insertPass(nullptr, 0, kind);
        EXPECT_EQ(GetCapturedStdout(), "ERROR: unimplemented pass!!\n");
    }
    EXPECT_EQ(chain->size(), 4);
}

TEST(PassChain, AnOutputThatCannotBeMadeStopsTheEvaluation) {
    // 32768 columns may be made, 65536 may not.
    const auto chain = chainOn(16384, 1, {Zoom2x, Zoom2x, Zoom3x});
    EXPECT_EQ(sizeOf(outputAt(*chain, 0)), (Size{32768, 2}));
    EXPECT_FALSE(outputAt(*chain, 1)->valid);
    EXPECT_EQ(outputAt(*chain, 2), nullptr);
    EXPECT_EQ(chain->displayedImage(), nullptr);
    chain->removePass(nullptr, 2);
    EXPECT_EQ(chain->displayedImage(), nullptr);
    chain->removePass(nullptr, 1);
    EXPECT_EQ(chain->displayedImage(), outputAt(*chain, 0));
}

TEST(PassChain, SettingsRerunOnlyRotationsAndOnlyWhenTheyChange) {
    const auto chain = chainOn(24, 20, {Scale2x, Scale2x, Scale2x, Unzoom4x});
    // A mark in an output survives only while its pass is skipped.
    const auto mark = [&](int position) {
        outputAt(*chain, position)->row(0)[0] ^= 0xFF;
        return pixelsOf(*outputAt(*chain, position));
    };
    const Pixels upstream = mark(2);
    chain->setRotationAngle(nullptr, 30);
    EXPECT_EQ(pixelsOf(*outputAt(*chain, 2)), upstream);
    const Pixels rotation = mark(3);
    chain->setRotationAngle(nullptr, 30);
    chain->setWrapAround(nullptr, 0);
    EXPECT_EQ(pixelsOf(*outputAt(*chain, 3)), rotation);
    chain->setWrapAround(nullptr, 1);
    EXPECT_EQ(pixelsOf(*chain->displayedImage()),
              rotateReference(*outputAt(*chain, 2), 4, chain->settings().angleRadians, true));
    chain->setRotationAngle(nullptr, 31);
    EXPECT_EQ(pixelsOf(*chain->displayedImage()),
              rotateReference(*outputAt(*chain, 2), 4, chain->settings().angleRadians, true));
}

TEST(PassChain, IncrementalEvaluationEqualsAFullRecompute) {
    const std::vector<int> flow = {Scale2x, Zoom2x, Rotate, Scale3x, Unzoom4x, Canvas2x, Unzoom2x};
    PassChain live;
    live.setSource(randomImage(17, 11, {0, 1, 2, 3}, 7));
    for (int kind : flow) {
        live.insertPass(nullptr, live.size(), kind);
        live.setRotationAngle(nullptr, 40 * live.size());
        live.setWrapAround(nullptr, live.size() % 3 == 0);
    }
    live.removePass(nullptr, 3);
    live.setRotationAngle(nullptr, 123);
    // A new source of the same size keeps the outputs but reruns every pass.
    live.setSource(randomImage(17, 11, {0, 1, 2, 3}, 8));
    live.evaluate(nullptr);

    PassChain fresh;
    fresh.setRotationAngle(nullptr, 123);
    fresh.setWrapAround(nullptr, live.settings().wrapAround);
    fresh.setSource(randomImage(17, 11, {0, 1, 2, 3}, 8));
    for (int kind : {Scale2x, Zoom2x, Rotate, Unzoom4x, Canvas2x, Unzoom2x}) {
        fresh.insertPass(nullptr, fresh.size(), kind);
    }
    ASSERT_NE(live.displayedImage(), nullptr);
    ASSERT_NE(fresh.displayedImage(), nullptr);
    EXPECT_EQ(pixelsOf(*live.displayedImage()), pixelsOf(*fresh.displayedImage()));
}

}  // namespace
