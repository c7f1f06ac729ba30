// An evaluation ends by repainting its owner, and only when there is a source.
#include <gtest/gtest.h>

#include <vector>

#include "passes/pass_chain.h"
#include "redraw_count.h"

namespace {

std::unique_ptr<IndexedImage> blankImage() {
    std::vector<std::uint8_t> palette(kPaletteBytes, 0);
    return std::make_unique<IndexedImage>(nullptr, 4, 3, palette.data());
}

TEST(PassChainRedraw, EvaluationRepaintsOnlyWithASource) {
    PassChain chain;
    int before = nativeRedrawCount();
    chain.evaluate(nullptr);
    chain.insertPass(nullptr, 0, 6);
    chain.setRotationAngle(nullptr, 90);
    chain.setWrapAround(nullptr, 1);
    chain.removePass(nullptr, 0);
    EXPECT_EQ(nativeRedrawCount(), before);

    chain.setSource(blankImage());
    before = nativeRedrawCount();
    chain.evaluate(nullptr);
    EXPECT_EQ(nativeRedrawCount(), before + 1);
    chain.insertPass(nullptr, 0, 0);
    chain.setRotationAngle(nullptr, 45);
    chain.setWrapAround(nullptr, 0);
    chain.removePass(nullptr, 0);
    EXPECT_EQ(nativeRedrawCount(), before + 5);
}

}  // namespace
