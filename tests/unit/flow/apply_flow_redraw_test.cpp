// A flow applied to a chain evaluates once: one repaint, none without a source.
#include <gtest/gtest.h>

#include "flow/flow_text.h"
#include "redraw_count.h"

namespace {

TEST(FlowText, AnAppliedFlowRepaintsOnceWithASourceAndNeverWithout) {
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
