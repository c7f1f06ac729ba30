// Start-up, every control where the layout puts it, resizing, the minimum
// size, the source tabs and closing: one launch, the read-only checks first.
#include <gtest/gtest.h>

#include "marlune_session.h"
#include "passes/pass_kinds.h"

namespace {

void expectPlace(HWND window, int x, int y, int width, int height) {
    const RECT r = ui::rectInParent(window);
    EXPECT_EQ((std::vector<long>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
              (std::vector<long>{x, y, width, height}));
}

// The panels for a client area of W x H; the pages fill the tab's display area
// less 15 pixels on every side.
void expectLayout(const MarluneWindows& w) {
    const int W = ui::clientSize(w.main).cx, H = ui::clientSize(w.main).cy;
    expectPlace(w.preview, 10, 10, W - 230, H - 210);
    expectPlace(w.zoomStrip, 10, H - 190, W - 230, 30);
    expectPlace(w.passManager, W - 210, 10, 200, 280);
    expectPlace(w.tabControl, W - 210, H - 230, 200, 220);
    expectPlace(w.propertyPanel, 10, H - 150, W - 230, 140);
    RECT page;
    GetClientRect(w.tabControl, &page);
    ui::sendWithRemoteData(w.tabControl, TCM_ADJUSTRECT, FALSE, &page, sizeof page);
    for (HWND p : {w.singlePage, w.batchPage, w.filesPage}) {
        expectPlace(p, page.left + 15, page.top + 15, page.right - page.left - 30,
                    page.bottom - page.top - 30);
    }
}

TEST(Startup, WithoutHostShowsOneErrorBoxAndExitsWhenItIsClosed) {
    MarluneSession session;
    ui::waitForMessageBox(session.app->processId());
    EXPECT_FALSE(session.app->waitForExit(300)) << "the box must hold the program until closed";
    EXPECT_EQ(
        session.takeErrorBox("Error in startup\n"),
        "Cannot connect with kelvara.\nPlease launch kelvara first then relaunch the plugin\n");
    EXPECT_TRUE(session.app->waitForExit(10000));
    EXPECT_TRUE(session.printed("Kelvara is inactive!!"));
}

TEST(MainWindow, ControlsLayoutResizingTabsAndClose) {
    MarluneSession session({"--sample"});
    ASSERT_NE(session.w.main, nullptr) << session.problem;
    const MarluneWindows& w = session.w;
    EXPECT_EQ(ui::text(w.main), "Marlune v0.2.1");
    expectLayout(w);
    // Width 0: placed or sized by the system.
    auto expectControl = [](HWND parent, int id, const char* className, const char* text, int x = 0,
                            int y = 0, int width = 0, int height = 0) {
        HWND control = ui::childById(parent, id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_STRCASEEQ(ui::className(control).c_str(), className) << id;
        EXPECT_EQ(ui::text(control), text) << id;
        if (width != 0) expectPlace(control, x, y, width, height);
    };
    expectControl(w.main, 112, "RenderPanelClass", "");
    expectControl(w.zoomStrip, 119, "msctls_trackbar32", "Trackbar Control", 160, 0, 220, 24);
    expectControl(w.zoomStrip, 122, "STATIC", "Display zoom: x1", 5, 0, 125, 15);
    expectControl(w.propertyPanel, 105, "STATIC", "Rotation angle: 0", 155, 5, 130, 18);
    expectControl(w.propertyPanel, 106, "msctls_trackbar32", "Trackbar Control", 30, 23, 380, 24);
    expectControl(w.propertyPanel, 107, "button", "Wrap around", 15, 50, 150, 35);
    expectControl(w.propertyPanel, 124, "BUTTON", "Help / About", 25, 105, 390, 24);
    expectControl(w.propertyPanel, 125, "EDIT", "0");
    expectControl(w.passManager, 0, "Button", "Transformation passes", 0, 0, 200, 280);
    expectControl(w.passManager, 111, "ListBox", "");
    expectControl(w.passManager, 108, "combobox", "Zoom2x");
    expectControl(w.passManager, 109, "BUTTON", "Add", 130, 220, 40, 24);
    expectControl(w.passManager, 110, "BUTTON", "Remove", 10, 250, 170, 24);
    const int pw = ui::clientSize(w.singlePage).cx;
    expectControl(w.singlePage, 100, "BUTTON", "Grab image", 0, 0, pw, 24);
    expectControl(w.singlePage, 0, "button", "Export", 0, 24, pw, 135);
    expectControl(w.singlePage, 115, "button", "As new project", 5, 48, pw - 10, 20);
    expectControl(w.singlePage, 101, "BUTTON", "Send image", 5, 68, pw - 10, 24);
    expectControl(w.batchPage, 100, "BUTTON", "Grab sample image", 0, 0, pw, 24);
    expectControl(w.batchPage, 0, "button", "Process", 0, 24, pw, 135);
    expectControl(w.batchPage, 116, "button", "As new project", 5, 39, pw - 10, 20);
    expectControl(w.batchPage, 117, "button", "All layers", 5, 59, pw - 10, 20);
    expectControl(w.batchPage, 118, "button", "All frames", 5, 79, pw - 10, 20);
    expectControl(w.batchPage, 102, "BUTTON", "Launch process", 5, 99, pw - 10, 24);
    expectControl(w.batchPage, 126, "STATIC", "", 5, 125, pw - 10, 16);
    expectControl(w.batchPage, 127, "STATIC", "Turns", 5, 143, 50, 16);
    expectControl(w.batchPage, 128, "EDIT", "", 60, 141, 40, 18);
    expectControl(w.singlePage, 126, "STATIC", "", 5, 94, pw - 10, 16);
    // The Files tab's own controls.
    expectControl(w.filesPage, 130, "BUTTON", "Open image?", 0, 0, pw, 24);
    expectControl(w.filesPage, 131, "STATIC", "", 0, 26, pw, 16);
    expectControl(w.filesPage, 132, "BUTTON", "Save result?", 0, 44, pw, 24);
    expectControl(w.filesPage, 0, "button", "Flow", 0, 70, pw, 90);
    expectControl(w.filesPage, 133, "BUTTON", "Save flow?", 5, 86, pw - 10, 22);
    expectControl(w.filesPage, 134, "BUTTON", "Load flow?", 5, 110, pw - 10, 22);
    expectControl(w.filesPage, 135, "STATIC", "Recent", 5, 137, 40, 16);
    EXPECT_EQ(ui::comboItems(w.recentFlows), std::vector<std::string>{});
    // Every page's controls lie inside the page.
    for (HWND p : {w.singlePage, w.batchPage, w.filesPage}) {
        const SIZE page = ui::clientSize(p);
        for (HWND child = GetWindow(p, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const RECT r = ui::rectInParent(child);
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= page.cx && r.bottom <= page.cy)
                << ui::className(p) << " " << GetDlgCtrlID(child);
        }
    }
    // Three tabs side by side on one row, within the tab control.
    ASSERT_EQ(SendMessageW(w.tabControl, TCM_GETITEMCOUNT, 0, 0), 3);
    RECT tabs[3];
    for (int i = 0; i < 3; ++i) {
        ui::sendWithRemoteData(w.tabControl, TCM_GETITEMRECT, i, &tabs[i], sizeof tabs[i]);
    }
    EXPECT_EQ(tabs[2].top, tabs[0].top);
    // Room to spare: a row that does not fit scrolls, hiding the first tab.
    EXPECT_LT(tabs[2].right, ui::clientSize(w.tabControl).cx);
    // The angle box lies inside the panel, clear of the controls that were there before.
    const RECT box = ui::rectInParent(w.angleBox);
    const SIZE panel = ui::clientSize(w.propertyPanel);
    EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= panel.cx && box.bottom <= panel.cy);
    for (HWND child = GetWindow(w.propertyPanel, GW_CHILD); child != w.angleBox;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r = ui::rectInParent(child), overlap;
        EXPECT_FALSE(IntersectRect(&overlap, &r, &box)) << GetDlgCtrlID(child);
    }
    EXPECT_EQ(ui::listItems(w.passList), std::vector<std::string>{"END"});
    EXPECT_FALSE(IsWindowEnabled(w.removeButton));
    EXPECT_EQ(ui::comboItems(w.kindSelector),
              std::vector<std::string>(passKindNamesNarrow, passKindNamesNarrow + kPassKindCount));

    // Resizing lays out again; 700 x 560 is the least.
    resizeClient(w.main, 1000, 800);
    expectPlace(w.preview, 10, 10, 770, 590);
    expectLayout(w);
    // The system carries this message's structure across processes itself.
    MINMAXINFO limits{};
    SendMessageW(w.main, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 700);
    EXPECT_EQ(limits.ptMinTrackSize.y, 560);

    // Exactly one page shows: Single image at start, then the chosen one.
    EXPECT_TRUE(IsWindowVisible(w.singlePage));
    for (int tab : {2, 1, 0, 2, 0}) {
        ui::selectTab(w.tabControl, tab);
        ui::settle(w.main);
        EXPECT_EQ(IsWindowVisible(w.singlePage) != FALSE, tab == 0);
        EXPECT_EQ(IsWindowVisible(w.batchPage) != FALSE, tab == 1);
        EXPECT_EQ(IsWindowVisible(w.filesPage) != FALSE, tab == 2);
    }
    session.closeAndExpectExit();
}

}  // namespace
