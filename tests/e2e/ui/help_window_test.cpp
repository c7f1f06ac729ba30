// The help windows: their frame, dragging the manual page with its clamps,
// and the one offset shared by every help window.
#include <gtest/gtest.h>

#include "marlune_session.h"

namespace {

constexpr int kPageRows = 560 - 24;

// The rows of the page area (above the Close button) of a help window.
ui::Pixels pageOf(HWND help) {
    ui::Pixels all = ui::readClient(help);
    all.height = kPageRows;
    all.rgb.resize(static_cast<size_t>(all.width) * kPageRows);
    return all;
}

// Whether `lower` shows the page `shift` rows further down than `upper`.
bool shiftedBy(const ui::Pixels& upper, const ui::Pixels& lower, int shift) {
    for (int y = 0; y + shift < kPageRows; ++y) {
        for (int x = 0; x < upper.width; ++x) {
            if (upper.at(x, y + shift) != lower.at(x, y)) return false;
        }
    }
    return true;
}

HWND openHelp(MarluneSession& session, size_t expectedCount) {
    ui::click(ui::childById(session.windows().propertyPanel, 124));
    const DWORD start = GetTickCount();
    std::vector<HWND> windows;
    while ((windows = ui::findAllTopLevel("DialogClass", session.app().processId())).size() <
               expectedCount &&
           GetTickCount() - start < 10000) {
        ui::pumpFor(20);
    }
    if (windows.size() != expectedCount) return nullptr;
    // The newest window is the one not known before: EnumWindows lists the top of the z-order
    // first.
    return windows.front();
}

TEST(HelpWindow, OpensDragsClampsAndSharesItsOffset) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready()) << session.problem();
    HWND first = openHelp(session, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(ui::text(first), "Help for Marlune");
    EXPECT_EQ(GetWindowLongW(first, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_DLGMODALFRAME),
              WS_EX_TOPMOST | WS_EX_DLGMODALFRAME);
    EXPECT_EQ(ui::clientSize(first).cx, 600);
    EXPECT_EQ(ui::clientSize(first).cy, 560);
    HWND close = ui::childById(first, 1);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(ui::text(close), "Close");
    const RECT closeRect = ui::rectInParent(close);
    EXPECT_EQ(closeRect.top, 536);
    EXPECT_EQ(closeRect.right - closeRect.left, 600);
    EXPECT_NE(session.appOutput().find("help RECT(left: 0, right: 600, top: 0, bottom: 560)"),
              std::string::npos);

    const ui::Pixels top = pageOf(first);
    ui::saveScreenshot(ui::readScreen(), screenshotFolder() + "help-window");
    // Dragging upwards by 40 shows the page 40 rows further down.
    ui::drag(first, {300, 300}, {300, 260});
    EXPECT_TRUE(shiftedBy(top, pageOf(first), 40));
    // Far upwards: stops at the bottom of the page, and stays there.
    ui::drag(first, {300, 500}, {300, -30000}, 10);
    const ui::Pixels bottom = pageOf(first);
    ui::saveScreenshot(bottom, screenshotFolder() + "help-window-bottom");
    EXPECT_FALSE(shiftedBy(top, bottom, 0)) << "the page did not move";
    ui::drag(first, {300, 300}, {300, 200});
    EXPECT_TRUE(shiftedBy(bottom, pageOf(first), 0));
    // Down by 10 from the clamp: the offset is 1310 now.
    ui::drag(first, {300, 200}, {300, 210});
    const ui::Pixels above = pageOf(first);
    EXPECT_TRUE(shiftedBy(above, bottom, 10));

    // A second window shows the same offset; dragging it moves the first too.
    HWND second = openHelp(session, 2);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, first);
    EXPECT_TRUE(shiftedBy(above, pageOf(second), 0));
    ui::drag(second, {300, 100}, {300, 30000}, 10);
    EXPECT_TRUE(shiftedBy(top, pageOf(second), 0)) << "dragging far down did not stop at the top";
    ui::click(ui::childById(second, 1));
    EXPECT_FALSE(IsWindow(second));
    EXPECT_TRUE(IsWindow(first));
    EXPECT_TRUE(shiftedBy(top, pageOf(first), 0));

    // Reopening after closing shows the page where it was left.
    ui::drag(first, {300, 300}, {300, 200});
    const ui::Pixels left = pageOf(first);
    PostMessageW(first, WM_CLOSE, 0, 0);
    ASSERT_TRUE(ui::waitForNoTopLevel("DialogClass", session.app().processId()));
    HWND again = openHelp(session, 1);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(shiftedBy(left, pageOf(again), 0));
    EXPECT_TRUE(IsWindow(session.windows().main));
}

}  // namespace
