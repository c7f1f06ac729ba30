// GIF frames composed on their logical screen: literal frames with offsets,
// transparency and each disposal, in indices when the frames share a table and
// in colours when they do not.
#include <gtest/gtest.h>

#include "files/gif_composition.h"

namespace {

// Rows top first, separated by '/', one digit per index.
std::vector<std::uint8_t> indicesOf(const std::string& rows) {
    std::vector<std::uint8_t> indices;
    for (const char c : rows) {
        if (c != '/') indices.push_back(static_cast<std::uint8_t>(c - '0'));
    }
    return indices;
}

std::string rowsOf(const std::vector<std::uint8_t>& indices, int width) {
    std::string rows;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i > 0 && i % width == 0) rows += '/';
        rows += static_cast<char>('0' + indices[i]);
    }
    return rows;
}

std::array<Argb, kMaxColours> table(int shift) {
    std::array<Argb, kMaxColours> colours{};
    for (int i = 0; i < 10; ++i) colours[i] = 0xFF000000u | Argb(i + shift) * 0x101u;
    return colours;
}

GifFrame frame(int left, int top, int width, const std::string& rows, int transparent = -1,
               GifDisposal disposal = GifDisposal::keep, int shift = 0) {
    GifFrame made;
    made.left = left;
    made.top = top;
    made.indices = indicesOf(rows);
    made.width = width;
    made.height = static_cast<int>(made.indices.size()) / width;
    made.palette = table(shift);
    made.paletteCount = 10;
    made.transparentIndex = transparent;
    made.disposal = disposal;
    return made;
}

TEST(GifComposition, SharedTableKeepsIndicesThroughEveryDisposal) {
    const GifScreen screen{4, 3, 5};
    const std::vector<GifFrame> frames = {
        frame(0, 0, 4, "1111/1221/1111", 9),
        // 9 shows what lies below; "background" clears to the transparent index.
        frame(1, 1, 2, "39/33", 9, GifDisposal::background),
        // Partly off the screen: the rest is clipped. "previous" undoes it.
        frame(3, 2, 2, "44/44", 9, GifDisposal::previous),
        frame(0, 0, 1, "6", 9),
    };
    IndexedPicture picture;
    std::int64_t colours = 0;
    ASSERT_TRUE(composeGif(screen, frames, picture, colours));
    ASSERT_EQ(picture.frames.size(), 4u);
    EXPECT_EQ(rowsOf(picture.frames[0], 4), "1111/1221/1111");
    EXPECT_EQ(rowsOf(picture.frames[1], 4), "1111/1321/1331");
    EXPECT_EQ(rowsOf(picture.frames[2], 4), "1111/1991/1994");
    EXPECT_EQ(rowsOf(picture.frames[3], 4), "6111/1991/1991");
    EXPECT_EQ(picture.palette[1], table(0)[1]);
    EXPECT_EQ(picture.palette[9], table(0)[9] & 0x00FFFFFFu);  // transparent
    EXPECT_EQ(picture.palette[12], 0xFF000000u);               // past the table

    // Without transparency the screen starts as, and clears to, the background.
    const std::vector<GifFrame> opaque = {frame(1, 0, 1, "7/7", -1, GifDisposal::background),
                                          frame(0, 2, 2, "88")};
    ASSERT_TRUE(composeGif(screen, opaque, picture, colours));
    EXPECT_EQ(rowsOf(picture.frames[0], 4), "5755/5755/5555");
    EXPECT_EQ(rowsOf(picture.frames[1], 4), "5555/5555/8855");
    EXPECT_EQ(picture.palette[5], table(0)[5]);
}

TEST(GifComposition, TablesThatDifferAreComposedInColours) {
    const GifScreen screen{3, 2, 0};
    // Index 1 is another colour in the second frame's table.
    const std::vector<GifFrame> frames = {
        frame(0, 0, 3, "123/321", -1, GifDisposal::background),
        frame(1, 0, 2, "1/2", 2, GifDisposal::keep, 5),
    };
    IndexedPicture picture;
    std::int64_t colours = 0;
    ASSERT_TRUE(composeGif(screen, frames, picture, colours));
    ASSERT_EQ(picture.frames.size(), 2u);
    // Frame 1 cleared (transparent, index 0), then frame 2's 6 at (1,0).
    EXPECT_EQ(rowsOf(picture.frames[0], 3), "123/321");
    EXPECT_EQ(rowsOf(picture.frames[1], 3), "040/000");
    const Argb expected[] = {0x00000000u, table(0)[1], table(0)[2], table(0)[3], table(5)[1]};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(picture.palette[i], expected[i]) << i;
    EXPECT_EQ(colours, 5);

    // More than 256 colours in all the frames: refused with their count.
    std::vector<GifFrame> many;
    for (int f = 0; f < 30; ++f) {
        many.push_back(frame(0, 0, 10, "0123456789", -1, GifDisposal::keep, f * 10));
    }
    EXPECT_FALSE(composeGif(GifScreen{10, 1, 0}, many, picture, colours));
    EXPECT_EQ(colours, 300);
}

}  // namespace
