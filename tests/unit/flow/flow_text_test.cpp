// The flow text: pass lists, angles, whole flow files with their refusals,
// the written form read back exactly, and a flow applied to a chain.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "flow/flow_text.h"
#include "pass_test_support.h"
#include "passes/pass_kinds.h"

using passtest::pixelsOf;
using passtest::randomImage;

namespace {

enum Kind { Zoom2x, Zoom3x, Scale2x, Scale3x, Canvas2x, Space2x, Rotate, Unzoom2x };
constexpr int kUnzoom8x = 10;

std::vector<int> kindsOf(std::string_view text) {
    std::vector<int> kinds{-7};
    std::string message;
    EXPECT_TRUE(parsePassList(text, kinds, message)) << text << ": " << message;
    return kinds;
}

// The message of a refused list; the kinds given in must stay as they were.
std::string refusal(std::string_view text) {
    std::vector<int> kinds{-7};
    std::string message;
    EXPECT_FALSE(parsePassList(text, kinds, message)) << text;
    EXPECT_EQ(kinds, std::vector<int>{-7}) << text;
    return message;
}

TEST(PassList, NamesInAnyCaseWithSpacesGiveTheirKinds) {
    EXPECT_EQ(kindsOf("Scale2x, scale2x ,SCALE2X,\tRotateUnzoom8x"),
              (std::vector<int>{Scale2x, Scale2x, Scale2x, kUnzoom8x}));
    EXPECT_EQ(kindsOf("  "), std::vector<int>{});
    EXPECT_EQ(kindsOf(""), std::vector<int>{});
    // Every kind by its own name, appended kinds included.
    for (int kind = 0; kind < kPassKindCount; ++kind) {
        EXPECT_EQ(kindsOf(passKindNamesNarrow[kind]), std::vector<int>{kind});
    }
}

TEST(PassList, UnknownOrMissingNamesAreRefusedWithTheValidOnes) {
    const std::string unknown = refusal("Scale2x, Scale4x");
    EXPECT_NE(unknown.find("\"Scale4x\""), std::string::npos) << unknown;
    for (int kind = 0; kind < kPassKindCount; ++kind) {
        EXPECT_NE(unknown.find(passKindNamesNarrow[kind]), std::string::npos) << unknown;
    }
    // The list's closing entry is no kind; prefixes and glued names are not names.
    refusal("END");
    refusal("Scale2");
    refusal("Scale2x Scale2x");
    EXPECT_EQ(refusal("Scale2x,,Zoom2x"), "a pass name is missing between commas");
    refusal("Scale2x,");
    refusal(",Scale2x");
    // A hostile name is cut and made printable in the message.
    const std::string hostile = refusal(std::string(5000, 'x') + "\x01\xff");
    EXPECT_LT(hostile.size(), 400u);
    const std::string control = refusal("a\x01\xff");
    EXPECT_NE(control.find("\"a??\""), std::string::npos) << control;
}

TEST(PassList, AtMostTheLargestFlow) {
    std::string list = "Rotate";
    for (std::size_t i = 1; i < kMaxFlowPasses; ++i) list += ",Rotate";
    EXPECT_EQ(kindsOf(list).size(), kMaxFlowPasses);
    EXPECT_NE(refusal(list + ",Rotate").find("at most 64 passes"), std::string::npos);
}

TEST(AngleText, DecimalsFrom0To360AndNothingElse) {
    const std::pair<const char*, double> good[] = {
        {"0", 0.0},     {"360", 360.0},     {"26.565", 26.565}, {" 45 ", 45.0},
        {"\t7.5", 7.5}, {"360.000", 360.0}, {"0.1", 0.1},       {"007", 7.0}};
    for (const auto& [text, expected] : good) {
        double degrees = -1;
        EXPECT_TRUE(parseAngle(text, degrees)) << text;
        EXPECT_EQ(degrees, expected) << text;
    }
    for (const char* text : {"", " ", "-1", "+5", "360.0001", "361", "1e2", "inf", "nan", "0x10",
                             "26,5", "5.", ".5", "4 5", "45deg", "1.2.3"}) {
        double degrees = -1;
        EXPECT_FALSE(parseAngle(text, degrees)) << text;
        EXPECT_EQ(degrees, -1) << text;
    }
}

TEST(AngleText, WrittenAnglesReadBackToTheLastBit) {
    const double angles[] = {0.0,
                             45.0,
                             26.565,
                             0.1,
                             1e-7,
                             5e-324,
                             359.99999999999994,
                             360.0,
                             std::nextafter(30.0, 0.0),
                             1.0 / 3.0};
    for (const double angle : angles) {
        const std::string text = formatAngleText(angle);
        double back = -1;
        EXPECT_TRUE(parseAngle(text, back)) << text;
        EXPECT_EQ(back, angle) << text;
    }
    EXPECT_EQ(formatAngleText(45.0), "45");
    EXPECT_EQ(formatAngleText(26.565), "26.565");
    EXPECT_EQ(formatAngleText(0.0001), "0.0001");
}

Flow readOk(std::string_view text) {
    Flow flow;
    FlowProblem problem;
    EXPECT_TRUE(readFlowText(text, flow, problem)) << problem.line << ": " << problem.message;
    return flow;
}

// The problem of a refused text; the flow given in must stay as it was.
FlowProblem readRefused(std::string_view text) {
    Flow flow{{Zoom3x}, 12.5, true};
    FlowProblem problem;
    EXPECT_FALSE(readFlowText(text, flow, problem)) << text;
    EXPECT_EQ(flow.kinds, std::vector<int>{Zoom3x});
    EXPECT_EQ(flow.angle, 12.5);
    EXPECT_TRUE(flow.wrap);
    EXPECT_FALSE(problem.message.empty());
    return problem;
}

TEST(FlowFile, ReadsSettingsCommentsBlankLinesAndByteOrderMark) {
    const Flow flow = readOk(
        "\xEF\xBB\xBF# a knight's turn\r\n"
        "\r\n"
        "  PASSES = Scale2x, Scale2x, Scale2x, RotateUnzoom8x   # RotSprite-style\r\n"
        "angle=26.565\r\n"
        "\t wrap = ON\r\r\n");
    EXPECT_EQ(flow.kinds, (std::vector<int>{Scale2x, Scale2x, Scale2x, kUnzoom8x}));
    EXPECT_EQ(flow.angle, 26.565);
    EXPECT_TRUE(flow.wrap);
    // What a file leaves out keeps its default; an empty list is no pass.
    const Flow partial = readOk("angle = 90\npasses =\n");
    EXPECT_TRUE(partial.kinds.empty());
    EXPECT_EQ(partial.angle, 90.0);
    EXPECT_FALSE(partial.wrap);
    const Flow empty = readOk("");
    EXPECT_TRUE(empty.kinds.empty());
    EXPECT_EQ(empty.angle, 0.0);
    EXPECT_FALSE(readOk("wrap = off\n").wrap);
}

TEST(FlowFile, AnyOtherLineRefusesTheWholeTextNamingTheLine) {
    const std::pair<const char*, int> faults[] = {
        {"passes = Scale2x\nangle = 30\nspeed = 2\n", 3},
        {"# fine\nScale2x, Scale2x\n", 2},
        {"passes = Scale2x, Scale5x\n", 1},
        {"\n\nangle = -30\n", 3},
        {"angle = 30 degrees\n", 1},
        {"wrap = yes\n", 1},
        {"wrap = on\nwrap = off\n", 2},
        {"passes = Zoom2x\r\npasses = Zoom2x\r\n", 2},
        {"\xEF\xBB\xBF\xEF\xBB\xBFpasses = Zoom2x\n", 1},  // one mark only
        {"= Zoom2x\n", 1},
    };
    for (const auto& [text, line] : faults) {
        EXPECT_EQ(readRefused(text).line, line) << text;
    }
    EXPECT_NE(readRefused("passes = Zoom9x").message.find("RotateUnzoom8x"), std::string::npos);
}

TEST(FlowFile, SizesBeyondTheBoundsAreRefused) {
    const std::string longLine = "# " + std::string(kMaxFlowLineBytes, 'x') + "\n";
    EXPECT_EQ(readRefused("angle = 3\n" + longLine).line, 2);
    readOk("#" + std::string(kMaxFlowLineBytes - 1, 'x') + "\r\n");  // the longest line
    std::string large;
    while (large.size() <= kMaxFlowTextBytes) large += "# padding\n";
    const FlowProblem problem = readRefused(large);
    EXPECT_EQ(problem.line, 0);
    EXPECT_NE(problem.message.find("65536"), std::string::npos) << problem.message;
}

TEST(FlowFile, WrittenFlowsReadBackEqual) {
    std::mt19937 random(15);
    for (int round = 0; round < 200; ++round) {
        Flow flow;
        const int count = static_cast<int>(random() % 8);
        for (int i = 0; i < count; ++i)
            flow.kinds.push_back(static_cast<int>(random() % kPassKindCount));
        flow.angle = std::uniform_real_distribution<double>(0.0, 360.0)(random);
        if (round % 3 == 0) flow.angle = std::round(flow.angle);
        flow.wrap = round % 2 == 0;
        const std::string text = writeFlowText(flow);
        const Flow back = readOk(text);
        EXPECT_EQ(back.kinds, flow.kinds) << text;
        EXPECT_EQ(back.angle, flow.angle) << text;
        EXPECT_EQ(back.wrap, flow.wrap) << text;
    }
}

TEST(ApplyFlow, TheChainRunsTheFlowsPassesAndSettings) {
    PassChain chain;
    chain.insertPass(nullptr, 0, Zoom3x);
    chain.insertPass(nullptr, 1, Canvas2x);
    chain.setSource(randomImage(9, 7, {1, 2, 3, 4}, 3));
    chain.evaluate(nullptr);
    const Flow flow{{Scale2x, Unzoom2x}, 33.25, true};
    applyFlow(chain, nullptr, flow);
    ASSERT_EQ(chain.size(), 2);
    EXPECT_EQ(chain.settings().angleDegrees, 33.25);
    EXPECT_EQ(chain.settings().wrapAround, 1);

    PassChain fresh;
    fresh.setSource(randomImage(9, 7, {1, 2, 3, 4}, 3));
    fresh.setWrapAround(nullptr, 1);
    fresh.setRotationAngle(nullptr, 33.25);
    fresh.insertPass(nullptr, 0, Scale2x);
    fresh.insertPass(nullptr, 1, Unzoom2x);
    ASSERT_NE(chain.displayedImage(), nullptr);
    EXPECT_EQ(chain.displayedImage()->width, 9);
    EXPECT_EQ(pixelsOf(*chain.displayedImage()), pixelsOf(*fresh.displayedImage()));

    // An empty flow shows the source; no source stays no source.
    applyFlow(chain, nullptr, Flow{});
    EXPECT_EQ(chain.size(), 0);
    EXPECT_EQ(chain.displayedImage(), chain.source());
    EXPECT_EQ(chain.settings().angleDegrees, 0.0);
    PassChain empty;
    applyFlow(empty, nullptr, flow);
    EXPECT_EQ(empty.size(), 2);
    EXPECT_EQ(empty.source(), nullptr);
}

}  // namespace
