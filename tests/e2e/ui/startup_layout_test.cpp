// Start-up, the windows and controls the application builds, the layout on
// resize, the minimum size and the source tabs.
#include <gtest/gtest.h>

#include "marlune_session.h"

namespace {

void expectRect(HWND window, int x, int y, int width, int height, const char* what) {
    ASSERT_NE(window, nullptr) << what;
    const RECT r = ui::rectInParent(window);
    EXPECT_EQ(r.left, x) << what;
    EXPECT_EQ(r.top, y) << what;
    EXPECT_EQ(r.right - r.left, width) << what;
    EXPECT_EQ(r.bottom - r.top, height) << what;
}

void expectControl(HWND parent, int id, const char* className, const char* text) {
    HWND control = ui::childById(parent, id);
    ASSERT_NE(control, nullptr) << "control " << id;
    EXPECT_STRCASEEQ(ui::className(control).c_str(), className) << "control " << id;
    EXPECT_EQ(ui::text(control), text) << "control " << id;
}

// The panels sit where the layout table puts them for the current client size.
void expectLayout(const MarluneWindows& w) {
    const SIZE client = ui::clientSize(w.main);
    const int W = client.cx;
    const int H = client.cy;
    expectRect(w.preview, 10, 10, W - 230, H - 210, "preview");
    expectRect(w.zoomStrip, 10, H - 190, W - 230, 30, "zoom strip");
    expectRect(w.passManager, W - 210, 10, 200, 280, "pass manager");
    expectRect(w.tabControl, W - 210, H - 230, 200, 220, "tab control");
    expectRect(w.propertyPanel, 10, H - 150, W - 230, 140, "property panel");
    // Both pages fill the tab's display area less 15 pixels on every side.
    const RECT single = ui::rectInParent(w.singlePage);
    const RECT batch = ui::rectInParent(w.batchPage);
    EXPECT_TRUE(EqualRect(&single, &batch));
    RECT display;
    GetClientRect(w.tabControl, &display);
    ui::sendWithRemoteData(w.tabControl, TCM_ADJUSTRECT, FALSE, &display, sizeof display);
    InflateRect(&display, -15, -15);
    EXPECT_TRUE(EqualRect(&single, &display));
}

TEST(Startup, WithoutHostShowsTheErrorBoxAndExitsWhenItIsClosed) {
    MarluneSession session;
    ASSERT_TRUE(session.app().started());
    const ui::MessageBoxInfo box = ui::waitForMessageBox(session.app().processId());
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.caption, "Error in startup\n");
    EXPECT_EQ(
        box.text,
        "Cannot connect with kelvara.\nPlease launch kelvara first then relaunch the plugin\n");
    EXPECT_FALSE(session.app().waitForExit(300)) << "the box must hold the program until closed";
    ui::closeMessageBox(box.window);
    EXPECT_TRUE(session.app().waitForExit(10000));
    EXPECT_NE(session.appOutput().find("Kelvara is inactive!!"), std::string::npos);
}

