#include "ui/preview_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(PreviewScroll, ClampsToTheFormulaAtEveryZoom) {
    // (100 + 1) * 1 - 60 - 2 = 39
    EXPECT_EQ(clampScroll(0, -1000, 100, 1, 60), 39);
    EXPECT_EQ(clampScroll(0, -20, 100, 1, 60), 20);
    // (100 + 1) * 3 - 250 - 2 = 51
    EXPECT_EQ(clampScroll(0, -1000, 100, 3, 250), 51);
    // Dragging right lowers the offset and stops at 0.
    EXPECT_EQ(clampScroll(25, 10, 100, 1, 60), 15);
    EXPECT_EQ(clampScroll(25, 40, 100, 1, 60), 0);
    // An image that fits never scrolls.
    EXPECT_EQ(clampScroll(0, -50, 20, 4, 200), 0);
    EXPECT_EQ(clampScroll(30, 0, 20, 4, 200), 0);
    // A shrinking panel cuts an offset back to the new largest one.
    EXPECT_EQ(clampScroll(39, 0, 100, 1, 80), 19);
}

TEST(PreviewLayout, CentresASmallImageWithFourStrips) {
    // 20 x 10 at zoom 4 in 200 x 100: 80 x 40 drawn at x 60..140, y 30..70.
    const PreviewLayout layout = layoutPreview(20, 10, 4, 200, 100, 0, 0);
    EXPECT_EQ(layout.source, (PreviewRect{0, 0, 20, 10}));
    EXPECT_EQ(layout.target, (PreviewRect{60, 30, 140, 70}));
    ASSERT_EQ(layout.fillCount, 4);
    EXPECT_EQ(layout.fills[0], (PreviewRect{0, 0, 60, 100}));
    EXPECT_EQ(layout.fills[1], (PreviewRect{140, 0, 200, 100}));
    EXPECT_EQ(layout.fills[2], (PreviewRect{60, 0, 140, 30}));
    EXPECT_EQ(layout.fills[3], (PreviewRect{60, 70, 140, 100}));
}

TEST(PreviewLayout, WideImageAtZoomThreeRoundsTheTargetUp) {
    // 100 wide at zoom 3 in 250: 84 source columns onto 252 screen columns.
    const PreviewLayout start = layoutPreview(100, 10, 3, 250, 30, 0, 0);
    EXPECT_EQ(start.source.left, 0);
    EXPECT_EQ(start.source.width(), 84);
    EXPECT_EQ(start.target.left, 0);
    EXPECT_EQ(start.target.width(), 252);
    // At the largest offset the source starts at column 17 and only the
    // columns that exist are copied; the last screen column is checkerboard.
    const PreviewLayout end = layoutPreview(100, 10, 3, 250, 30, 51, 0);
    EXPECT_EQ(end.source.left, 17);
    EXPECT_EQ(end.source.right, 100);
    EXPECT_EQ(end.target.width(), 249);
    EXPECT_EQ(end.fills[0], (PreviewRect{249, 0, 250, 30}));
}

TEST(PreviewLayout, OffsetsMoveInWholeImagePixels) {
    for (int offset = 8; offset < 12; ++offset) {
        EXPECT_EQ(layoutPreview(100, 100, 4, 50, 50, offset, offset).source.left, 2);
    }
    EXPECT_EQ(layoutPreview(100, 100, 4, 50, 50, 12, 12).source.top, 3);
}

TEST(PreviewLayout, PanelOnePixelWiderLeavesNoColumnUnpainted) {
    // mx = 1: drawn from the left edge; the spare column is filled, not left stale.
    const PreviewLayout layout = layoutPreview(10, 10, 2, 21, 20, 0, 0);
    EXPECT_EQ(layout.target, (PreviewRect{0, 0, 20, 20}));
    ASSERT_EQ(layout.fillCount, 1);
    EXPECT_EQ(layout.fills[0], (PreviewRect{20, 0, 21, 20}));
}

// Every client pixel is either copied or filled, and the copy never reads
// outside the image, over many sizes, zooms and offsets.
TEST(PreviewLayout, CoversThePanelAndStaysInsideTheImage) {
    for (int w : {1, 2, 7, 33, 100}) {
        for (int zoom = 1; zoom <= 16; zoom += 3) {
            for (int cw : {1, 5, 60, 250}) {
                const int largest = clampScroll(0, -100000, w, zoom, cw);
                for (int sx : {0, largest / 2, largest}) {
                    const PreviewLayout l = layoutPreview(w, 3, zoom, cw, 40, sx, 0);
                    ASSERT_GE(l.source.left, 0);
                    ASSERT_LE(l.source.right, w);
                    ASSERT_EQ(l.target.width(), l.source.width() * zoom);
                    std::vector<int> covered(static_cast<size_t>(cw), 0);
                    auto mark = [&](const PreviewRect& r) {
                        if (r.empty()) return;
                        for (int x = std::max(r.left, 0); x < std::min(r.right, cw); ++x)
                            covered[x]++;
                    };
                    mark({l.target.left, 0, l.target.right, 1});
                    for (int i = 0; i < l.fillCount; ++i) {
                        if (l.fills[i].top <= l.target.top && l.fills[i].bottom > l.target.top) {
                            mark(l.fills[i]);
                        }
                    }
                    for (int x = 0; x < cw; ++x) {
                        ASSERT_GE(covered[x], 1) << "w " << w << " zoom " << zoom << " cw " << cw
                                                 << " sx " << sx << " x " << x;
                    }
                }
            }
        }
    }
}

}  // namespace
TEST(PreviewScroll, WideImagesAtZoom16StayIn64Bits) {
    EXPECT_EQ(clampScroll(0, -1000000000, 200000000, 16, 400), 1000000000);
}
