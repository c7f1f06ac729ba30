#include "host_commands.h"

#include <gtest/gtest.h>

#include "fake_clipboard.h"
#include "image/packed_dib.h"
#include "image/section.h"

namespace {

// Project 1: 3 frames x 2 layers of 5x3 with distinct pixels per frame and
// layer; project 2: 1 frame x 1 layer of 4x4.
class HostCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        Project first = makeBlankProject(3, 5, 3, greyPalette());
        first.addLayer();
        first.path = "C:\\art\\hero.walk.png";
        first.name = "hero.walk.png";
        for (int f = 1; f <= 3; ++f) {
            first.frames[static_cast<std::size_t>(f - 1)].delay = 10 * f;
            for (int l = 0; l < 2; ++l) {
                LayerPixels& px = first.pixels(f, l);
                for (std::size_t i = 0; i < px.size(); ++i)
                    px[i] = static_cast<std::uint8_t>(f * 40 + l * 20 + i);
            }
        }
        model.addProject(std::move(first));
        model.addProject(makeBlankProject(1, 4, 4, greyPalette()));
        model.currentId = 1;
    }

    std::string run(const std::string& command) {
        return runHostCommand(model, command, clipboard);
    }
    Project& project(int id) { return *model.find(id); }

    HostModel model;
    FakeClipboard clipboard;
};

TEST_F(HostCommands, QueriesAnswerFromTheCurrentProject) {
    EXPECT_EQ(run("GetCurrentProject"), "1");
    EXPECT_EQ(run("GetFrameCount"), "3");
    EXPECT_EQ(run("GetNumberOfLayers"), "2");
    EXPECT_EQ(run("GetDisplayFrameNumber"), "1");
    EXPECT_EQ(run("GetActiveLayerNumber"), "0");
    EXPECT_EQ(run("GetProjectFilePath"), "C:\\art\\hero.walk.png");
    EXPECT_EQ(run("GetCurrentFilename"), "hero.walk.png");
    EXPECT_EQ(run("GetCurrentDelay"), "10");
    EXPECT_EQ(run("SetCurrentProject(2)"), "2");
    EXPECT_EQ(run("GetProjectFilePath"), "none");
    EXPECT_EQ(run("GetCurrentFilename"), "none");
    EXPECT_EQ(run("GetFrameCount"), "1");
}

TEST_F(HostCommands, SwitchesReplyWhereTheHostNowStands) {
    EXPECT_EQ(run("GotoFrame(3)"), "3");
    EXPECT_EQ(run("GetDisplayFrameNumber"), "3");
    EXPECT_EQ(run("GetCurrentDelay"), "30");
    EXPECT_EQ(run("GotoFrame(4)"), "3");  // out of range: stays
    EXPECT_EQ(run("GotoFrame(0)"), "3");
    EXPECT_EQ(run("SelectLayer(1)"), "1");
    EXPECT_EQ(run("SelectLayer(2)"), "1");
    EXPECT_EQ(run("SelectLayer(-1)"), "1");
    EXPECT_EQ(run("GetActiveLayerNumber"), "1");
    EXPECT_EQ(run("SetCurrentProject(7)"), "1");
    EXPECT_EQ(run("SetCurrentProject(2)"), "2");
    EXPECT_EQ(run("GetDisplayFrameNumber"), "1");  // each project keeps its own place
    EXPECT_EQ(run("SetCurrentProject(1)"), "1");
    EXPECT_EQ(run("GetDisplayFrameNumber"), "3");
    EXPECT_EQ(run("GetActiveLayerNumber"), "1");
}

TEST_F(HostCommands, ArgumentsAreParsedStrictly) {
    for (const char* bad :
         {"GotoFrame()", "GotoFrame(2", "GotoFrame(2)x", "GotoFrame( 2)", "GotoFrame(2 )",
          "GotoFrame(2,3)", "GotoFrame(0x2)", "GotoFrame(+)", "GotoFrame(99999999999)", "GotoFrame",
          "SelectLayer(1.0)", "SetCurrentDelay(-)", "SetCurrentProject(a)", "SetCurrentFilename",
          "SetCurrentFilename(x", "GetFrameCount(1)"}) {
        EXPECT_EQ(run(bad), "ERROR: bad arguments") << bad;
    }
    EXPECT_EQ(run("GotoFrame(+2)"), "2");
    EXPECT_EQ(run("GotoFrame(-0)"), "2");  // a valid number, out of range
    EXPECT_EQ(run("GetDisplayFrameNumber"), "2");
}

