#include "host_model.h"

#include <gtest/gtest.h>

TEST(HostModel, BlankProjectAndLayers) {
    Project p = makeBlankProject(3, 5, 2, greyPalette());
    EXPECT_EQ(p.frameCount(), 3);
    EXPECT_EQ(p.layerCount(), 1);
    EXPECT_EQ(p.path, "none");
    EXPECT_EQ(p.name, "none");
    EXPECT_EQ(p.pixels(3, 0), LayerPixels(10, 0));
    EXPECT_EQ(p.addLayer(), 1);
    EXPECT_EQ(p.addLayer(), 2);
    for (const Frame& f : p.frames) {
        ASSERT_EQ(f.layers.size(), 3u);
        EXPECT_EQ(f.layers[2].size(), 10u);
    }
    const Palette grey = greyPalette();
    EXPECT_EQ(grey[4 * 200 + 0], 200);
    EXPECT_EQ(grey[4 * 200 + 2], 200);
    EXPECT_EQ(grey[4 * 200 + 3], 0);
}

TEST(HostModel, ShapeLimits) {
    EXPECT_TRUE(projectShapeAllowed(1, 1, 1));
    EXPECT_TRUE(projectShapeAllowed(kMaxFrames, 16, 16));
    EXPECT_FALSE(projectShapeAllowed(0, 8, 8));
    EXPECT_FALSE(projectShapeAllowed(1, 0, 8));
    EXPECT_FALSE(projectShapeAllowed(1, 8, -1));
    EXPECT_FALSE(projectShapeAllowed(kMaxFrames + 1, 8, 8));
    EXPECT_FALSE(projectShapeAllowed(1, kMaxSide + 1, 8));
    EXPECT_FALSE(projectShapeAllowed(kMaxFrames, kMaxSide, kMaxSide));  // too many pixels in all
}

TEST(HostModel, ProjectIdsRiseAndTheNewestIsCurrent) {
    HostModel model;
    EXPECT_EQ(model.current(), nullptr);
    EXPECT_EQ(model.addProject(makeBlankProject(1, 2, 2, greyPalette())), 1);
    EXPECT_EQ(model.addProject(makeBlankProject(1, 2, 2, greyPalette())), 2);
    EXPECT_EQ(model.currentId, 2);
    ASSERT_NE(model.find(1), nullptr);
    EXPECT_EQ(model.find(1)->id, 1);
    EXPECT_EQ(model.find(3), nullptr);
}

TEST(HostModel, CompositeStacksLayersWithIndexZeroTransparentAbove) {
    Project p = makeBlankProject(2, 3, 1, greyPalette());
    p.addLayer();
    p.addLayer();
    p.pixels(2, 0) = {5, 0, 7};
    p.pixels(2, 1) = {0, 9, 8};
    p.pixels(2, 2) = {0, 0, 4};
    EXPECT_EQ(compositeFrame(p, 2), (LayerPixels{5, 9, 4}));
    EXPECT_EQ(compositeFrame(p, 1), (LayerPixels{0, 0, 0}));
}
