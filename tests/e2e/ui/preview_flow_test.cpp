// The flow built in the pass manager, the settings on the property panel and
// what the preview shows on screen, compared pixel by pixel with the chain's
// own output computed here from the frame the host handed over.
#include <gtest/gtest.h>

#include <algorithm>

#include "marlune_session.h"

namespace {

const std::vector<int> kRotSprite = {kScale2x, kScale2x, kScale2x, kRotateUnzoom8x};

TEST(Preview, WithoutImageIsACheckerboardOfFourPixelSquares) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready()) << session.problem();
    const ui::Pixels screen = ui::readClient(session.windows().preview);
    ASSERT_GT(screen.width, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool light = ((x / 4) + (y / 4)) % 2 == 0;
            ASSERT_EQ(screen.at(x, y), light ? 0x969696u : 0x808080u) << x << ", " << y;
        }
    }
}

TEST(Preview, WheelAndAngleWithoutImageChangeNothingOnScreen) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready());
    const MarluneWindows& w = session.windows();
    const ui::Pixels before = ui::readClient(w.preview);
    SendMessageW(w.preview, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(50, 50));
    SendMessageW(w.preview, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(50, 50));
    ui::setTrackbar(ui::childById(w.propertyPanel, 106), 90);
    EXPECT_EQ(ui::text(ui::childById(w.propertyPanel, 105)), "Rotation angle: 90");
    ui::drag(w.preview, {100, 100}, {10, 10});
    EXPECT_EQ(ui::readClient(w.preview).rgb, before.rgb);
    const std::string output = session.appOutput();
    EXPECT_NE(output.find("zdelta = 120\n"), std::string::npos) << output;
    EXPECT_NE(output.find("zdelta = -120\n"), std::string::npos) << output;
}

TEST(Preview, RotSpriteFlowOnScreenEqualsTheChainOutput) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready()) << session.problem();
    const MarluneWindows& w = session.windows();
    session.grab();
    std::unique_ptr<IndexedImage> frame = clipboardImage();
    ASSERT_TRUE(frame != nullptr && frame->valid);

    session.addPasses(kRotSprite);
    EXPECT_EQ(ui::listItems(w.passList),
              (std::vector<std::string>{"Scale2x", "Scale2x", "Scale2x", "RotateUnzoom8x", "END"}));
    HWND angle = ui::childById(w.propertyPanel, 106);
    ui::setTrackbar(angle, 45);
    EXPECT_EQ(ui::text(ui::childById(w.propertyPanel, 105)), "Rotation angle: 45");
    HWND wrap = ui::childById(w.propertyPanel, 107);
    ui::click(wrap);
    EXPECT_EQ(SendMessageW(wrap, BM_GETCHECK, 0, 0), BST_CHECKED);

    const auto expected = runChain(*frame, kRotSprite, 45, true);
    ASSERT_TRUE(expected != nullptr);
    ui::Pixels screen = ui::readClient(w.preview);
    ui::saveScreenshot(ui::readClient(w.main), screenshotFolder() + "main-rotsprite-45");
    expectPreviewShows(screen, *expected, 1, 0, 0);

    // Toggling back gives the rendering without wrap-around.
    ui::click(wrap);
    EXPECT_EQ(SendMessageW(wrap, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    expectPreviewShows(ui::readClient(w.preview), *runChain(*frame, kRotSprite, 45, false), 1, 0,
                       0);

    // Zoom 4: every image pixel becomes a 4 x 4 square.
    HWND zoom = ui::childById(w.zoomStrip, 119);
    ui::setTrackbar(zoom, 4);
    EXPECT_EQ(ui::text(ui::childById(w.zoomStrip, 122)), "Display zoom: x4");
    screen = ui::readClient(w.preview);
    ui::saveScreenshot(ui::readClient(w.main), screenshotFolder() + "main-zoom4");
    expectPreviewShows(screen, *runChain(*frame, kRotSprite, 45, false), 4, 0, 0);
}

TEST(Preview, DraggingPansWithinTheLimits) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready()) << session.problem();
    const MarluneWindows& w = session.windows();
    session.grab();
    std::unique_ptr<IndexedImage> frame = clipboardImage();
    ASSERT_TRUE(frame != nullptr && frame->valid);
    // Zoom 16 makes the image larger than the panel whatever the sample's size.
    session.addPasses({kZoom3x});
    const auto image = runChain(*frame, {kZoom3x}, 0, false);
    ui::setTrackbar(ui::childById(w.zoomStrip, 119), 16);
    const SIZE panel = ui::clientSize(w.preview);
    const int maxX = (image->width + 1) * 16 - panel.cx - 2;
    const int maxY = (image->height + 1) * 16 - panel.cy - 2;
    ASSERT_GT(maxX, 40);
    ASSERT_GT(maxY, 40);

    // Dragging left and up by 40 moves the offsets by 40.
    ui::drag(w.preview, {200, 200}, {160, 160});
    expectPreviewShows(ui::readClient(w.preview), *image, 16, 40, 40);
    // Far further: stops at the largest offsets.
    ui::drag(w.preview, {300, 300}, {-30000, -30000}, 8);
    expectPreviewShows(ui::readClient(w.preview), *image, 16, maxX, maxY);
    // Dragging right and down past the start stops at 0.
    ui::drag(w.preview, {0, 0}, {30000, 30000}, 8);
    expectPreviewShows(ui::readClient(w.preview), *image, 16, 0, 0);
    // Enlarging the window cuts an offset beyond the new largest one back to it.
    ui::drag(w.preview, {300, 300}, {-30000, -30000}, 8);
    RECT outer{0, 0, 1000, 800};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(w.main, GWL_STYLE)), FALSE, 0);
    SetWindowPos(w.main, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOMOVE);
    ui::settle(w.main);
    const SIZE larger = ui::clientSize(w.preview);
    ASSERT_GT(larger.cx, panel.cx);
    expectPreviewShows(ui::readClient(w.preview), *image, 16,
                       std::max(0, (image->width + 1) * 16 - static_cast<int>(larger.cx) - 2),
                       std::max(0, (image->height + 1) * 16 - static_cast<int>(larger.cy) - 2));
    // A zoom change after panning shows the top-left corner again.
    ui::drag(w.preview, {200, 200}, {100, 100});
    ui::setTrackbar(ui::childById(w.zoomStrip, 119), 2);
    expectPreviewShows(ui::readClient(w.preview), *image, 2, 0, 0);
}

