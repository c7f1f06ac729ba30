// The settings file: what is written reads back the same; a damaged file keeps
// the defaults for exactly the items that are bad, and says where.
#include "ui/settings.h"

#include <gtest/gtest.h>

#include "passes/pass_kinds.h"

namespace {

Settings everythingChanged() {
    Settings s;
    s.flow.kinds = {2, 2, 2, 10, kPassKindCount - 1};
    s.flow.angle = 26.565;
    s.flow.wrap = true;
    s.zoom = 16;
    s.sourceTab = 2;
    s.singleNewProject = false;
    s.batchNewProject = false;
    s.allLayers = false;
    s.allFrames = false;
    s.turns = 8;
    s.window = WindowPlace{-1200, -5, 900, 700, true};
    s.recentFlows = {"C:\\flows\\rot sprite.flow", "Z:\\tmp\\\xC3\xA9t\xC3\xA9.flow",
                     "D:\\a=b;#c.txt", "\\\\server\\share\\x.flow", "\xEF\xBC\x81.flow"};
    return s;
}

Settings readClean(const std::string& text) {
    std::vector<SettingsProblem> problems;
    Settings settings = readSettingsText(text, problems);
    EXPECT_EQ(describeProblems(problems), "");
    return settings;
}

TEST(SettingsText, WhatIsWrittenReadsBackTheSame) {
    EXPECT_EQ(readClean(writeSettingsText(everythingChanged())), everythingChanged());
    EXPECT_EQ(readClean(writeSettingsText(Settings{})), Settings{});
    EXPECT_EQ(readClean(""), Settings{});
    // Every decimal of a typed angle survives.
    Settings fine;
    fine.flow.angle = 359.99999999999994;
    EXPECT_EQ(readClean(writeSettingsText(fine)).flow.angle, fine.flow.angle);
}

// Each bad line costs its own item only: the good line after it is still read.
TEST(SettingsText, ABadItemKeepsItsDefaultAndNamesItsLine) {
    struct Case {
        const char* section;
        const char* bad;
        const char* messagePart;
    };
    const Case cases[] = {
        {"flow", "passes = Scale2x, Shrink", "\"Shrink\""},
        {"flow", "angle = 361", "\"361\""},
        {"flow", "angle = 1e2", "0 to 360"},
        {"flow", "wrap = yes", "on or off"},
        {"window", "zoom = 17", "1 to 16"},
        {"window", "tab = Layers", "Single image, Batch, Files"},
        {"window", "place = 1, 2, 3", "x, y, width, height"},
        {"window", "place = 40000, 2, 800, 600", "x, y, width, height"},
        {"window", "place = 1, 2, 800, 600, 5", "x, y, width, height"},
        {"batch", "turns = 65", "1 to 64"},
        {"batch", "all layers = 1", "on or off"},
        {"batch", "colour = red", "unknown setting \"colour\""},
        {"batch", "all frames off", "not a \"key = value\" line"},
        {"recent flows", "flow = \t", "not a file name"},
        {"recent flows", "flow = C:\\\x01.flow", "not a file name"},
        {"recent flows", "flow = C:\\\xE0\x80\xAF.flow", "not a file name"},  // overlong
        {"recent flows", "flow = C:\\\xED\xA0\x80.flow", "not a file name"},  // surrogate
        {"recent flows", "flow = C:\\\xE2\x82.flow", "not a file name"},      // cut
        {"recent flows", "path = C:\\x.flow", "unknown setting"},
    };
    const Settings defaults;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bad);
        // As hand-edited files come too: a byte-order mark, CR LF, any case, spaces.
        const std::string text = std::string("\xEF\xBB\xBF# first\r\n[ ") + c.section + " ]\r\n" +
                                 c.bad + "\r\n[WINDOW]\r\n  Zoom=5 \r\n";
        std::vector<SettingsProblem> problems;
        Settings read = readSettingsText(text, problems);
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_EQ(problems[0].line, 3);
        EXPECT_NE(problems[0].message.find(c.messagePart), std::string::npos)
            << problems[0].message;
        EXPECT_EQ(read.zoom, 5);
        read.zoom = defaults.zoom;
        EXPECT_EQ(read, defaults);
    }
}

