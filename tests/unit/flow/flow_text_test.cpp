// The flow text: pass lists and angles, whole flow files and the line each
// refusal names, angles written to read back to the bit, and a flow applied
// to a chain. (The flow-file fuzz target holds every text read to a round trip.)
#include <gtest/gtest.h>

#include <cmath>

#include "flow/flow_text.h"
#include "pass_test_support.h"
#include "passes/pass_kinds.h"

namespace {

TEST(FlowText, PassListsTakeEveryKindByNameInAnyCase) {
    std::vector<int> kinds{-7};
    std::string message;
    EXPECT_TRUE(parsePassList("Scale2x, scale2x ,SCALE2X,\tRotateUnzoom8x", kinds, message));
    EXPECT_EQ(kinds, (std::vector<int>{2, 2, 2, 10}));
    for (int kind = 0; kind < kPassKindCount; ++kind) {
        EXPECT_TRUE(parsePassList(passKindNamesNarrow[kind], kinds, message));
        EXPECT_EQ(kinds, std::vector<int>{kind});
    }
    EXPECT_TRUE(parsePassList(" ", kinds, message));
    EXPECT_TRUE(kinds.empty());
    // The list's closing entry is no kind; nor are prefixes or glued names.
    for (const char* bad : {"END", "Scale2", "Scale2x Scale2x", "Scale2x,,Zoom2x", "Scale2x,"}) {
        kinds = {-7};
        EXPECT_FALSE(parsePassList(bad, kinds, message)) << bad;
        EXPECT_EQ(kinds, std::vector<int>{-7}) << bad;
    }
    EXPECT_FALSE(parsePassList("Zoom2x, Scale4x", kinds, message));
    EXPECT_EQ(message.rfind("unknown pass \"Scale4x\"; the pass kinds are Zoom2x, Zoom3x, ", 0),
              0u);
    EXPECT_NE(message.find(passKindNamesNarrow[kPassKindCount - 1]), std::string::npos);
    // A hostile name is cut and made printable; a flow holds at most 64 passes.
    EXPECT_FALSE(parsePassList(std::string(5000, 'x') + "\x01\xff", kinds, message));
    EXPECT_LT(message.size(), 400u);
    std::string many = "Rotate";
    for (int i = 1; i < 64; ++i) many += ",Rotate";
    EXPECT_TRUE(parsePassList(many, kinds, message));
    EXPECT_FALSE(parsePassList(many + ",Rotate", kinds, message));
}

TEST(FlowText, AnglesFrom0To360InPlainDecimalsReadBackExactly) {
    double degrees = -1;
    for (const char* bad : {"", "-1", "+5", "360.0001", "1e2", "inf", "0x10", "26,5", "5.", ".5"}) {
        EXPECT_FALSE(parseAngle(bad, degrees)) << bad;
    }
    EXPECT_EQ(degrees, -1);
    EXPECT_TRUE(parseAngle(" 26.565 ", degrees));
    EXPECT_EQ(degrees, 26.565);
    EXPECT_EQ(formatAngleText(45.0), "45");
    EXPECT_EQ(formatAngleText(0.0001), "0.0001");  // not "1e-04"
    for (const double angle : {360.0, 1.0 / 3.0, 5e-324, std::nextafter(30.0, 0.0)}) {
        EXPECT_TRUE(parseAngle(formatAngleText(angle), degrees));
        EXPECT_EQ(degrees, angle);
    }
}

TEST(FlowText, FlowFilesReadWhatTheySayOrNameTheBadLine) {
    Flow flow;
    FlowProblem problem;
    ASSERT_TRUE(
        readFlowText("\xEF\xBB\xBF# a knight\r\n\r\n  PASSES = Scale2x, RotSprite  # two\r\n"
                     "angle=26.565\r\n\t wrap = ON\r\r\n",
                     flow, problem));
    EXPECT_EQ(flow.kinds, (std::vector<int>{2, 11}));
    EXPECT_EQ(flow.angle, 26.565);
    EXPECT_TRUE(flow.wrap);
    const std::pair<std::string, int> faults[] = {
        {"passes = Scale2x\nangle = 30\nspeed = 2\n", 3},
        {"# fine\nScale2x, Scale2x\n", 2},
        {"\n\nangle = -30\n", 3},
        {"wrap = yes\n", 1},
        {"wrap = on\nwrap = off\n", 2},
        {"\xEF\xBB\xBF\xEF\xBB\xBFpasses = Zoom2x\n", 1},
        {"angle = 3\n# " + std::string(kMaxFlowLineBytes, 'x') + "\n", 2},
        {std::string(kMaxFlowTextBytes / 2 + 1, '\n') + std::string(kMaxFlowTextBytes / 2, '#'), 0},
    };
    for (const auto& [text, line] : faults) {
        EXPECT_FALSE(readFlowText(text, flow, problem)) << text.substr(0, 40);
        EXPECT_EQ(problem.line, line) << text.substr(0, 40);
        EXPECT_FALSE(problem.message.empty());
    }
    EXPECT_EQ(flow.kinds, (std::vector<int>{2, 11}));  // untouched by the refusals
    EXPECT_TRUE(
        readFlowText("#" + std::string(kMaxFlowLineBytes - 1, 'x') + "\r\n", flow, problem));
    EXPECT_TRUE(flow.kinds.empty() && flow.angle == 0 && !flow.wrap);
}

TEST(FlowText, AppliedFlowsReplaceTheChainsPassesAndSettings) {
    PassChain chain;
    chain.insertPass(nullptr, 0, 1);
    chain.setSource(passtest::randomImage(9, 7, {1, 2, 3, 4}, 3));
    chain.evaluate(nullptr);
    applyFlow(chain, nullptr, Flow{{2, 7}, 33.25, true});
    PassChain fresh;
    fresh.setSource(passtest::randomImage(9, 7, {1, 2, 3, 4}, 3));
    fresh.setWrapAround(nullptr, 1);
    fresh.setRotationAngle(nullptr, 33.25);
    fresh.insertPass(nullptr, 0, 2);
    fresh.insertPass(nullptr, 1, 7);
    ASSERT_EQ(chain.size(), 2);
    EXPECT_EQ(passtest::pixelsOf(*chain.displayedImage()),
              passtest::pixelsOf(*fresh.displayedImage()));
    applyFlow(chain, nullptr, Flow{});
    EXPECT_EQ(chain.size(), 0);
    EXPECT_EQ(chain.displayedImage(), chain.source());
    EXPECT_EQ(chain.settings().angleDegrees, 0.0);
}

}  // namespace
