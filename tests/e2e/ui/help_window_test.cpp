// The help windows: their frame, dragging the manual page with its clamps,
// and the one offset every help window shares.
#include <gtest/gtest.h>

#include <algorithm>

#include "marlune_session.h"

namespace {

constexpr int kPageRows = 560 - 24;  // above the Close button

// Whether `lower` shows the page `shift` rows further down than `upper`.
bool shiftedBy(const ui::Pixels& upper, const ui::Pixels& lower, int shift) {
    const auto rows = [&](const ui::Pixels& p, int row) { return p.rgb.begin() + row * p.width; };
    return std::equal(rows(upper, shift), rows(upper, kPageRows), rows(lower, 0));
}

// Presses "Help / About"; gives the new window, the top of the z-order.
HWND openHelp(MarluneSession& session, size_t count) {
    ui::click(session.w.helpButton);
    std::vector<HWND> open;
    for (int i = 0; i < 100 && open.size() != count; ++i) {
        ui::pumpFor(20);
        open = ui::findAllTopLevel("DialogClass", session.app->processId());
    }
    return open.size() == count ? open.front() : nullptr;
}

TEST(HelpWindow, OpensDragsClampsAndSharesItsOffset) {
    MarluneSession session({"--sample"});
    ASSERT_NE(session.w.main, nullptr) << session.problem;
    HWND first = openHelp(session, 1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(ui::text(first), "Help for Marlune");
    EXPECT_EQ(GetWindowLongW(first, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_DLGMODALFRAME),
              WS_EX_TOPMOST | WS_EX_DLGMODALFRAME);
    EXPECT_EQ(ui::clientSize(first).cx, 600);
    EXPECT_EQ(ui::clientSize(first).cy, 560);
    EXPECT_EQ(ui::text(ui::childById(first, 1)), "Close");
    EXPECT_EQ(ui::rectInParent(ui::childById(first, 1)).top, kPageRows);
    EXPECT_TRUE(session.printed("help RECT(left: 0, right: 600, top: 0, bottom: 560)"));
    screenshot(ui::readScreen(), "help-window");

    const ui::Pixels top = ui::readClient(first);
    ui::drag(first, {300, 300}, {300, 260});
    EXPECT_TRUE(shiftedBy(top, ui::readClient(first), 40));
    // Far upwards stops at the bottom of the page, and further does nothing.
    ui::drag(first, {300, 500}, {300, -30000}, 10);
    const ui::Pixels bottom = ui::readClient(first);
    EXPECT_FALSE(shiftedBy(top, bottom, 0));
    ui::drag(first, {300, 300}, {300, 200});
    EXPECT_TRUE(shiftedBy(bottom, ui::readClient(first), 0));

    // A second window shows the same offset; dragging it far down stops at the
    // top, and the first follows.
    HWND second = openHelp(session, 2);
    ASSERT_NE(second, first);
    EXPECT_TRUE(shiftedBy(bottom, ui::readClient(second), 0));
    ui::drag(second, {300, 100}, {300, 30000}, 10);
    EXPECT_TRUE(shiftedBy(top, ui::readClient(second), 0));
    ui::click(ui::childById(second, 1));
    EXPECT_FALSE(IsWindow(second));
    EXPECT_TRUE(shiftedBy(top, ui::readClient(first), 0));
}

}  // namespace
