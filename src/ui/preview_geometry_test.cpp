#include "ui/preview_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(PreviewScroll, ClampsToTheFormulaAtEveryZoom) {
    EXPECT_EQ(clampScroll(0, -1000, 100, 1, 60), 39);   // (100 + 1) * 1 - 60 - 2
    EXPECT_EQ(clampScroll(0, -1000, 100, 3, 250), 51);  // (100 + 1) * 3 - 250 - 2
    EXPECT_EQ(clampScroll(0, -20, 100, 1, 60), 20);
    // Dragging right lowers the offset and stops at 0.
    EXPECT_EQ(clampScroll(25, 10, 100, 1, 60), 15);
    EXPECT_EQ(clampScroll(25, 40, 100, 1, 60), 0);
    // An image that fits never scrolls; a shrinking panel cuts the offset back.
    EXPECT_EQ(clampScroll(30, 0, 20, 4, 200), 0);
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

TEST(PreviewLayout, ScrolledImagesCopyOnlyPixelsThatExist) {
    // 100 wide at zoom 3 in 250: 84 source columns onto 252 screen columns.
    EXPECT_EQ(layoutPreview(100, 10, 3, 250, 30, 0, 0).target, (PreviewRect{0, 0, 252, 30}));
    // At the largest offset the copy starts at column 17; the last screen column is checkerboard.
    const PreviewLayout end = layoutPreview(100, 10, 3, 250, 30, 51, 0);
    EXPECT_EQ(end.source, (PreviewRect{17, 0, 100, 10}));
    EXPECT_EQ(end.fills[0], (PreviewRect{249, 0, 250, 30}));
    // Offsets move in whole image pixels.
    EXPECT_EQ(layoutPreview(100, 100, 4, 50, 50, 11, 12).source, (PreviewRect{2, 3, 15, 16}));
}

// Every client column is copied or filled, and the copy never reads outside
// the image, over many sizes, zooms and offsets.
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
                    const auto mark = [&](const PreviewRect& r) {
                        for (int x = std::max(r.left, 0); x < std::min(r.right, cw); ++x)
                            ++covered[x];
                    };
                    mark(l.target);
                    for (int i = 0; i < l.fillCount; ++i) {
                        if (l.fills[i].top <= l.target.top && l.fills[i].bottom > l.target.top)
                            mark(l.fills[i]);
                    }
                    EXPECT_EQ(std::count(covered.begin(), covered.end(), 0), 0)
                        << "w " << w << " zoom " << zoom << " cw " << cw << " sx " << sx;
                }
            }
        }
    }
}

}  // namespace
TEST(PreviewScroll, WideImagesAtZoom16StayIn64Bits) {
    EXPECT_EQ(clampScroll(0, -1000000000, 200000000, 16, 400), 1000000000);
}
