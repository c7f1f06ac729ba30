// Frame import: the commands it sends, the image it takes from the clipboard,
// the base file name it derives, and what each failure leaves behind.
#include <cstring>
#include <string>
#include <vector>

#include "../dib_block.h"
#include "host/frame_import.h"
#include "host_fixture.h"
#include "passes/pass_kinds.h"

namespace {

constexpr int kZoom2x = 0;

// The image equals the host's frame pixel for pixel, palette included.
void expectSameImage(const IndexedImage& image, const HostImage& expected) {
    ASSERT_TRUE(image.valid);
    ASSERT_EQ(image.width, expected.width);
    ASSERT_EQ(image.height, expected.height);
    EXPECT_EQ(std::memcmp(image.palette(), expected.palette.data(), 1024), 0);
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            ASSERT_EQ(image.row(y)[x], expected.at(x, y)) << x << "," << y;
        }
    }
}

}  // namespace

class Import : public HostTest {
  protected:
    void SetUp() override {
        HostTest::SetUp();
        HostProject& p = host.addProject(kSource, 3, 2, 5, 3);
        p.frame = 2;
        p.layer = 1;
        p.path = "C:\\sprites\\hero.walk.png";
    }

    // Leaves a source image and a pass output from an earlier import in place.
    void importFrameOne() {
        state.chain.insertPass(nullptr, 0, kZoom2x);
        ASSERT_TRUE(ImportImage(state, nullptr, 1, 0, error));
        ASSERT_NE(state.chain.displayedImage(), nullptr);
        host.sent.clear();
    }
};

TEST_F(Import, DisplayedFrameAndLayerBecomeTheSourceImage) {
    state.chain.insertPass(nullptr, 0, kZoom2x);
    ASSERT_TRUE(ImportDisplayedImage(state, nullptr, error));

    EXPECT_EQ(host.texts(), (std::vector<std::string>{
                                "GetDisplayFrameNumber", "GetActiveLayerNumber", "GotoFrame(2)",
                                "SelectLayer(1)", "SendFrame", "GetProjectFilePath"}));
    for (const SentCommand& c : host.sent) EXPECT_EQ(c.requests, 1) << c.text;
    ASSERT_NE(state.chain.source(), nullptr);
    expectSameImage(*state.chain.source(), host.project(kSource).image(2, 1));
    EXPECT_STREQ(state.baseFileName, "hero");
    EXPECT_STREQ(error.text, "undefined error");

    // The chain has been run on the new source.
    const IndexedImage* shown = state.chain.displayedImage();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->width, 10);
    EXPECT_EQ(shown->row(5)[9], state.chain.source()->row(2)[4]);

    EXPECT_EQ(logLines(), (std::vector<std::string>{"Entering ImportImage()",
                                                    "input filename = C:\\sprites\\hero.walk.png",
                                                    "final filename = hero"}));
}

TEST_F(Import, BaseFileNameRules) {
    struct Case {
        const char* path;
        const char* filename;
        const char* expected;
        bool asksFilename;
    };
    const Case cases[] = {
        {"C:\\sprites\\hero.walk.png", "none", "hero", false},
        {"hero.png", "none", "hero", false},
        {"hero", "none", "hero", false},
        {"C:\\art\\.hidden", "none", "", false},
        {"C:/art/cat.png", "none", "C:/art/cat", false},
        {"D:\\a.b\\c", "none", "c", false},
        {"C:\\dir\\", "none", "", false},
        {"nonexistent.png", "none", "nonexistent", false},
        {"none.png", "none", "none", false},
        {"none", "D:\\x\\walk.cycle.bmp", "walk", true},
        {"none", "none", "Untitled", true},
        {"none", "", "", true},
    };
    for (const Case& c : cases) {
        host.current().path = c.path;
        host.current().filename = c.filename;
        host.sent.clear();
        ASSERT_TRUE(ImportImage(state, nullptr, 1, 0, error)) << c.path;
        EXPECT_STREQ(state.baseFileName, c.expected) << c.path << " / " << c.filename;
        EXPECT_EQ(host.texts().back(),
                  c.asksFilename ? "GetCurrentFilename" : "GetProjectFilePath");
    }
}