// Values the reader would refuse are left out, so the file still reads whole.
TEST(SettingsText, TheWriterLeavesOutWhatCannotBeReadBack) {
    Settings bad;
    bad.flow.kinds = {-1, 2, kPassKindCount};
    bad.flow.angle = 400;
    bad.zoom = 0;
    bad.sourceTab = 3;
    bad.turns = 65;
    bad.window = WindowPlace{0, 0, 0, 10, false};
    bad.recentFlows = {" lead.flow", "tail.flow ", "", "C:\\\n.flow", "ok.flow"};
    Settings expected;
    expected.flow.kinds = {2};
    expected.recentFlows = {"ok.flow"};
    EXPECT_EQ(readClean(writeSettingsText(bad)), expected);
}

// A file cut anywhere: every item is either as written or its default, and a
// cut inside a line is noted (the writer ends every line).
TEST(SettingsText, AFileCutAnywhereGivesWrittenValuesOrDefaults) {
    const Settings full = everythingChanged();
    const Settings defaults;
    const std::string text = writeSettingsText(full);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        SCOPED_TRACE(cut);
        std::vector<SettingsProblem> problems;
        const Settings s = readSettingsText(std::string_view(text).substr(0, cut), problems);
        const std::size_t lineStart = cut == 0 ? 0 : text.rfind('\n', cut - 1) + 1;
        const bool insideALine = text.find_first_not_of(' ', lineStart) < cut;
        EXPECT_EQ(problems.size(), insideALine ? 1u : 0u);
        EXPECT_TRUE(s.flow.kinds == full.flow.kinds || s.flow.kinds == defaults.flow.kinds);
        EXPECT_TRUE(s.flow.angle == full.flow.angle || s.flow.angle == defaults.flow.angle);
        EXPECT_TRUE(s.window == full.window || s.window == defaults.window);
        EXPECT_TRUE(s.zoom == full.zoom || s.zoom == defaults.zoom);
        EXPECT_TRUE(s.turns == full.turns || s.turns == defaults.turns);
        const auto& recent = s.recentFlows;
        EXPECT_TRUE(std::equal(recent.begin(), recent.end(), full.recentFlows.begin()));
    }
}

TEST(SettingsText, SizesAreBounded) {
    std::vector<SettingsProblem> problems;
    std::string big = "[window]\nzoom = 2\n";
    big.resize(kSettingsMaxBytes + 1, '\n');
    EXPECT_EQ(readSettingsText(big, problems), Settings{});
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].line, 0);

    problems.clear();
    const std::string longPath(kSettingsMaxPath + 1, 'a');
    const std::string longLine = "flow = " + std::string(kSettingsMaxLine, 'b');
    std::string text = "[recent flows]\nflow = " + longPath + "\n" + longLine + "\n";
    for (int i = 1; i <= 6; ++i) text += "flow = f" + std::to_string(i) + "\n";
    const Settings s = readSettingsText(text, problems);
    EXPECT_EQ(s.recentFlows, (std::vector<std::string>{"f1", "f2", "f3", "f4", "f5"}));
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[1].message, "longer than 4096 bytes");
    EXPECT_EQ(problems[2].line, 9);
    EXPECT_EQ(describeProblems(problems).find("and"), std::string::npos);
    problems.push_back({12, "x"});
    EXPECT_NE(describeProblems(problems).find("; and 1 more"), std::string::npos);
}

TEST(SettingsText, RememberedFlowsComeFirstOnceAndFive) {
    std::vector<std::string> recent = {"a", "B", "c", "d", "e"};
    rememberFlow(recent, "b");
    EXPECT_EQ(recent, (std::vector<std::string>{"b", "a", "c", "d", "e"}));
    rememberFlow(recent, "f");
    EXPECT_EQ(recent, (std::vector<std::string>{"f", "b", "a", "c", "d"}));
}

}  // namespace