TEST(PassManager, EditsKeepListAndPreviewInStep) {
    MarluneSession session({"--sample"});
    ASSERT_TRUE(session.ready()) << session.problem();
    const MarluneWindows& w = session.windows();
    session.grab();
    std::unique_ptr<IndexedImage> frame = clipboardImage();
    ASSERT_TRUE(frame != nullptr && frame->valid);

    session.addPasses({kScale2x});
    // Insert Zoom2x before the first entry.
    ui::selectListEntry(w.passList, 0);
    EXPECT_TRUE(IsWindowEnabled(w.removeButton));
    ui::selectComboEntry(w.kindSelector, kZoom2x);
    ui::click(w.addButton);
    EXPECT_EQ(ui::listItems(w.passList), (std::vector<std::string>{"Zoom2x", "Scale2x", "END"}));
    expectPreviewShows(ui::readClient(w.preview), *runChain(*frame, {kZoom2x, kScale2x}, 0, false),
                       1, 0, 0);

    // Selecting "END" disables Remove; removing the last pass leaves "END" selected.
    ui::selectListEntry(w.passList, 2);
    EXPECT_FALSE(IsWindowEnabled(w.removeButton));
    ui::selectListEntry(w.passList, 1);
    ui::click(w.removeButton);
    EXPECT_EQ(ui::listItems(w.passList), (std::vector<std::string>{"Zoom2x", "END"}));
    EXPECT_EQ(ui::listSelection(w.passList), 1);
    EXPECT_FALSE(IsWindowEnabled(w.removeButton));
    expectPreviewShows(ui::readClient(w.preview), *runChain(*frame, {kZoom2x}, 0, false), 1, 0, 0);

    // Remove with "END" selected does nothing.
    ui::click(w.removeButton);
    EXPECT_EQ(ui::listItems(w.passList).size(), 2u);
    // Removing the first of two entries selects the one that followed.
    session.addPasses({kZoom3x});
    ui::selectListEntry(w.passList, 0);
    ui::click(w.removeButton);
    EXPECT_EQ(ui::listItems(w.passList), (std::vector<std::string>{"Zoom3x", "END"}));
    EXPECT_EQ(ui::listSelection(w.passList), 0);
    EXPECT_TRUE(IsWindowEnabled(w.removeButton));
    expectPreviewShows(ui::readClient(w.preview), *runChain(*frame, {kZoom3x}, 0, false), 1, 0, 0);
}

}  // namespace