TEST(MainWindow, BuildsEveryPanelAndControl) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready()) << session.problem();
    const MarluneWindows& w = session.windows();
    EXPECT_EQ(ui::text(w.main), "Marlune v0.2.1");
    EXPECT_EQ(GetWindowLongW(w.main, GWL_STYLE) & (WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN),
              static_cast<LONG>(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN));
    EXPECT_EQ(ui::className(w.preview), "RenderPanelClass");
    EXPECT_TRUE(GetWindowLongW(w.preview, GWL_STYLE) & WS_BORDER);
    expectLayout(w);

    // Zoom strip.
    expectControl(w.zoomStrip, 119, "msctls_trackbar32", "Trackbar Control");
    expectControl(w.zoomStrip, 122, "STATIC", "Display zoom: x1");
    expectControl(w.zoomStrip, 120, "STATIC", "x1");
    expectControl(w.zoomStrip, 121, "STATIC", "x16");
    expectRect(ui::childById(w.zoomStrip, 119), 160, 0, 220, 24, "zoom trackbar");
    expectRect(ui::childById(w.zoomStrip, 122), 5, 0, 125, 15, "zoom label");
    HWND zoomBar = ui::childById(w.zoomStrip, 119);
    EXPECT_EQ(SendMessageW(zoomBar, TBM_GETRANGEMIN, 0, 0), 1);
    EXPECT_EQ(SendMessageW(zoomBar, TBM_GETRANGEMAX, 0, 0), 16);
    EXPECT_EQ(SendMessageW(zoomBar, TBM_GETPOS, 0, 0), 1);
    EXPECT_EQ(SendMessageW(zoomBar, TBM_GETBUDDY, TRUE, 0),
              reinterpret_cast<LRESULT>(ui::childById(w.zoomStrip, 120)));

    // Property panel.
    expectControl(w.propertyPanel, 105, "STATIC", "Rotation angle: 0");
    expectControl(w.propertyPanel, 106, "msctls_trackbar32", "Trackbar Control");
    expectControl(w.propertyPanel, 107, "button", "Wrap around");
    expectControl(w.propertyPanel, 124, "BUTTON", "Help / About");
    expectRect(ui::childById(w.propertyPanel, 106), 30, 23, 380, 24, "angle trackbar");
    expectRect(ui::childById(w.propertyPanel, 105), 155, 5, 130, 18, "angle label");
    expectRect(ui::childById(w.propertyPanel, 107), 15, 50, 150, 35, "wrap around");
    expectRect(ui::childById(w.propertyPanel, 124), 25, 105, 390, 24, "help button");
    HWND angleBar = ui::childById(w.propertyPanel, 106);
    EXPECT_EQ(SendMessageW(angleBar, TBM_GETRANGEMAX, 0, 0), 360);
    EXPECT_EQ(SendMessageW(angleBar, TBM_GETPAGESIZE, 0, 0), 45);
    EXPECT_EQ(SendMessageW(angleBar, TBM_GETSELEND, 0, 0), 359);
    EXPECT_EQ(SendMessageW(ui::childById(w.propertyPanel, 107), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // Pass manager.
    expectRect(w.passList, 10, 20, 170, ui::rectInParent(w.passList).bottom - 20, "pass list");
    expectRect(w.addButton, 130, 220, 40, 24, "add");
    expectRect(w.removeButton, 10, 250, 170, 24, "remove");
    EXPECT_EQ(ui::text(ui::findChild(w.passManager, "Button")), "Transformation passes");
    EXPECT_EQ(ui::listItems(w.passList), std::vector<std::string>{"END"});
    EXPECT_EQ(ui::listSelection(w.passList), 0);
    EXPECT_EQ(ui::comboItems(w.kindSelector),
              (std::vector<std::string>{"Zoom2x", "Zoom3x", "Scale2x", "Scale3x", "Canvas2x",
                                        "Space2x", "Rotate", "RotateUnzoom2x", "RotateUnzoom4x",
                                        "RotateUnzoom6x", "RotateUnzoom8x", "RotSprite"}));
    EXPECT_EQ(SendMessageW(w.kindSelector, CB_GETCURSEL, 0, 0), 0);
    EXPECT_FALSE(IsWindowEnabled(w.removeButton));

    // Source pages: buttons across the top, the band inside the group box.
    const int pageWidth = ui::clientSize(w.singlePage).cx;
    expectControl(w.singlePage, 100, "BUTTON", "Grab image");
    expectControl(w.singlePage, 115, "button", "As new project");
    expectControl(w.singlePage, 101, "BUTTON", "Send image");
    expectRect(ui::childById(w.singlePage, 100), 0, 0, pageWidth, 24, "grab");
    HWND group = ui::findChild(w.singlePage, "button", 1);
    EXPECT_EQ(ui::text(group), "Export");
    expectRect(group, 0, 24, pageWidth, 135, "export group");
    expectRect(ui::childById(w.singlePage, 115), 5, 48, pageWidth - 10, 20, "as new project");
    expectRect(ui::childById(w.singlePage, 101), 5, 68, pageWidth - 10, 24, "send");
    expectControl(w.batchPage, 100, "BUTTON", "Grab sample image");
    expectControl(w.batchPage, 116, "button", "As new project");
    expectControl(w.batchPage, 117, "button", "All layers");
    expectControl(w.batchPage, 118, "button", "All frames");
    expectControl(w.batchPage, 102, "BUTTON", "Launch process");
    expectRect(ui::childById(w.batchPage, 102), 5, 99, pageWidth - 10, 24, "launch");
    for (int id : {116, 117, 118}) {
        EXPECT_EQ(SendMessageW(ui::childById(w.batchPage, id), BM_GETCHECK, 0, 0), BST_CHECKED)
            << id;
    }
    EXPECT_EQ(SendMessageW(ui::childById(w.singlePage, 115), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST(MainWindow, ResizingMovesThePanelsByTheTableAndTheMinimumHolds) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready()) << session.problem();
    const MarluneWindows& w = session.windows();
    // Grow the window so that its client area is 1000 x 800.
    RECT outer{0, 0, 1000, 800};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(w.main, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(w.main, GWL_EXSTYLE)));
    SetWindowPos(w.main, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOMOVE);
    ui::settle(w.main);
    const SIZE client = ui::clientSize(w.main);
    EXPECT_EQ(client.cx, 1000);
    EXPECT_EQ(client.cy, 800);
    expectLayout(w);
    expectRect(w.preview, 10, 10, 770, 590, "preview at 1000 x 800");

    // Minimising moves nothing; restoring lays out again.
    ShowWindow(w.main, SW_MINIMIZE);
    ui::settle(w.main);
    expectRect(w.preview, 10, 10, 770, 590, "preview while minimised");
    ShowWindow(w.main, SW_RESTORE);
    ui::settle(w.main);
    expectLayout(w);

    // The system carries this message's structure across processes itself.
    MINMAXINFO limits{};
    SendMessageW(w.main, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 700);
    EXPECT_EQ(limits.ptMinTrackSize.y, 560);
}

TEST(MainWindow, TabsShowExactlyOnePage) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready()) << session.problem();
    const MarluneWindows& w = session.windows();
    EXPECT_TRUE(IsWindowVisible(w.singlePage));
    EXPECT_FALSE(IsWindowVisible(w.batchPage));
    ui::selectTab(w.tabControl, 1);
    ui::settle(w.main);
    EXPECT_EQ(SendMessageW(w.tabControl, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_FALSE(IsWindowVisible(w.singlePage));
    EXPECT_TRUE(IsWindowVisible(w.batchPage));
    ui::saveScreenshot(ui::readClient(w.main), screenshotFolder() + "main-batch-tab");
    ui::selectTab(w.tabControl, 0);
    ui::settle(w.main);
    EXPECT_TRUE(IsWindowVisible(w.singlePage));
    EXPECT_FALSE(IsWindowVisible(w.batchPage));
}

TEST(MainWindow, ClosingEndsTheProgramAndTheConversation) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready()) << session.problem();
    PostMessageW(session.windows().main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(session.app().waitForExit(10000));
    EXPECT_EQ(session.app().exitCode(), 0u);
}

}  // namespace
