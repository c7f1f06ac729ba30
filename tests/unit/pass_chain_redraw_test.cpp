// An evaluation ends by repainting its owner, and only when there is a source;
// a flow applied to a chain evaluates once.
#include <gtest/gtest.h>

#include <vector>

#include "flow/flow_text.h"
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

TEST(PassChainRedraw, AnAppliedFlowRepaintsOnceWithASourceAndNeverWithout) {
    PassChain chain;
    chain.insertPass(nullptr, 0, 0);
    const Flow flow{{2, 2, 6}, 45.0, true};
    int before = nativeRedrawCount();
    applyFlow(chain, nullptr, flow);
    EXPECT_EQ(nativeRedrawCount(), before);
    const std::vector<std::uint8_t> palette(kPaletteBytes, 0);
    chain.setSource(std::make_unique<IndexedImage>(nullptr, 4, 3, palette.data()));
    before = nativeRedrawCount();
    applyFlow(chain, nullptr, flow);
    EXPECT_EQ(nativeRedrawCount(), before + 1);
    EXPECT_EQ(chain.displayedImage()->width, 16);
}

}  // namespace
