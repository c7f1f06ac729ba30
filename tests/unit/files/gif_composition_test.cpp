// GIF frames that share a colour table, composed on the logical screen in
// indices: literal frames with offsets, transparency and each disposal.
// (Frames with tables of their own are composed in colours; the Wine tests
// read such a file.)
#include <gtest/gtest.h>

#include "files/gif_composition.h"

namespace {

// Rows top first, '/' between, one digit per index.
std::vector<std::uint8_t> indicesOf(const std::string& rows) {
    std::vector<std::uint8_t> indices;
    for (const char c : rows) {
        if (c != '/') indices.push_back(static_cast<std::uint8_t>(c - '0'));
    }
    return indices;
}

GifFrame frame(int left, int top, int width, const std::string& rows, int transparent,
               GifDisposal disposal = GifDisposal::keep) {
    GifFrame made{left, top, width, 0, indicesOf(rows), {}, 10, transparent, disposal};
    made.height = static_cast<int>(made.indices.size()) / width;
    for (int i = 0; i < 10; ++i) made.palette[i] = 0x00101010u * Argb(i);
    return made;
}

TEST(GifComposition, ASharedTableKeepsIndicesThroughEveryDisposal) {
    const std::vector<GifFrame> frames = {
        frame(0, 0, 4, "1111/1221/1111", 9),
        // 9 shows what lies below; "background" clears to the transparent index.
        frame(1, 1, 2, "39/33", 9, GifDisposal::background),
        // Partly off the screen: clipped. "previous" undoes it.
        frame(3, 2, 2, "44/44", 9, GifDisposal::previous),
        frame(0, 0, 1, "6", 9),
    };
    IndexedPicture picture;
    std::int64_t colours = 0;
    ASSERT_TRUE(composeGif({4, 3, 5}, frames, picture, colours));
    ASSERT_EQ(picture.frames.size(), 4u);
    EXPECT_EQ(picture.frames[0], indicesOf("1111/1221/1111"));
    EXPECT_EQ(picture.frames[1], indicesOf("1111/1321/1331"));
    EXPECT_EQ(picture.frames[2], indicesOf("1111/1991/1994"));
    EXPECT_EQ(picture.frames[3], indicesOf("6111/1991/1991"));
    // The table opaque, the transparent index clear, entries past it black.
    EXPECT_EQ(picture.palette[1], 0xFF101010u);
    EXPECT_EQ(picture.palette[9], 0x00909090u);
    EXPECT_EQ(picture.palette[12], 0xFF000000u);

    // Without transparency the screen starts as, and clears to, the background.
    ASSERT_TRUE(composeGif(
        {4, 3, 5}, {frame(1, 0, 1, "7/7", -1, GifDisposal::background), frame(0, 2, 2, "88", -1)},
        picture, colours));
    EXPECT_EQ(picture.frames[0], indicesOf("5755/5755/5555"));
    EXPECT_EQ(picture.frames[1], indicesOf("5555/5555/8855"));
}

}  // namespace
