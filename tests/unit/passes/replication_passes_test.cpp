// Zoom2x, Zoom3x, Canvas2x and Space2x: the worked examples, then every pass
// against its reference over many sizes with garbage in the input padding.
#include <gtest/gtest.h>

#include "pass_test_support.h"
#include "passes/replication_passes.h"

using namespace passtest;

namespace {

TEST(ReplicationPasses, SinglePixelOfSeven) {
    Zoom2xPass zoom2;
    Zoom3xPass zoom3;
    Space2xPass space;
    Canvas2xPass canvas;
    auto in = imageFromScreenRows({{7}});
    zoom2.apply(nullptr, *in);
    zoom3.apply(nullptr, *in);
    space.apply(nullptr, *in);
    canvas.apply(nullptr, *in);
    EXPECT_EQ(screenRows(*zoom2.output), (Rows{{7, 7}, {7, 7}}));
    EXPECT_EQ(screenRows(*zoom3.output), (Rows{{7, 7, 7}, {7, 7, 7}, {7, 7, 7}}));
    EXPECT_EQ(screenRows(*space.output), (Rows{{7, 0}, {0, 0}}));
    EXPECT_EQ(screenRows(*canvas.output), (Rows{{0, 0}, {7, 0}}));
}

TEST(ReplicationPasses, Space2xPutsEachPixelTopLeftOfItsCell) {
    Space2xPass space;
    auto in = imageFromScreenRows({{3, 9}});
    space.apply(nullptr, *in);
    EXPECT_EQ(screenRows(*space.output), (Rows{{3, 0, 9, 0}, {0, 0, 0, 0}}));
}

TEST(ReplicationPasses, Canvas2xOffsetsByHalfTheSizeInMemory) {
    Canvas2xPass canvas;
    auto odd = imageFromScreenRows({{1, 2, 3}, {4, 5, 6}});
    canvas.apply(nullptr, *odd);
    EXPECT_EQ(screenRows(*canvas.output), (Rows{{0, 0, 0, 0, 0, 0},
                                                {0, 1, 2, 3, 0, 0},
                                                {0, 4, 5, 6, 0, 0},
                                                {0, 0, 0, 0, 0, 0}}));
    Canvas2xPass centred;
    auto even = randomImage(4, 4, {1, 2, 3}, 5);
    centred.apply(nullptr, *even);
    const Rows rows = screenRows(*centred.output);
    const Rows source = screenRows(*even);
    for (int r = 0; r < 8; ++r) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = r >= 2 && r < 6 && x >= 2 && x < 6;
            EXPECT_EQ(rows[r][x], inside ? source[r - 2][x - 2] : 0) << r << "," << x;
        }
    }
}

TEST(ReplicationPasses, Canvas2xRerunLeavesOnlyTheNewPictureWithCleanMargins) {
    Canvas2xPass canvas;
    auto in = randomImage(5, 3, {1, 2}, 1);
    canvas.apply(nullptr, *in);
    for (int y = 0; y < canvas.output->height; ++y) {
        for (int x = 0; x < canvas.output->stride(); ++x) canvas.output->row(y)[x] = 0xCC;
    }
    auto second = randomImage(5, 3, {3, 4}, 2);
    canvas.apply(nullptr, *second);
    EXPECT_EQ(pixelsOf(*canvas.output), canvas2xReference(*second));
    EXPECT_TRUE(paddingIs(*canvas.output, 0)) << "the clear covers the whole pixel memory";
}

TEST(ReplicationPasses, MatchReferenceOverManySizes) {
    const std::vector<int> colours = {0, 1, 7, 200, 255};
    for (int h : {1, 2, 3, 5, 8}) {
        for (int w = 1; w <= 40; ++w) {
            SCOPED_TRACE(testing::Message() << w << "x" << h);
            auto in = randomImage(w, h, colours, static_cast<unsigned>(w * 31 + h));
            Zoom2xPass zoom2;
            Zoom3xPass zoom3;
            Space2xPass space;
            Canvas2xPass canvas;
            EXPECT_EQ(applyChecked(zoom2, *in), zoomReference(*in, 2));
            EXPECT_EQ(applyChecked(zoom3, *in), zoomReference(*in, 3));
            EXPECT_EQ(applyChecked(space, *in), space2xReference(*in));
            EXPECT_EQ(applyChecked(canvas, *in, false), canvas2xReference(*in));
        }
    }
}

TEST(ReplicationPasses, LargeImagesMatchReference) {
    auto in = randomImage(301, 67, {0, 5, 9, 254}, 3);
    Zoom2xPass zoom2;
    Zoom3xPass zoom3;
    Space2xPass space;
    EXPECT_EQ(applyChecked(zoom2, *in), zoomReference(*in, 2));
    EXPECT_EQ(applyChecked(zoom3, *in), zoomReference(*in, 3));
    EXPECT_EQ(applyChecked(space, *in), space2xReference(*in));
}

TEST(ReplicationPasses, AnOutputThatCannotBeMadeIsLeftAlone) {
    Zoom2xPass zoom;
    auto empty = blankImage(0, 3);
    zoom.apply(nullptr, *empty);
    ASSERT_NE(zoom.output, nullptr);
    EXPECT_FALSE(zoom.output->valid);
    EXPECT_EQ(zoom.output->pixels, nullptr);
}

TEST(ReplicationPasses, AnOutputOfAnotherSizeIsNotWritten) {
    Zoom3xPass zoom;
    auto small = randomImage(2, 2, {1, 2}, 1);
    zoom.apply(nullptr, *small);
    const Pixels before = pixelsOf(*zoom.output);
    auto large = randomImage(9, 9, {3, 4}, 2);
    zoom.apply(nullptr, *large);
    EXPECT_EQ(zoom.output->width, 6);
    EXPECT_EQ(pixelsOf(*zoom.output), before);
}

}  // namespace