TEST_F(Import, UntitledWritesNoInputLine) {
    host.current().path = "none";
    host.current().filename = "none";
    ASSERT_TRUE(ImportImage(state, nullptr, 1, 0, error));
    EXPECT_STREQ(state.baseFileName, "Untitled");
    EXPECT_EQ(logLines(),
              (std::vector<std::string>{"Entering ImportImage()", "final filename = Untitled"}));
}

TEST_F(Import, LongestPathReplyStaysInsideTheNameField) {
    host.current().path = std::string(200, 'd') + "\\" + std::string(120, 'n') + ".png";
    ASSERT_TRUE(ImportImage(state, nullptr, 1, 0, error));
    // The reply is cut to 256 characters before the file part is taken.
    EXPECT_EQ(std::string(state.baseFileName), std::string(55, 'n'));
}

TEST_F(Import, LostPathReplyGivesAnEmptyNameAndSucceeds) {
    host.lostReplies.insert("GetProjectFilePath");
    ASSERT_TRUE(ImportImage(state, nullptr, 3, 1, error));
    EXPECT_STREQ(state.baseFileName, "");
    expectSameImage(*state.chain.source(), host.project(kSource).image(3, 1));
}

TEST_F(Import, SendFrameForAnotherFrameFailsBeforeAnythingIsDropped) {
    importFrameOne();
    const IndexedImage* before = state.chain.displayedImage();
    const int readsBefore = host.clipboardReads;
    host.replies["SendFrame"] = "2";

    EXPECT_FALSE(ImportImage(state, nullptr, 3, 0, error));
    EXPECT_STREQ(error.text, "SendFrame() request returned 2 instead of 3\n");
    EXPECT_EQ(state.chain.displayedImage(), before);
    EXPECT_EQ(host.clipboardReads, readsBefore);
    EXPECT_STREQ(state.baseFileName, "hero");
    EXPECT_EQ(host.texts(),
              (std::vector<std::string>{"GotoFrame(3)", "SelectLayer(0)", "SendFrame"}));
}

TEST_F(Import, SwitchFailuresKeepThePreviousImage) {
    importFrameOne();
    const IndexedImage* before = state.chain.source();

    EXPECT_FALSE(ImportImage(state, nullptr, 4, 0, error));
    EXPECT_STREQ(error.text, "Failed to switch to frame '4' in Kelvara!\n");
    EXPECT_FALSE(ImportImage(state, nullptr, 1, 2, error));
    EXPECT_STREQ(error.text, "Failed to switch to layer '2' in Kelvara!\n");
    host.refused.insert("SendFrame");
    EXPECT_FALSE(ImportImage(state, nullptr, 1, 0, error));
    EXPECT_STREQ(error.text, "Failed to request 'SendFrame' from Kelvara!\n");
    EXPECT_EQ(state.chain.source(), before);
    EXPECT_NE(state.chain.displayedImage(), nullptr);
}

TEST_F(Import, NotInitialisedSendsNothing) {
    state.initialised = false;
    EXPECT_FALSE(ImportDisplayedImage(state, nullptr, error));
    EXPECT_EQ(host.texts(),
              (std::vector<std::string>{"GetDisplayFrameNumber", "GetActiveLayerNumber"}));
    EXPECT_STREQ(error.text, "undefined error");
    EXPECT_EQ(logLines(), (std::vector<std::string>{"Entering ImportImage()",
                                                    "Error: plugin not initialized"}));
}

