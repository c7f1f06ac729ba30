// What a run leaves in %APPDATA%\Marlune\settings.ini and the next run finds:
// the flow, the angle to its last decimal, zoom, tab, check boxes, Turns, the
// window's place and the recent flows; a damaged file met item by item with
// one log line and no box; and of two windows, the last to close wins.
#include <gtest/gtest.h>

#include <fstream>

#include "marlune_session.h"
#include "ui/settings.h"

namespace {

constexpr int kSingleNewProjectId = 115;
constexpr int kAllLayersId = 117;
constexpr int kAllFramesId = 118;

Launch settingsIn(const TempFolder& appData) {
    Launch launch;
    launch.appData = appData.path();
    return launch;
}

std::string settingsFile(const TempFolder& appData) {
    return appData.file("Marlune\\settings.ini");
}

Settings readSettingsFile(const std::string& path, std::vector<SettingsProblem>& problems) {
    const std::string text = fileText(path);
    EXPECT_FALSE(text.empty()) << path;
    return readSettingsText(text, problems);
}

void writeSettingsFile(const TempFolder& appData, const std::string& text) {
    CreateDirectoryA(appData.file("Marlune").c_str(), nullptr);
    std::ofstream(settingsFile(appData), std::ios::binary) << text;
}

bool checked(HWND page, int id) {
    return SendMessageW(ui::childById(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int linesStartingWith(const MarluneSession& session, const std::string& start) {
    int count = 0;
    for (const std::string& line : readLines(session.folder.file("marlune-out.txt"))) {
        if (line.rfind(start, 0) == 0) ++count;
    }
    return count;
}

TEST(RememberedSettings, ASecondRunOpensWhereTheFirstWasLeft) {
    TempFolder appData;
    TempFolder flows;
    const std::string flowPath = flows.file("turn.flow");
    RECT placed{};
    {
        MarluneSession first({"--sample"}, settingsIn(appData));
        ASSERT_NE(first.w.main, nullptr) << first.problem;
        const MarluneWindows& w = first.w;
        appendPasses(w, kRotSprite);
        typeAngle(w, "26.565");
        ui::click(w.wrapAround);
        ui::setTrackbar(w.zoomTrackbar, 3);
        ui::click(ui::childById(w.singlePage, kSingleNewProjectId));
        ui::selectTab(w.tabControl, 2);
        ui::postClick(w.saveFlow);
        EXPECT_EQ(ui::answerFileDialog(first.app->processId(), "Save flow", flowPath), "");
        waitUntil([&] { return !ui::comboItems(w.recentFlows).empty(); }, 5000);
        EXPECT_EQ(ui::comboItems(w.recentFlows).size(), 1u);
        ui::selectTab(w.tabControl, 1);
        ui::typeText(w.turnsBox, "8");
        ui::click(ui::childById(w.batchPage, kAllFramesId));
        SetWindowPos(w.main, nullptr, 37, 45, 820, 640, SWP_NOZORDER);
        ui::settle(w.main);
        GetWindowRect(w.main, &placed);
        first.closeAndExpectExit();
    }

    MarluneSession second({"--sample"}, settingsIn(appData));
    ASSERT_NE(second.w.main, nullptr) << second.problem;
    const MarluneWindows& w = second.w;
    EXPECT_EQ(ui::listItems(w.passList),
              (std::vector<std::string>{"Scale2x", "Scale2x", "Scale2x", "RotateUnzoom8x", "END"}));
    EXPECT_EQ(ui::text(w.angleLabel), "Rotation angle: 26.565");
    EXPECT_EQ(ui::text(w.angleBox), "26.565");
    EXPECT_EQ(SendMessageW(w.angleTrackbar, TBM_GETPOS, 0, 0), 27);
    EXPECT_EQ(SendMessageW(w.wrapAround, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(ui::text(w.zoomLabel), "Display zoom: x3");
    EXPECT_EQ(SendMessageW(w.zoomTrackbar, TBM_GETPOS, 0, 0), 3);
    EXPECT_EQ(SendMessageW(w.tabControl, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_FALSE(IsWindowVisible(w.singlePage));
    EXPECT_TRUE(IsWindowVisible(w.batchPage));
    EXPECT_FALSE(IsWindowVisible(w.filesPage));
    EXPECT_EQ(ui::text(w.turnsBox), "8");
    EXPECT_FALSE(checked(w.singlePage, kSingleNewProjectId));
    EXPECT_FALSE(checked(w.batchPage, kAllFramesId));
    RECT now{};
    GetWindowRect(w.main, &now);
    EXPECT_TRUE(EqualRect(&now, &placed))
        << now.left << "," << now.top << " " << now.right << "," << now.bottom;
    EXPECT_EQ(ui::comboItems(w.recentFlows),
              std::vector<std::string>{"turn.flow (" + flows.path() + ")"});
    // The first grab runs through the remembered flow, shown at the remembered zoom.
    const auto frame = second.grab(w.grabSample);
    ASSERT_NE(frame, nullptr);
    expectPreviewShows(ui::readClient(w.preview),
                       *runChain(*frame, kRotSprite, 26.565, true)->displayedImage(), 3);
    second.closeAndExpectExit();
}

TEST(RememberedSettings, ADamagedFileKeepsWhatIsGoodWithOneLogLineAndNoBox) {
    TempFolder appData;
    TempFolder flows;
    const std::string kept = flows.file("kept.flow");
    std::ofstream(kept) << "passes = Zoom2x\n";
    writeSettingsFile(appData,
                      "[flow]\npasses = Scale2x, Shrink2x\nangle = 45\nwrap = maybe\n"
                      "[window]\nmaximized = on\nplace = 5000, 4000, 800, 600\nzoom = 40\n"
                      "tab = Files\n[batch]\nturns = 5\nall layers = off\n"
                      "[recent flows]\nflow = " +
                          flows.file("gone.flow") + "\nflow = " + kept +
                          "\n[colours]\nred = 1\n[batch]\nall frames = of");
    MarluneSession session({"--sample"}, settingsIn(appData));
    ASSERT_NE(session.w.main, nullptr) << session.problem;
    const MarluneWindows& w = session.w;
    ui::settle(w.main);
    EXPECT_EQ(ui::findTopLevel("#32770", session.app->processId()), nullptr);
    EXPECT_EQ(linesStartingWith(session, "settings: damaged"), 1);
    EXPECT_EQ(linesStartingWith(session, "settings: a recent flow is gone"), 1);
    // Bad: the passes, wrap, zoom, the last line (cut short). Good: the rest.
    EXPECT_EQ(ui::listItems(w.passList), std::vector<std::string>{"END"});
    EXPECT_EQ(ui::text(w.angleLabel), "Rotation angle: 45");
    EXPECT_EQ(SendMessageW(w.wrapAround, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(ui::text(w.zoomLabel), "Display zoom: x1");
    EXPECT_TRUE(IsWindowVisible(w.filesPage));
    EXPECT_EQ(ui::text(w.turnsBox), "5");
    EXPECT_FALSE(checked(w.batchPage, kAllLayersId));
    EXPECT_TRUE(checked(w.batchPage, kAllFramesId));
    EXPECT_EQ(ui::comboItems(w.recentFlows),
              std::vector<std::string>{"kept.flow (" + flows.path() + ")"});
    // Far off every monitor: maximised, and restored onto the screen.
    EXPECT_TRUE(IsZoomed(w.main));
    ShowWindow(w.main, SW_RESTORE);
    ui::settle(w.main);
    RECT restored{};
    GetWindowRect(w.main, &restored);
    EXPECT_EQ(restored.right - restored.left, 800);
    EXPECT_EQ(restored.bottom - restored.top, 600);
    EXPECT_TRUE(restored.left >= 0 && restored.top >= 0 &&
                restored.right <= GetSystemMetrics(SM_CXSCREEN) &&
                restored.bottom <= GetSystemMetrics(SM_CYSCREEN));
    session.closeAndExpectExit();
    // Written anew, whole.
    std::vector<SettingsProblem> problems;
    const Settings rewritten = readSettingsFile(settingsFile(appData), problems);
    EXPECT_EQ(describeProblems(problems), "");
    EXPECT_EQ(rewritten.flow.angle, 45.0);
    EXPECT_EQ(rewritten.recentFlows.size(), 1u);
}

TEST(RememberedSettings, OfTwoWindowsTheLastToCloseWins) {
    TempFolder appData;
    MarluneSession first({"--sample"}, settingsIn(appData));
    ASSERT_NE(first.w.main, nullptr) << first.problem;
    MarluneSession second({"--sample"}, settingsIn(appData));
    ASSERT_NE(second.w.main, nullptr) << second.problem;
    ui::setTrackbar(first.w.zoomTrackbar, 2);
    ui::setTrackbar(second.w.zoomTrackbar, 5);
    second.closeAndExpectExit();
    first.closeAndExpectExit();
    std::vector<SettingsProblem> problems;
    EXPECT_EQ(readSettingsFile(settingsFile(appData), problems).zoom, 2);
}

}  // namespace