TEST_F(HostCommands, UnknownCommands) {
    for (const char* unknown :
         {"", "Bogus", "getframecount", "GetFrameCount ", "Bogus(1)", " GetFrameCount"}) {
        EXPECT_EQ(run(unknown), kUnknownCommandReply) << '"' << unknown << '"';
    }
}

TEST_F(HostCommands, ParseStrictInt) {
    int v = 0;
    EXPECT_TRUE(parseStrictInt("-2147483648", v));
    EXPECT_EQ(v, -2147483648LL);
    EXPECT_TRUE(parseStrictInt("+17", v));
    EXPECT_EQ(v, 17);
    EXPECT_FALSE(parseStrictInt("2147483648", v));
    EXPECT_FALSE(parseStrictInt("", v));
    EXPECT_FALSE(parseStrictInt("-", v));
    EXPECT_FALSE(parseStrictInt("--1", v));
    EXPECT_FALSE(parseStrictInt("1e3", v));
    EXPECT_EQ(v, 17);  // untouched by failures
}

TEST_F(HostCommands, NewMakesACurrentBlankProjectWithTheCurrentPalette) {
    project(1).palette[4 * 9 + 1] = 123;
    EXPECT_EQ(run("New(2,7,6)"), "3");
    EXPECT_EQ(run("GetCurrentProject"), "3");
    const Project& made = project(3);
    EXPECT_EQ(made.width, 7);
    EXPECT_EQ(made.height, 6);
    EXPECT_EQ(made.frameCount(), 2);
    EXPECT_EQ(made.layerCount(), 1);
    EXPECT_EQ(made.palette, project(1).palette);
    EXPECT_EQ(made.pixels(2, 0), LayerPixels(42, 0));
    EXPECT_EQ(made.frames[1].delay, 100);
    EXPECT_EQ(run("GetDisplayFrameNumber"), "1");
    EXPECT_EQ(run("GetActiveLayerNumber"), "0");
    EXPECT_EQ(run("GetProjectFilePath"), "none");
    EXPECT_EQ(run("GetCurrentFilename"), "none");
}

TEST_F(HostCommands, NewRefusesBadArgumentsWithMinusOne) {
    for (const char* bad : {"New(0,8,8)", "New(1,0,8)", "New(1,8,-3)", "New(1,8)", "New(1,8,8,8)",
                            "New(1,,8)", "New(a,8,8)", "New(1,99999,99999)", "New", "New(1,8,8"}) {
        EXPECT_EQ(run(bad), "-1") << bad;
    }
    EXPECT_EQ(model.projects.size(), 2u);
    EXPECT_EQ(model.currentId, 1);
}

TEST_F(HostCommands, RenameAddLayerAndDelay) {
    EXPECT_EQ(run("SetCurrentFilename(hero_Marlune_1)"), "hero_Marlune_1");
    EXPECT_EQ(run("GetCurrentFilename"), "hero_Marlune_1");
    EXPECT_EQ(run("GetProjectFilePath"), "C:\\art\\hero.walk.png");
    // Everything between the first "(" and the last ")".
    EXPECT_EQ(run("SetCurrentFilename(a(b)c)"), "a(b)c");
    EXPECT_EQ(run("SetCurrentFilename()"), "");
    EXPECT_EQ(project(1).name, "");

    EXPECT_EQ(run("AddAnimationLayer"), "2");
    EXPECT_EQ(run("AddAnimationLayer"), "3");
    EXPECT_EQ(run("GetNumberOfLayers"), "4");
    EXPECT_EQ(project(1).pixels(3, 3), LayerPixels(15, 0));
    EXPECT_EQ(run("SelectLayer(3)"), "3");

    EXPECT_EQ(run("GotoFrame(2)"), "2");
    EXPECT_EQ(run("SetCurrentDelay(250)"), "250");
    EXPECT_EQ(run("GetCurrentDelay"), "250");
    EXPECT_EQ(run("SetCurrentDelay(-1)"), "-1");
    EXPECT_EQ(project(1).frames[1].delay, -1);
    EXPECT_EQ(project(1).frames[0].delay, 10);
}