TEST_F(Import, UnreadableClipboardLeavesNoImageAndSaysWhy) {
    struct Case {
        std::vector<std::uint8_t> block;
        const char* message;
    };
    DibBlockShape fourBit;
    fourBit.bitCount = 4;
    DibBlockShape twentyFour;
    twentyFour.bitCount = 24;
    std::vector<std::uint8_t> truncated = packDib(host.current().image(1, 0));
    truncated.resize(truncated.size() - 3);
    DibBlockShape compressed;
    compressed.compression = 1;
    const Case cases[] = {
        {makeDibBlock(fourBit), "ERROR: only 8bit pixels are supported!"},
        {makeDibBlock(twentyFour), "ERROR: only 8bit pixels are supported!"},
        {truncated, "ERROR: the clipboard image cannot be read (block truncated)"},
        {std::vector<std::uint8_t>(12, 0),
         "ERROR: the clipboard image cannot be read (block truncated)"},
        {makeDibBlock(compressed),
         "ERROR: the clipboard image cannot be read (compressed (only BI_RGB is supported))"},
    };
    for (const Case& c : cases) {
        importFrameOne();
        host.sendFrameBlock = c.block;
        error.reset();
        EXPECT_FALSE(ImportImage(state, nullptr, 1, 0, error));
        EXPECT_STREQ(error.text, c.message);
        EXPECT_EQ(state.chain.source(), nullptr);
        EXPECT_EQ(state.chain.displayedImage(), nullptr);
        EXPECT_EQ(state.chain.passAt(0)->output, nullptr);
        EXPECT_EQ(host.texts().back(), "SendFrame");
        host.sendFrameBlock.reset();
        state.chain.removePass(nullptr, 0);
    }
    const auto log = logLines();
    EXPECT_TRUE(contains(log, "ERROR: failed to duplicate clipboard bitmap(2)"));
    EXPECT_TRUE(contains(log, "Failed to create my own bitmap"));
}

TEST_F(Import, ClipboardThatCannotBeOpenedOrHoldsNoImage) {
    importFrameOne();
    host.clipboardOpenFails = true;
    EXPECT_FALSE(ImportImage(state, nullptr, 1, 0, error));
    EXPECT_STREQ(error.text, "ERROR: the clipboard cannot be opened");
    EXPECT_EQ(state.chain.displayedImage(), nullptr);

    host.clipboardOpenFails = false;
    host.afterCommand = [](ScriptedHost& h, const std::string& command) {
        if (command == "SendFrame") h.clipboardHasDib = false;
    };
    EXPECT_FALSE(ImportImage(state, nullptr, 1, 0, error));
    EXPECT_STREQ(error.text, "ERROR: the clipboard holds no image (CF_DIB)");
    EXPECT_EQ(state.chain.source(), nullptr);

    const auto log = logLines();
    const std::vector<std::string> openFailure = {"ERROR: Failed to open the clipboard",
                                                  "Failed to create my own bitmap"};
    EXPECT_NE(std::search(log.begin(), log.end(), openFailure.begin(), openFailure.end()),
              log.end());
}

TEST_F(Import, NameQueryFailuresKeepTheNewImageButDoNotEvaluate) {
    importFrameOne();
    host.refused.insert("GetProjectFilePath");
    EXPECT_FALSE(ImportImage(state, nullptr, 3, 1, error));
    EXPECT_STREQ(error.text, "Failed to request 'GetProjectFilePath' from Kelvara!\n");
    ASSERT_NE(state.chain.source(), nullptr);
    expectSameImage(*state.chain.source(), host.current().image(3, 1));
    EXPECT_EQ(state.chain.passAt(0)->output, nullptr);
    EXPECT_STREQ(state.baseFileName, "hero");

    host.refused = {"GetCurrentFilename"};
    host.current().path = "none";
    EXPECT_FALSE(ImportImage(state, nullptr, 2, 0, error));
    EXPECT_STREQ(error.text, "Failed to request 'GetCurrentFilename' from Kelvara!\n");
    EXPECT_STREQ(state.baseFileName, "none");
    expectSameImage(*state.chain.source(), host.current().image(2, 0));
}

TEST_F(Import, TopDownClipboardImageIsStoredBottomUp) {
    HostImage flipped = host.current().image(2, 0);
    std::vector<std::uint8_t> block = packDib(flipped);
    // Same picture as a top-down DIB: negative height, rows reversed.
    const int stride = flipped.stride();
    DibInfoHeader h;
    readDibInfoHeader(block.data(), block.size(), h);
    h.biHeight = -h.biHeight;
    writeDibInfoHeader(h, block.data());
    for (int y = 0; y < flipped.height; ++y) {
        std::memcpy(block.data() + 1064 + static_cast<std::size_t>(y) * stride,
                    flipped.rows.data() + static_cast<std::size_t>(flipped.height - 1 - y) * stride,
                    stride);
    }
    host.sendFrameBlock = block;
    ASSERT_TRUE(ImportImage(state, nullptr, 2, 0, error));
    expectSameImage(*state.chain.source(), flipped);
}
