// A batch under way: its progress, the controls that would change its flow or
// angle disabled and their messages refused, Cancel, Esc and a close stopping
// it after the pair in flight or while it prepares its new project; a
// turn-table sheet (and "Send image" before any grab). A send's pixels: the
// host fault and Files tab tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "marlune_session.h"

namespace {

// The first `delivered` pairs (1, 0), (1, 1), (2, 0), ... of `target` hold
// theirs of `source` run through the flow; the rest are blank, as "New" made them.
void expectDelivered(const HostDump& dump, int source, int target, const std::vector<int>& flow,
                     int delivered) {
    for (int index = 0; index < 8; ++index) {
        const int f = index / 2 + 1, l = index % 2;
        SCOPED_TRACE(testing::Message()
                     << "project " << target << " frame " << f << " layer " << l);
        const IndexedImage* sent = dump.layer(target, f, l);
        ASSERT_NE(sent, nullptr);
        if (index < delivered) {
            const auto chain = runChain(*dump.layer(source, f, l), flow, 26.565);
            EXPECT_TRUE(sameImage(sent, *chain->displayedImage()));
            continue;
        }
        for (int y = 0; y < sent->height; ++y) {
            EXPECT_EQ(std::count(sent->row(y), sent->row(y) + sent->width, 0), sent->width) << y;
        }
    }
}

// Waits until the batch page's status reads `text`.
bool waitForStatus(const MarluneWindows& w, const std::string& text) {
    return waitUntil([&] { return ui::text(w.batchStatus) == text; });
}

// "ReceiveFrame" is answered late, so each batch takes seconds and what the
// user does meanwhile arrives in the middle of it. Each batch goes into a new
// project from the one the last left current.
TEST(HostOperation, ABatchShowsProgressKeepsItsFlowAndStopsOnCancelOrClose) {
    MarluneSession session({"--sample", "--late", "ReceiveFrame=200"});
    ASSERT_NE(session.w.main, nullptr) << session.problem;
    const MarluneWindows& w = session.w;
    const std::vector<int> flow = {kScale2x, kRotateUnzoom2x};  // keeps the size
    ui::selectTab(w.tabControl, 1);
    // The sample shows without anything else repainting the preview.
    const auto sample = session.grab(w.grabSample);
    ASSERT_NE(sample, nullptr);
    expectPreviewShows(ui::readClientAsShown(w.preview), *sample);
    appendPasses(w, flow);
    typeAngle(w, "26.565");
    ui::selectListEntry(w.passList, 0);

    ui::postClick(w.launch);
    ASSERT_TRUE(waitForStatus(w, "Frame 1 of 4, layer 2 of 2"));
    const HWND frozen[] = {w.grab,          w.send,         w.grabSample,
                           w.addButton,     w.kindSelector, w.removeButton,
                           w.angleTrackbar, w.angleBox,     w.wrapAround};
    for (HWND control : frozen) EXPECT_FALSE(IsWindowEnabled(control)) << GetDlgCtrlID(control);
    EXPECT_TRUE(IsWindowEnabled(w.launch));
    EXPECT_EQ(ui::text(w.launch), "Cancel");
    // What reaches the panels anyway changes neither flow nor angle.
    ui::selectListEntry(w.passList, 0);
    EXPECT_FALSE(IsWindowEnabled(w.removeButton));
    for (int id : {109, 110}) SendMessageW(w.passManager, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    SendMessageW(w.propertyPanel, WM_COMMAND, MAKEWPARAM(107, 0), 0);
    ui::setTrackbar(w.angleTrackbar, 90);
    typeAngle(w, "90");
    EXPECT_EQ(ui::listItems(w.passList),
              (std::vector<std::string>{"Scale2x", "RotateUnzoom2x", "END"}));
    EXPECT_EQ(SendMessageW(w.wrapAround, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(ui::text(w.angleLabel), "Rotation angle: 26.565");
    EXPECT_EQ(SendMessageW(w.angleTrackbar, TBM_GETPOS, 0, 0), 27);
    // Zoom stays live; a grab is refused.
    ui::setTrackbar(w.zoomTrackbar, 3);
    EXPECT_EQ(ui::text(w.zoomLabel), "Display zoom: x3");
    PostMessageW(w.batchPage, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), 0);
    ASSERT_TRUE(waitForStatus(w, "Frame 3 of 4, layer 1 of 2"));
    const ui::Pixels midBatch = ui::readClient(w.main);

    // Cancel: the pair in flight completes, an information box says how far it got.
    ui::postClick(w.launch);
    int cancelled = -1;
    EXPECT_EQ(std::sscanf(session.takeErrorBox("Marlune").c_str(),
                          "Batch cancelled after %d of 8 frames", &cancelled),
              1);
    ASSERT_TRUE(ui::waitForEnabled(w.grabSample, true, 10000));
    ui::settle(w.main);  // the rest is enabled right after
    for (HWND control : frozen) EXPECT_TRUE(IsWindowEnabled(control)) << GetDlgCtrlID(control);
    EXPECT_EQ(ui::text(w.launch), "Launch process");
    EXPECT_EQ(ui::text(w.batchStatus), "");
    expectPreviewShows(ui::readClientAsShown(w.preview), *clipboardImage(), 3);
    screenshot(midBatch, "batch-page-mid-batch");

    // A whole batch; then one stopped by closing the window. (Esc reaches
    // the same request: see the test of a new project's preparation.)
    ui::postClick(w.launch);
    ASSERT_TRUE(ui::waitForEnabled(w.grabSample, false, 10000));
    ASSERT_TRUE(ui::waitForEnabled(w.grabSample, true, 60000));
    EXPECT_EQ(ui::findTopLevel("#32770", session.app->processId()), nullptr);
    ui::postClick(w.launch);
    ASSERT_TRUE(waitForStatus(w, "Frame 2 of 4, layer 1 of 2"));
    session.closeAndExpectExit(5000);

    // Every pair started was completed: one "SendFrame" and one "ReceiveFrame"
    // each; the grabs sent one "SendFrame" each, the refused one none.
    const std::vector<std::string> log = readLines(session.folder.file("host-log.txt"));
    const auto received = std::count(log.begin(), log.end(), "ReceiveFrame");
    EXPECT_EQ(std::count(log.begin(), log.end(), "SendFrame"), received + 1);
    const int closed = static_cast<int>(received) - cancelled - 8;
    const HostDump dump = session.stopHostAndReadDump();
    ASSERT_EQ(dump.projects.size(), 4u) << "a refused press started a batch";
    expectSampleUntouched(dump);
    for (int stopped : {cancelled, closed}) EXPECT_TRUE(stopped >= 3 && stopped < 8);
    expectDelivered(dump, 1, 2, flow, cancelled);
    expectDelivered(dump, 2, 3, flow, 8);
    expectDelivered(dump, 3, 4, flow, closed);
}

// Waits until the batch page says it is preparing the new project and has got
// to `layer` of the host's 100000.
bool waitForPreparation(const MarluneWindows& w, int layer) {
    return waitUntil(
        [&] {
            int shown = 0;
            return std::sscanf(ui::text(w.batchStatus).c_str(),
                               "Preparing the new project: layer %d of 100000", &shown) == 1 &&
                   shown >= layer;
        },
        20000);
}

// A host that claims 100000 layers: a batch into a new project would spend
// minutes adding them one command at a time. Cancel, Esc and a close each stop
// it after the command in flight (about a millisecond here), well within the
// 2 s allowed; the bound has a margin for a busy machine, and the figure is
// printed. Each new project stays, named, as far as it got; the sample is
// untouched. Each batch starts from the project the last one left current.
TEST(HostOperation, PreparingANewProjectStopsOnCancelEscOrClose) {
    MarluneSession session({"--sample", "--claim-layers", "100000"});
    ASSERT_NE(session.w.main, nullptr) << session.problem;
    const MarluneWindows& w = session.w;
    ui::selectTab(w.tabControl, 1);
    ASSERT_NE(session.grab(w.grabSample), nullptr);
    for (const std::string stop : {"Cancel", "Esc", "close"}) {
        SCOPED_TRACE(stop);
        ui::postClick(w.launch);
        ASSERT_TRUE(waitForPreparation(w, 200));
        const auto asked = std::chrono::steady_clock::now();
        if (stop == "Cancel") ui::postClick(w.launch);
        if (stop == "Esc") PostMessageW(w.launch, WM_KEYDOWN, VK_ESCAPE, 1);
        if (stop == "close") PostMessageW(w.main, WM_CLOSE, 0, 0);
        const bool stopped =
            stop == "close"
                ? session.app->waitForExit(60000)
                : ui::waitForMessageBox(session.app->processId(), 60000).window != nullptr;
        const auto ms =
            static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       std::chrono::steady_clock::now() - asked)
                                       .count());
        std::printf("%s: stopped %lld ms after it was asked for\n", stop.c_str(), ms);
        ASSERT_TRUE(stopped);
        EXPECT_LT(ms, 10000);
        if (stop == "close") break;
        int made = 0;
        EXPECT_EQ(
            std::sscanf(session.takeErrorBox("Marlune").c_str(),
                        "Batch cancelled while preparing the new project (layer %d of 100000)",
                        &made),
            1);
        EXPECT_GE(made, 200);
        ASSERT_TRUE(ui::waitForEnabled(w.grabSample, true, 10000));
    }
    EXPECT_EQ(session.app->exitCode(), 0u);

    const HostDump dump = session.stopHostAndReadDump();
    ASSERT_EQ(dump.projects.size(), 4u);
    expectSampleUntouched(dump);
    for (int project = 2; project <= 4; ++project) {
        const std::map<std::string, std::string>& made = dump.projects.at(project);
        EXPECT_EQ(made.at("name"), "sample_Marlune_" + std::to_string(project - 1));
        EXPECT_EQ(made.at("frames") + "x" + made.at("layers"), "4x1");  // the rest were claimed
    }
}

// Turns = 8 with the RotSprite-style flow: a new project of 8 frames per
// layer, frame k the shown frame at 45 (k - 1) degrees, the source's delay on
// each. Before the grab, "Send image" has nothing to send: one box says so.
TEST(HostOperation, TurnTableSheet) {
    MarluneSession session({"--sample"});
    ASSERT_NE(session.w.main, nullptr) << session.problem;
    const MarluneWindows& w = session.w;
    ui::postClick(w.send);
    EXPECT_EQ(session.takeErrorBox("Error in image processing!\n"),
              "ERROR: nothing to send: grab an image first");
    ui::selectTab(w.tabControl, 1);
    ui::click(w.grabSample);
    appendPasses(w, kRotSprite);
    ui::typeText(w.turnsBox, "8");
    ui::postClick(w.launch);
    ASSERT_TRUE(ui::waitForEnabled(w.grabSample, false, 10000));
    ASSERT_TRUE(ui::waitForEnabled(w.grabSample, true, 60000));
    EXPECT_EQ(ui::findTopLevel("#32770", session.app->processId()), nullptr);
    EXPECT_EQ(ui::text(w.angleLabel), "Rotation angle: 0");

    const HostDump dump = session.stopHostAndReadDump();
    ASSERT_EQ(dump.projects.size(), 2u);
    const std::map<std::string, std::string>& sheet = dump.projects.at(2);
    EXPECT_EQ(sheet.at("frames") + "x" + sheet.at("layers"), "8x2");
    const std::string& delays = dump.projects.at(1).at("delays");
    const std::string shown = delays.substr(0, delays.find(','));  // frame 1's
    std::string expected = shown;
    for (int k = 2; k <= 8; ++k) expected.append(1, ',').append(shown);
    EXPECT_EQ(sheet.at("delays"), expected);
    for (int k = 1; k <= 8; ++k) {
        for (int l = 0; l < 2; ++l) {
            EXPECT_TRUE(sameImage(
                dump.layer(2, k, l),
                *runChain(*dump.layer(1, 1, l), kRotSprite, 45.0 * (k - 1))->displayedImage()))
                << "frame " << k << " layer " << l;
        }
    }
}

}  // namespace