TEST_F(HostCommands, SendFramePutsTheCurrentFrameAndLayer) {
    run("GotoFrame(2)");
    run("SelectLayer(1)");
    EXPECT_EQ(run("SendFrame"), "2");
    ASSERT_TRUE(clipboard.content.has_value());
    const std::vector<std::uint8_t>& block = *clipboard.content;
    ASSERT_EQ(block.size(), kHeaderBlockBytes + 8 * 3);
    EXPECT_EQ(packedDibProblem(block.data(), block.size()), nullptr);
    // Bottom-up: the block's first row is the project's last row (pixels 10..14).
    const std::uint8_t* rows = block.data() + kHeaderBlockBytes;
    const std::uint8_t base = 2 * 40 + 1 * 20;
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(rows[x], base + 10 + x);
        EXPECT_EQ(rows[2 * 8 + x], base + x);
    }
    clipboard.refuse = true;
    EXPECT_EQ(run("SendFrame").rfind("ERROR", 0), 0u);
}

TEST_F(HostCommands, ReceiveFrameTakesAMatchingDibAndItsPalette) {
    run("SetCurrentProject(2)");
    Project source = makeBlankProject(1, 4, 4, greyPalette());
    for (std::size_t i = 0; i < 16; ++i)
        source.pixels(1, 0)[i] = static_cast<std::uint8_t>(200 + i);
    source.palette[4 * 3 + 2] = 77;
    clipboard.content = makePackedDib(source.pixels(1, 0), 4, 4, source.palette);
    EXPECT_EQ(run("ReceiveFrame"), "1");
    EXPECT_EQ(project(2).pixels(1, 0), source.pixels(1, 0));
    EXPECT_EQ(project(2).palette, source.palette);
    EXPECT_EQ(project(1).palette, greyPalette());
}

TEST_F(HostCommands, ReceiveFrameGoesToTheCurrentFrameAndLayerOnly) {
    run("GotoFrame(3)");
    run("SelectLayer(1)");
    const LayerPixels before = project(1).pixels(3, 0);
    LayerPixels incoming(15, 0);
    incoming[7] = 99;
    clipboard.content = makePackedDib(incoming, 5, 3, greyPalette());
    EXPECT_EQ(run("ReceiveFrame"), "3");
    EXPECT_EQ(project(1).pixels(3, 1), incoming);
    EXPECT_EQ(project(1).pixels(3, 0), before);
}

TEST_F(HostCommands, ReceiveFrameRefusesBadDibsAndChangesNothing) {
    const LayerPixels before = project(1).pixels(1, 0);
    const Palette paletteBefore = project(1).palette;
    Palette other = greyPalette();
    other[0] = 1;
    struct Case {
        const char* what;
        std::optional<std::vector<std::uint8_t>> block;
    };
    std::vector<std::uint8_t> truncated = makePackedDib(LayerPixels(15, 3), 5, 3, other);
    truncated.resize(truncated.size() - 1);
    const std::vector<Case> cases = {
        {"no DIB", std::nullopt},
        {"other size", makePackedDib(LayerPixels(12, 3), 4, 3, other)},
        {"24 bits", makePackedDib(LayerPixels(15, 3), 5, 3, other, DibShape{24, false})},
        {"4 bits", makePackedDib(LayerPixels(15, 3), 5, 3, other, DibShape{4, false})},
        {"truncated", truncated},
        {"cut short by the host",
         makePackedDib(LayerPixels(15, 3), 5, 3, other, DibShape{8, true})},
        {"header only", std::vector<std::uint8_t>(20, 0)},
    };
    for (const Case& c : cases) {
        clipboard.content = c.block;
        EXPECT_EQ(run("ReceiveFrame").rfind("ERROR", 0), 0u) << c.what;
        EXPECT_EQ(project(1).pixels(1, 0), before) << c.what;
        EXPECT_EQ(project(1).palette, paletteBefore) << c.what;
    }
}

TEST_F(HostCommands, NoProjectAtAll) {
    HostModel empty;
    EXPECT_EQ(runHostCommand(empty, "GetCurrentProject", clipboard), "0");
    EXPECT_EQ(runHostCommand(empty, "GetFrameCount", clipboard).rfind("ERROR", 0), 0u);
    EXPECT_EQ(runHostCommand(empty, "GotoFrame(1)", clipboard).rfind("ERROR", 0), 0u);
    EXPECT_EQ(runHostCommand(empty, "New(1,2,3)", clipboard), "1");
    EXPECT_EQ(empty.current()->palette, greyPalette());
}

}  // namespace
