// Frame import over real DDE and the real clipboard, against the stand-in
// host: the commands it sends, the image it takes, the base file name it
// derives, and the host's faults.
#include <string>
#include <vector>

#include "host/frame_import.h"
#include "hosted_state.h"

namespace {

const std::vector<std::string> kDisplayedImportCommands = {
    "GetDisplayFrameNumber", "GetActiveLayerNumber", "GotoFrame(1)", "SelectLayer(1)", "SendFrame",
    "GetProjectFilePath"};

}  // namespace

TEST(Import, DisplayedFrameArrivesPixelForPixel) {
    HostedRun run;
    ASSERT_TRUE(run.ready()) << run.problem();
    ASSERT_TRUE(ImportDisplayedImage(run.state, run.owner(), run.error)) << run.error.text;
    EXPECT_STREQ(run.error.text, "undefined error");
    EXPECT_STREQ(run.state.baseFileName, "sample");
    run.finish();

    // The sample shows frame 1 with its knight layer (1) active.
    EXPECT_EQ(run.commands(), kDisplayedImportCommands);
    const IndexedImage* hostFrame = run.dump().layer(sampleProjectId(), 1, 1);
    ASSERT_NE(hostFrame, nullptr);
    ASSERT_NE(run.state.chain.source(), nullptr);
    EXPECT_TRUE(sameImage(*run.state.chain.source(), *hostFrame));
    EXPECT_EQ(run.state.chain.source()->owner, run.owner());
}

TEST(Import, BaseFileNameFromWhatTheHostReports) {
    struct Case {
        std::vector<std::string> options;
        const char* expected;
        bool asksFilename;
    };
    const Case cases[] = {
        {{"--reply", "GetProjectFilePath=C:\\art\\hero.walk.cycle.bmp"}, "hero", false},
        {{"--reply", "GetProjectFilePath=C:\\art\\.hidden"}, "", false},
        {{"--reply", "GetProjectFilePath=C:/art/cat.png"}, "C:/art/cat", false},
        {{"--reply", "GetProjectFilePath=none"}, "sample", true},
        {{"--reply", "GetProjectFilePath=none", "--reply", "GetCurrentFilename=none"},
         "Untitled",
         true},
    };
    for (const Case& c : cases) {
        HostedRun run(c.options);
        ASSERT_TRUE(run.ready()) << run.problem();
        EXPECT_TRUE(ImportDisplayedImage(run.state, run.owner(), run.error)) << run.error.text;
        EXPECT_STREQ(run.state.baseFileName, c.expected) << c.options[1];
        run.finish();
        std::vector<std::string> expected = kDisplayedImportCommands;
        if (c.asksFilename) expected.push_back("GetCurrentFilename");
        EXPECT_EQ(run.commands(), expected) << c.options[1];
    }
}

TEST(Import, SendFrameForAnotherFrameFailsBeforeAnythingIsDropped) {
    HostedRun run({"--reply", "SendFrame=2"});
    ASSERT_TRUE(run.ready()) << run.problem();
    ASSERT_TRUE(ImportImage(run.state, run.owner(), 2, 0, run.error)) << run.error.text;
    const IndexedImage* before = run.state.chain.source();
    ASSERT_NE(before, nullptr);

    EXPECT_FALSE(ImportImage(run.state, run.owner(), 3, 0, run.error));
    EXPECT_STREQ(run.error.text, "SendFrame() request returned 2 instead of 3\n");
    EXPECT_EQ(run.state.chain.source(), before);
    EXPECT_EQ(run.state.chain.displayedImage(), before);
    run.finish();
    EXPECT_EQ(run.commands().back(), "SendFrame");
}

TEST(Import, UnreadableClipboardImageLeavesNoSourceAndSaysWhy) {
    struct Case {
        std::vector<std::string> options;
        const char* message;
    };
    const Case cases[] = {
        {{"--dib", "24"}, "ERROR: only 8bit pixels are supported!"},
        {{"--dib", "4"}, "ERROR: only 8bit pixels are supported!"},
        {{"--truncate-dib"}, "ERROR: the clipboard image cannot be read (block truncated)"},
    };
    for (const Case& c : cases) {
        HostedRun run(c.options);
        ASSERT_TRUE(run.ready()) << run.problem();
        EXPECT_FALSE(ImportDisplayedImage(run.state, run.owner(), run.error)) << c.options[0];
        EXPECT_STREQ(run.error.text, c.message);
        EXPECT_EQ(run.state.chain.source(), nullptr);
        EXPECT_EQ(run.state.chain.displayedImage(), nullptr);
        run.finish();
        EXPECT_EQ(run.commands().back(), "SendFrame");
    }
}
