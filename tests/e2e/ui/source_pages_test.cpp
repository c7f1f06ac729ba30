// "Send image" and "Launch process" put the right images into the host, and
// failures end in exactly one error box with the operation's message.
#include <gtest/gtest.h>

#include <algorithm>

#include "marlune_session.h"

namespace {

bool sameImage(const IndexedImage& a, const IndexedImage& b) {
    if (a.width != b.width || a.height != b.height) return false;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (colourAt(a, x, y) != colourAt(b, x, y)) return false;
        }
    }
    return true;
}

int countCommands(const std::vector<std::string>& log, const std::string& prefix) {
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const std::string& line) {
        return line.rfind(prefix, 0) == 0;
    }));
}

// The project the export created: the one in the dump that the host did not start with.
int newestProject(const HostDump& dump) {
    return dump.projects.empty() ? 0 : dump.projects.rbegin()->first;
}

TEST(SinglePage, SendImageAsNewProjectPutsTheDisplayedImageIntoTheHost) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready()) << session.problem();
    const MarluneWindows& w = session.windows();
    session.grab();
    std::unique_ptr<IndexedImage> frame = clipboardImage();
    ASSERT_TRUE(frame != nullptr && frame->valid);
    session.addPasses({kScale2x, kRotate});
    ui::setTrackbar(ui::childById(w.propertyPanel, 106), 30);

    ui::click(ui::childById(w.singlePage, 101));
    EXPECT_EQ(ui::findTopLevel("#32770", session.app().processId()), nullptr);
    PostMessageW(w.main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(session.app().waitForExit(10000));

    const HostDump dump = session.stopHostAndReadDump();
    ASSERT_GE(dump.projects.size(), 2u);
    const IndexedImage* sent = dump.layer(newestProject(dump), 1, 0);
    ASSERT_NE(sent, nullptr);
    const auto expected = runChain(*frame, {kScale2x, kRotate}, 30, false);
    EXPECT_TRUE(sameImage(*sent, *expected));
}

TEST(BatchPage, LaunchProcessSendsEveryFrameAndLayerThroughTheFlow) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready()) << session.problem();
    const MarluneWindows& w = session.windows();
    ui::selectTab(w.tabControl, 1);
    ui::click(ui::childById(w.batchPage, 100));
    // The sample shows in the preview without anything else repainting it.
    std::unique_ptr<IndexedImage> sample = clipboardImage();
    ASSERT_TRUE(sample != nullptr && sample->valid);
    expectPreviewShows(ui::readClientAsShown(w.preview), *sample, 1, 0, 0);
    session.addPasses({kScale2x});
    ui::click(ui::childById(w.batchPage, 102));
    EXPECT_EQ(ui::findTopLevel("#32770", session.app().processId()), nullptr);
    // Afterwards the preview shows the last frame and layer processed.
    std::unique_ptr<IndexedImage> last = clipboardImage();
    ASSERT_TRUE(last != nullptr && last->valid);
    expectPreviewShows(ui::readClientAsShown(w.preview), *last, 1, 0, 0);
    PostMessageW(w.main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(session.app().waitForExit(10000));

    const HostDump dump = session.stopHostAndReadDump();
    const int target = newestProject(dump);
    const int source = dump.projects.begin()->first;
    ASSERT_NE(target, source);
    int compared = 0;
    for (const auto& [key, image] : dump.layers) {
        if (key.project != source) continue;
        const IndexedImage* sent = dump.layer(target, key.frame, key.layer);
        ASSERT_NE(sent, nullptr) << "frame " << key.frame << " layer " << key.layer;
        EXPECT_TRUE(sameImage(*sent, *runChain(*image, {kScale2x}, 0, false)))
            << "frame " << key.frame << " layer " << key.layer;
        ++compared;
    }
    EXPECT_GT(compared, 1);
}

