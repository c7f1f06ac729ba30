// What "Send image" and "Launch process" put into the host, one error box per
// failure, and a batch under way: the controls that would change its flow or
// angle disabled and their messages refused, second presses refused, a close
// held until the batch ends.
#include <gtest/gtest.h>

#include <algorithm>

#include "marlune_session.h"

namespace {

// Every frame and layer of project `source` is in `target`, run through the flow.
void expectProcessed(const HostDump& dump, int source, int target, const std::vector<int>& kinds,
                     double degrees) {
    int compared = 0;
    for (const auto& [key, image] : dump.layers) {
        if (key.project != source) continue;
        SCOPED_TRACE(testing::Message() << "frame " << key.frame << " layer " << key.layer);
        const IndexedImage* sent = dump.layer(target, key.frame, key.layer);
        ASSERT_NE(sent, nullptr);
        EXPECT_TRUE(sameImage(*sent, *runChain(*image, kinds, degrees)->displayedImage()));
        ++compared;
    }
    EXPECT_EQ(compared, 8) << "the sample has 4 frames of 2 layers";
}

TEST(HostOperation, SendImageAndOneErrorBoxPerFailure) {
    MarluneSession session({"--sample"});
    ASSERT_NE(session.w.main, nullptr) << session.problem;
    const MarluneWindows& w = session.w;
    ui::postClick(w.send);
    EXPECT_EQ(session.takeErrorBox("Error in image processing!\n"),
              "ERROR: nothing to send: grab an image first");

    const auto frame = session.grab();
    ASSERT_NE(frame, nullptr);
    appendPasses(w, {kScale2x, kRotate});
    ui::setTrackbar(w.angleTrackbar, 30);
    ui::click(w.send);  // "As new project" is checked
    EXPECT_EQ(ui::findTopLevel("#32770", session.app->processId()), nullptr);

    const HostDump dump = session.stopHostAndReadDump();
    ui::postClick(w.grab);
    const std::string failure = session.takeErrorBox("Error in image import!\n", 30000);
    EXPECT_TRUE(failure != "" && failure != "undefined error") << failure;
    ASSERT_EQ(dump.projects.size(), 2u);
    const IndexedImage* sent = dump.layer(dump.projects.rbegin()->first, 1, 0);
    ASSERT_NE(sent, nullptr);
    EXPECT_TRUE(sameImage(*sent, *runChain(*frame, {kScale2x, kRotate}, 30)->displayedImage()));
}

// "ReceiveFrame" is answered late, so each batch takes seconds and what the
// user does meanwhile arrives in the middle of it.
TEST(HostOperation, ABatchKeepsItsFlowRefusesSecondPressesAndHoldsTheClose) {
    MarluneSession session({"--sample", "--late", "ReceiveFrame=500"});
    ASSERT_NE(session.w.main, nullptr) << session.problem;
    const MarluneWindows& w = session.w;
    const std::vector<int> flow = {kScale2x, kRotate};
    ui::selectTab(w.tabControl, 1);
    // The sample shows without anything else repainting the preview.
    const auto sample = session.grab(w.grabSample);
    ASSERT_NE(sample, nullptr);
    expectPreviewShows(ui::readClientAsShown(w.preview), *sample);
    appendPasses(w, flow);
    typeAngle(w, "26.565");
    ui::selectListEntry(w.passList, 0);

    ui::postClick(w.launch);
    ASSERT_TRUE(ui::waitForEnabled(w.launch, false, 10000));
    ui::settle(w.main);  // the rest is disabled right after
    const HWND frozen[] = {w.grab,          w.send,         w.grabSample,
                           w.addButton,     w.kindSelector, w.removeButton,
                           w.angleTrackbar, w.angleBox,     w.wrapAround};
    for (HWND control : frozen) EXPECT_FALSE(IsWindowEnabled(control)) << GetDlgCtrlID(control);
    // What reaches the panels anyway changes neither flow nor angle.
    ui::selectListEntry(w.passList, 0);
    EXPECT_FALSE(IsWindowEnabled(w.removeButton));
    for (int id : {109, 110}) SendMessageW(w.passManager, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    SendMessageW(w.propertyPanel, WM_COMMAND, MAKEWPARAM(107, 0), 0);
    ui::setTrackbar(w.angleTrackbar, 90);
    typeAngle(w, "90");
    EXPECT_EQ(ui::listItems(w.passList), (std::vector<std::string>{"Scale2x", "Rotate", "END"}));
    EXPECT_EQ(SendMessageW(w.wrapAround, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(ui::text(w.angleLabel), "Rotation angle: 26.565");
    EXPECT_EQ(SendMessageW(w.angleTrackbar, TBM_GETPOS, 0, 0), 27);
    // Zoom stays live; a second Launch and a grab are refused.
    ui::setTrackbar(w.zoomTrackbar, 3);
    EXPECT_EQ(ui::text(w.zoomLabel), "Display zoom: x3");
    PostMessageW(w.batchPage, WM_COMMAND, MAKEWPARAM(102, BN_CLICKED), 0);
    PostMessageW(w.batchPage, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), 0);

    // Afterwards every control is back, Remove as the selection wants it; the
    // preview shows the last result sent.
    ASSERT_TRUE(ui::waitForEnabled(w.launch, true, 60000));
    ui::settle(w.main);  // the rest is enabled right after
    for (HWND control : frozen) EXPECT_TRUE(IsWindowEnabled(control)) << GetDlgCtrlID(control);
    expectPreviewShows(ui::readClientAsShown(w.preview), *clipboardImage(), 3);
    ui::selectListEntry(w.passList, 2);
    ui::click(w.grabSample);
    EXPECT_FALSE(IsWindowEnabled(w.removeButton));
    EXPECT_TRUE(IsWindowEnabled(w.addButton));

    // Closing in the middle of a second batch waits for it.
    ui::postClick(w.launch);
    ASSERT_TRUE(ui::waitForEnabled(w.launch, false, 10000));
    PostMessageW(w.main, WM_CLOSE, 0, 0);
    ui::pumpFor(500);
    EXPECT_TRUE(IsWindow(w.main)) << "closed in the middle of the batch";
    ASSERT_TRUE(session.app->waitForExit(60000));
    EXPECT_EQ(session.app->exitCode(), 0u);
    EXPECT_EQ(ui::findTopLevel("#32770", session.app->processId()), nullptr);

    // One "SendFrame" per pair and one per grab: the refused grab sent none.
    const std::vector<std::string> log = readLines(session.folder.file("host-log.txt"));
    EXPECT_EQ(std::count(log.begin(), log.end(), "SendFrame"), 16 + 2);
    // Each batch ends in its new project, so the second one processed the first's.
    const HostDump dump = session.stopHostAndReadDump();
    ASSERT_EQ(dump.projects.size(), 3u) << "a refused press started a batch";
    expectProcessed(dump, 1, 2, flow, 26.565);
    expectProcessed(dump, 2, 3, flow, 26.565);
}

}  // namespace
