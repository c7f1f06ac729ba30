// An evaluation ends by repainting its owner, and only when there is a source.
#include <gtest/gtest.h>

#include <vector>

#include "passes/pass_chain.h"
#include "redraw_count.h"

namespace {

TEST(PassChainRedraw, EvaluationRepaintsOnlyWithASource) {
    PassChain chain;
    const auto operations = [&] {
        const int before = nativeRedrawCount();
        chain.evaluate(nullptr);
        chain.insertPass(nullptr, 0, 6);
        chain.setRotationAngle(nullptr, 90);
        chain.setWrapAround(nullptr, 1);
        chain.removePass(nullptr, 0);
        return nativeRedrawCount() - before;
    };
    EXPECT_EQ(operations(), 0);
    const std::vector<std::uint8_t> palette(kPaletteBytes, 0);
    chain.setSource(std::make_unique<IndexedImage>(nullptr, 4, 3, palette.data()));
    EXPECT_EQ(operations(), 5);
}

}  // namespace