TEST(SinglePage, SendBeforeGrabShowsOneBoxWithUndefinedError) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready()) << session.problem();
    ui::postClick(ui::childById(session.windows().singlePage, 101));
    const ui::MessageBoxInfo box = ui::waitForMessageBox(session.app().processId());
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.caption, "Error in image processing!\n");
    EXPECT_EQ(box.text, "undefined error");
    EXPECT_EQ(ui::findAllTopLevel("#32770", session.app().processId()).size(), 1u);
    ui::closeMessageBox(box.window);
    EXPECT_TRUE(ui::waitForNoTopLevel("#32770", session.app().processId()));
}

TEST(SinglePage, GrabWithTheHostGoneShowsTheHostFailure) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready()) << session.problem();
    session.host()->stop();
    ui::postClick(ui::childById(session.windows().singlePage, 100));
    const ui::MessageBoxInfo box = ui::waitForMessageBox(session.app().processId(), 30000);
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.caption, "Error in image import!\n");
    EXPECT_FALSE(box.text.empty());
    EXPECT_NE(box.text, "undefined error");
    EXPECT_EQ(ui::findAllTopLevel("#32770", session.app().processId()).size(), 1u);
    ui::closeMessageBox(box.window);
    EXPECT_TRUE(ui::waitForNoTopLevel("#32770", session.app().processId()));
}

// Every host command is answered 300 ms late, so the batch takes seconds and
// the user's second press and the close request arrive in the middle of it.
TEST(HostOperation, SecondPressesAndCloseDuringABatchWaitForIt) {
    MarluneSession session({"--sample", "--late", "=300"});
    ASSERT_TRUE(session.ready()) << session.problem();
    const MarluneWindows& w = session.windows();
    ui::selectTab(w.tabControl, 1);
    ui::click(ui::childById(w.batchPage, 100));
    session.addPasses({kScale2x});

    HWND launch = ui::childById(w.batchPage, 102);
    HWND grab = ui::childById(w.batchPage, 100);
    ui::postClick(launch);
    // Wait until the export has started talking to the host.
    const DWORD start = GetTickCount();
    while (IsWindowEnabled(launch) && GetTickCount() - start < 10000) ui::pumpFor(10);
    EXPECT_FALSE(IsWindowEnabled(launch));
    EXPECT_FALSE(IsWindowEnabled(grab));
    EXPECT_FALSE(IsWindowEnabled(ui::childById(w.singlePage, 101)));
    // Presses that reach the page anyway are refused.
    const WPARAM launchCommand = MAKEWPARAM(102, BN_CLICKED);
    PostMessageW(w.batchPage, WM_COMMAND, launchCommand, reinterpret_cast<LPARAM>(launch));
    PostMessageW(w.batchPage, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED),
                 reinterpret_cast<LPARAM>(grab));
    // The flow and the zoom stay live meanwhile.
    ui::setTrackbar(ui::childById(w.zoomStrip, 119), 3);
    EXPECT_EQ(ui::text(ui::childById(w.zoomStrip, 122)), "Display zoom: x3");
    PostMessageW(w.main, WM_CLOSE, 0, 0);
    ui::pumpFor(500);
    EXPECT_TRUE(IsWindow(w.main)) << "closed in the middle of the batch";

    ASSERT_TRUE(session.app().waitForExit(120000));
    EXPECT_EQ(session.app().exitCode(), 0u);
    EXPECT_EQ(ui::findTopLevel("#32770", session.app().processId()), nullptr);

    const std::vector<std::string> log = session.hostCommands();
    EXPECT_EQ(countCommands(log, "New("), 1) << "a second batch started";
    // Every frame and layer went out once, each right after its own selection.
    const int sent = countCommands(log, "ReceiveFrame");
    EXPECT_GT(sent, 1);
    EXPECT_EQ(countCommands(log, "SendFrame"), sent + 1);  // the sample grab, then one per layer
    const HostDump dump = session.stopHostAndReadDump();
    const int target = newestProject(dump);
    const int source = dump.projects.begin()->first;
    for (const auto& [key, image] : dump.layers) {
        if (key.project != source) continue;
        const IndexedImage* result = dump.layer(target, key.frame, key.layer);
        ASSERT_NE(result, nullptr);
        EXPECT_TRUE(sameImage(*result, *runChain(*image, {kScale2x}, 0, false)));
    }
}

}  // namespace
