// What no end-to-end run shows of the stand-in host: commands parsed strictly,
// growth capped, unsound DIBs refused by "ReceiveFrame", bad options refused.
// (Claimed layers: the export tests' cancels during a new project's preparation.)
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "host_commands.h"
#include "host_options.h"

namespace {

struct OneBlockClipboard final : DibClipboard {
    bool put(const std::vector<std::uint8_t>&) override { return true; }
    bool take(std::vector<std::uint8_t>& out) override {
        out = block;
        return !block.empty();
    }
    std::vector<std::uint8_t> block;
};

class Hostsim : public testing::Test {
  protected:
    void SetUp() override { model.addProject(makeBlankProject(3, 5, 3, greyPalette())); }
    std::string run(const std::string& command) {
        return runHostCommand(model, command, clipboard);
    }

    HostModel model;
    OneBlockClipboard clipboard;
};

TEST_F(Hostsim, CommandsAreParsedStrictly) {
    for (const char* bad :
         {"GotoFrame()", "GotoFrame(2", "GotoFrame(2)x", "GotoFrame( 2)", "GotoFrame(2,3)",
          "GotoFrame(0x2)", "GotoFrame(+)", "GotoFrame(99999999999)", "GotoFrame",
          "SelectLayer(1.0)", "SetCurrentFilename", "SetCurrentFilename(x", "GetFrameCount(1)"}) {
        EXPECT_EQ(run(bad), "ERROR: bad arguments") << bad;
    }
    for (const char* unknown : {"", "Bogus", "getframecount", "GetFrameCount ", "Bogus(1)"})
        EXPECT_EQ(run(unknown), kUnknownCommandReply) << '"' << unknown << '"';
    for (const char* bad : {"New(0,8,8)", "New(1,0,8)", "New(1,8,-3)", "New(1,8)", "New(1,,8)",
                            "New(1001,8,8)", "New(1,4097,8)", "New(1000,4096,17)", "New"})
        EXPECT_EQ(run(bad), "-1") << bad;
    EXPECT_EQ(model.projects.size(), 1u);
    EXPECT_EQ(run("GotoFrame(+2)"), "2");
    EXPECT_EQ(run("SetCurrentFilename(a(b)c)"), "a(b)c");
}

TEST_F(Hostsim, GrowthIsCappedWithAnErrorReply) {
    for (int layer = 1; layer < kMaxLayers; ++layer)
        ASSERT_EQ(run("AddAnimationLayer"), std::to_string(layer));
    EXPECT_EQ(run("AddAnimationLayer"), "ERROR: too many layers");
    while (model.projects.size() < kMaxProjects) ASSERT_NE(run("New(1,1,1)"), "-1");
    EXPECT_EQ(run("New(1,1,1)"), "ERROR: too many projects");

    // Pixels are counted, not allocated: frames with empty layers of a large size.
    HostModel full;
    Project big;
    big.width = big.height = 4096;
    big.frames.assign(4, Frame{100, std::vector<LayerPixels>(2)});
    full.addProject(std::move(big));
    full.addProject(makeBlankProject(1, 1, 1, greyPalette()));
    EXPECT_EQ(runHostCommand(full, "AddAnimationLayer", clipboard),
              "ERROR: the host has no room for more pixels");
    EXPECT_EQ(runHostCommand(full, "New(1,1,1)", clipboard),
              "ERROR: the host has no room for more pixels");
    // A 1000-frame, 2-layer batch source with its new project of twice the size fits.
    HostModel batch;
    for (const char* command :
         {"New(1000,64,64)", "AddAnimationLayer", "New(1000,128,128)", "AddAnimationLayer"})
        EXPECT_EQ(runHostCommand(batch, command, clipboard).rfind("ERROR", 0), std::string::npos);
}

TEST_F(Hostsim, ReceiveFrameRefusesUnsoundDibsAndChangesNothing) {
    const Project before = *model.current();
    const LayerPixels pixels(15, 3);
    std::vector<std::uint8_t> truncated = makePackedDib(pixels, 5, 3, greyPalette());
    truncated.pop_back();
    for (const auto& block :
         {std::vector<std::uint8_t>{}, makePackedDib(LayerPixels(12, 3), 4, 3, greyPalette()),
          makePackedDib(pixels, 5, 3, greyPalette(), DibShape{24, false}),
          makePackedDib(pixels, 5, 3, greyPalette(), DibShape{4, false}), truncated,
          makePackedDib(pixels, 5, 3, greyPalette(), DibShape{8, true}),
          std::vector<std::uint8_t>(20, 0)}) {
        clipboard.block = block;
        EXPECT_EQ(run("ReceiveFrame").rfind("ERROR", 0), 0u) << block.size();
        EXPECT_TRUE(model.current()->frames == before.frames);
    }
}

TEST(HostOptions, BadOptionsAreRefusedWithAReason) {
    // Each a command line, its words split at spaces.
    for (const char* line :
         {"--bogus", "--log", "--open", "--reply NoEquals", "--reply =x", "--refuse X",
          "--late Send=x", "--late Send=-5", "--quit-after 0", "--dib 16", "--new-id two",
          "--no-data", "--stale-clipboard 0", "--claim-layers 0", "--new-frames x",
          "--sample --open a.bmp", "sample"}) {
        std::istringstream words(line);
        const std::vector<std::string> args{std::istream_iterator<std::string>(words), {}};
        HostOptions options;
        std::string error;
        EXPECT_FALSE(parseHostOptions(args, options, error)) << line;
        EXPECT_NE(error, "") << line;
    }
}

}  // namespace
