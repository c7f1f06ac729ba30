// Frame import: the commands it sends, the image it takes from the clipboard,
// the base file name it derives, and what each failure leaves behind.
#include <algorithm>
#include <cstring>

#include "host/frame_import.h"
#include "host_fixture.h"

namespace {

constexpr int kZoom2x = 0;

}  // namespace

using Import = HostTest;

TEST_F(Import, DisplayedFrameAndLayerBecomeTheSourceImage) {
    buildFlow(state.chain, {kZoom2x}, 0);
    ASSERT_TRUE(ImportDisplayedImage(state, nullptr, error)) << error.text;
    EXPECT_EQ(host.commands, (std::vector<std::string>{
                                 "GetDisplayFrameNumber", "GetActiveLayerNumber", "GotoFrame(2)",
                                 "SelectLayer(1)", "SendFrame", "GetProjectFilePath"}));
    const IndexedImage* source = state.chain.source();
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(layerOf(*source), sourceBefore.pixels(2, 1));
    EXPECT_EQ(std::memcmp(source->palette(), sourceBefore.palette.data(), 1024), 0);
    EXPECT_EQ(layerOf(*state.chain.displayedImage()), throughFlow({kZoom2x}, 0, 2, 1));
    EXPECT_STREQ(error.text, "undefined error");
    EXPECT_EQ(logLines(), (std::vector<std::string>{"Entering ImportImage()",
                                                    "input filename = C:\\sprites\\hero.walk.png",
                                                    "final filename = hero"}));
}

TEST_F(Import, BaseFileNameRules) {
    const std::string longPath = std::string(200, 'd') + "\\" + std::string(120, 'n') + ".png";
    const std::vector<std::string> cases[] = {
        // project path, file name, base file name
        {"C:\\sprites\\hero.walk.png", "none", "hero"},
        {"C:\\art\\.hidden", "none", ""},
        {"C:/art/cat.png", "none", "C:/art/cat"},
        {"D:\\a.b\\c", "none", "c"},
        {"none.png", "none", "none"},
        {longPath, "", std::string(55, 'n')},  // the reply is cut to 256 characters first
        {"none", "D:\\x\\walk.cycle.bmp", "walk"},
        {"none", "none", "Untitled"},
        {"none", "", ""},
    };
    for (const auto& c : cases) {
        host.model.current()->path = c[0];
        host.model.current()->name = c[1];
        ASSERT_TRUE(ImportImage(state, nullptr, 1, 0, error)) << c[0];
        EXPECT_EQ(state.baseFileName, c[2]) << c[0] << " / " << c[1];
        EXPECT_EQ(host.commands.back(),
                  c[0] == "none" ? "GetCurrentFilename" : "GetProjectFilePath");
    }
    // "Untitled" is no name the host gave: no input line for it.
    const std::vector<std::string> log = logLines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "final filename = Untitled"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "input filename = none"), 0);
}

// An import of frame 3, layer 1 after one of frame 1, layer 0 ("hero") fails:
// it leaves the previous image, none at all, or the new one not yet run
// through the flow.
enum class Left { Previous, Nothing, Unevaluated };

struct ImportFault {
    std::vector<std::string> switches;
    const char* message;
    Left left;
    const char* name = "hero";
};

class ImportFailure : public HostTest, public testing::WithParamInterface<ImportFault> {};

TEST_P(ImportFailure, SaysWhyAndLeavesWhatItShould) {
    buildFlow(state.chain, {kZoom2x}, 0);
    ASSERT_TRUE(ImportImage(state, nullptr, 1, 0, error));
    host.use(GetParam().switches);

    EXPECT_FALSE(ImportImage(state, nullptr, 3, 1, error));
    EXPECT_STREQ(error.text, GetParam().message);
    EXPECT_STREQ(state.baseFileName, GetParam().name);
    const IndexedImage* source = state.chain.source();
    const bool previous = GetParam().left == Left::Previous;
    EXPECT_EQ(state.chain.displayedImage() != nullptr, previous);
    ASSERT_EQ(source == nullptr, GetParam().left == Left::Nothing);
    if (source != nullptr) {
        EXPECT_EQ(layerOf(*source), sourceBefore.pixels(previous ? 1 : 3, previous ? 0 : 1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ImportFailure,
    testing::Values(
        ImportFault{{"--reply", "SendFrame=2"},
                    "SendFrame() request returned 2 instead of 3\n",
                    Left::Previous},
        ImportFault{{"--stale-clipboard", "3"},
                    "ERROR: the host put no new image on the clipboard",
                    Left::Previous},
        ImportFault{{"--no-data", "SelectLayer"},
                    "Failed to request 'SelectLayer(1)' from Kelvara!\n",
                    Left::Previous},
        ImportFault{{"--hang", "SendFrame"},
                    "Failed to request 'SendFrame' from Kelvara!\n",
                    Left::Previous},
        ImportFault{{"--dib", "24"}, "ERROR: only 8bit pixels are supported!", Left::Nothing},
        ImportFault{{"--truncate-dib"},
                    "ERROR: the clipboard image cannot be read (block truncated)",
                    Left::Nothing},
        ImportFault{
            {"--fail-clipboard-open"}, "ERROR: the clipboard cannot be opened", Left::Nothing},
        ImportFault{
            {"--empty-clipboard"}, "ERROR: the clipboard holds no image (CF_DIB)", Left::Nothing},
        ImportFault{{"--no-data", "GetProjectFilePath"},
                    "Failed to request 'GetProjectFilePath' from Kelvara!\n",
                    Left::Unevaluated},
        ImportFault{{"--reply", "GetProjectFilePath=none", "--hang", "GetCurrentFilename"},
                    "Failed to request 'GetCurrentFilename' from Kelvara!\n",
                    Left::Unevaluated,
                    "none"}));
