// The flow, the angle (slider, keys, typed) and the zoom as the preview shows
// them, compared pixel by pixel with the chain run here on the frame the host
// handed over; panning; and the pass list kept in step with the chain.
#include <gtest/gtest.h>

#include "marlune_session.h"

namespace {

void expectAngle(const MarluneWindows& w, const std::string& shown, int slider) {
    EXPECT_EQ(ui::text(w.angleLabel), "Rotation angle: " + shown);
    EXPECT_EQ(ui::text(w.angleBox), shown);
    EXPECT_EQ(SendMessageW(w.angleTrackbar, TBM_GETPOS, 0, 0), slider);
}

void expectFlowShown(const MarluneWindows& w, const IndexedImage& frame,
                     const std::vector<int>& kinds, double degrees, bool wrap = false) {
    expectPreviewShows(ui::readClient(w.preview),
                       *runChain(frame, kinds, degrees, wrap)->displayedImage());
}

TEST(Preview, FlowAnglesZoomAndPanningOnScreenEqualTheChain) {
    MarluneSession session({"--sample"});
    ASSERT_NE(session.w.main, nullptr) << session.problem;
    const MarluneWindows& w = session.w;
    // No image: 4-pixel squares, the lighter grey at the top left; dragging
    // changes nothing.
    const ui::Pixels empty = ui::readClient(w.preview);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(empty.at(x, y), (x / 4 + y / 4) % 2 == 0 ? 0x969696u : 0x808080u);
    ui::drag(w.preview, {100, 100}, {10, 10});
    EXPECT_EQ(ui::readClient(w.preview).rgb, empty.rgb);

    const auto frame = session.grab();
    ASSERT_NE(frame, nullptr);
    appendPasses(w, kRotSprite);
    ui::setTrackbar(w.angleTrackbar, 45);
    ui::click(w.wrapAround);
    EXPECT_EQ(SendMessageW(w.wrapAround, BM_GETCHECK, 0, 0), BST_CHECKED);
    screenshot(ui::readClient(w.main), "main-rotsprite-45");
    expectFlowShown(w, *frame, kRotSprite, 45, true);
    ui::click(w.wrapAround);
    expectFlowShown(w, *frame, kRotSprite, 45);

    // Typed: the label shows the angle, the slider the nearest whole degree.
    typeAngle(w, "26.565");
    expectAngle(w, "26.565", 27);
    screenshot(ui::readClient(w.propertyPanel), "property-panel-typed-angle");
    expectFlowShown(w, *frame, kRotSprite, 26.565);
    // Text that is no angle from 0 to 360 changes nothing and is replaced.
    for (const char* wrong : {"abc", "360.5", "-1", "1e2", "26.", ".5", "", "1 2", "0x1A"}) {
        typeAngle(w, wrong);
        expectAngle(w, "26.565", 27);
    }
    typeAngle(w, " 360 ");
    expectAngle(w, "360", 360);
    typeAngle(w, "30");
    expectAngle(w, "30", 30);
    expectFlowShown(w, *frame, kRotSprite, 30);
    // The slider's keys: 1 degree per arrow, 15 per page.
    const std::pair<WPARAM, int> keys[] = {
        {VK_DOWN, 31}, {VK_UP, 30}, {VK_NEXT, 45}, {VK_PRIOR, 30}};
    for (auto [key, angle] : keys) {
        ui::pressKey(w.angleTrackbar, key);
        expectAngle(w, std::to_string(angle), angle);
    }

    // Zoom 4 centred; zoom 16 panned by dragging, up to the largest offsets; a zoom
    // change shows the top-left corner again.
    const auto chain = runChain(*frame, kRotSprite, 30);
    const IndexedImage& image = *chain->displayedImage();
    ui::setTrackbar(w.zoomTrackbar, 4);
    EXPECT_EQ(ui::text(w.zoomLabel), "Display zoom: x4");
    expectPreviewShows(ui::readClient(w.preview), image, 4);
    ui::setTrackbar(w.zoomTrackbar, 16);
    ui::drag(w.preview, {200, 200}, {160, 150});
    expectPreviewShows(ui::readClient(w.preview), image, 16, 40, 50);
    ui::drag(w.preview, {300, 300}, {-30000, -30000}, 8);
    const SIZE panel = ui::clientSize(w.preview);
    expectPreviewShows(ui::readClient(w.preview), image, 16, (image.width + 1) * 16 - panel.cx - 2,
                       (image.height + 1) * 16 - panel.cy - 2);
    ui::setTrackbar(w.zoomTrackbar, 2);
    expectPreviewShows(ui::readClient(w.preview), image, 2);
}

TEST(PassManager, EditsKeepListAndPreviewInStep) {
    MarluneSession session({"--sample"});
    ASSERT_NE(session.w.main, nullptr) << session.problem;
    const MarluneWindows& w = session.w;
    const auto frame = session.grab();
    ASSERT_NE(frame, nullptr);
    appendPasses(w, {kScale2x});
    // Add inserts before the selected entry; with "END" selected Remove is off.
    ui::selectListEntry(w.passList, 0);
    EXPECT_TRUE(IsWindowEnabled(w.removeButton));
    ui::selectComboEntry(w.kindSelector, kZoom2x);
    ui::click(w.addButton);
    EXPECT_EQ(ui::listItems(w.passList), (std::vector<std::string>{"Zoom2x", "Scale2x", "END"}));
    expectFlowShown(w, *frame, {kZoom2x, kScale2x}, 0);
    ui::selectListEntry(w.passList, 2);
    EXPECT_FALSE(IsWindowEnabled(w.removeButton));
    // Remove selects the entry that followed, "END" after the last pass.
    for (auto left :
         {std::vector<std::string>{"Scale2x", "END"}, std::vector<std::string>{"END"}}) {
        ui::selectListEntry(w.passList, 0);
        ui::click(w.removeButton);
        EXPECT_EQ(ui::listItems(w.passList), left);
        EXPECT_EQ(ui::listSelection(w.passList), 0);
        EXPECT_EQ(IsWindowEnabled(w.removeButton) != FALSE, left.size() == 2);
    }
    expectFlowShown(w, *frame, {}, 0);
}

}  // namespace
