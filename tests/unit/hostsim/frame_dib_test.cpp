#include "frame_dib.h"

#include <gtest/gtest.h>

#include "image/indexed_image.h"
#include "image/packed_dib.h"
#include "image/section.h"

namespace {

// Pixel (x, y) of a w x h test layer, top row first.
std::uint8_t patternAt(int x, int y) {
    return static_cast<std::uint8_t>(3 * x + 17 * y + 1);
}

LayerPixels pattern(int w, int h) {
    LayerPixels px(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) px[static_cast<std::size_t>(y * w + x)] = patternAt(x, y);
    }
    return px;
}

Palette rainbow() {
    Palette p{};
    for (int i = 0; i < 256; ++i) {
        p[4 * i + 0] = static_cast<std::uint8_t>(i);
        p[4 * i + 1] = static_cast<std::uint8_t>(255 - i);
        p[4 * i + 2] = static_cast<std::uint8_t>(i * 7);
    }
    return p;
}

DibInfoHeader headerOf(const std::vector<std::uint8_t>& block) {
    DibInfoHeader h;
    EXPECT_TRUE(readDibInfoHeader(block.data(), block.size(), h));
    return h;
}

TEST(FrameDib, EightBitBlockLayout) {
    for (int w : {1, 2, 3, 4, 5, 7, 8, 13}) {
        for (int h : {1, 2, 5}) {
            const Palette palette = rainbow();
            const std::vector<std::uint8_t> block = makePackedDib(pattern(w, h), w, h, palette);
            const std::size_t stride = static_cast<std::size_t>((w + 3) / 4 * 4);
            ASSERT_EQ(block.size(), 40 + 1024 + stride * h) << w << "x" << h;
            const DibInfoHeader hd = headerOf(block);
            EXPECT_EQ(hd.biSize, 40u);
            EXPECT_EQ(hd.biWidth, w);
            EXPECT_EQ(hd.biHeight, h);  // positive: bottom-up
            EXPECT_EQ(hd.biPlanes, 1);
            EXPECT_EQ(hd.biBitCount, 8);
            EXPECT_EQ(hd.biCompression, 0u);
            EXPECT_EQ(hd.biClrUsed, 0u);
            EXPECT_EQ(hd.biSizeImage, stride * h);
            EXPECT_TRUE(std::equal(palette.begin(), palette.end(), block.begin() + 40));
            for (int row = 0; row < h; ++row) {
                const std::uint8_t* r =
                    block.data() + 1064 + stride * static_cast<std::size_t>(row);
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(r[x], patternAt(x, h - 1 - row)) << w << "x" << h;
                for (std::size_t pad = static_cast<std::size_t>(w); pad < stride; ++pad)
                    ASSERT_EQ(r[pad], 0);
            }
        }
    }
}

TEST(FrameDib, OtherDepthsAreWellFormedButNotEightBit) {
    const Palette palette = rainbow();
    const LayerPixels px = pattern(5, 3);
    struct Expect {
        int bits;
        std::size_t table;
        std::size_t stride;
    };
    for (const Expect e :
         {Expect{1, 8, 4}, Expect{4, 64, 4}, Expect{24, 0, 16}, Expect{32, 0, 20}}) {
        const std::vector<std::uint8_t> block =
            makePackedDib(px, 5, 3, palette, DibShape{e.bits, false});
        ASSERT_EQ(block.size(), 40 + e.table + 3 * e.stride) << e.bits;
        EXPECT_EQ(headerOf(block).biBitCount, e.bits);
        EXPECT_EQ(headerOf(block).biSizeImage, 3 * e.stride);
        EXPECT_STREQ(packedDibProblem(block.data(), block.size()),
                     "only 8bit pixels are supported!");
        DecodedImage out;
        EXPECT_NE(decodePackedDib(block.data(), block.size(), out), nullptr);
    }
    // The true-colour forms carry each pixel's colour: bottom-left pixel first.
    const std::vector<std::uint8_t> rgb = makePackedDib(px, 5, 3, palette, DibShape{24, false});
    const std::uint8_t index = patternAt(0, 2);
    EXPECT_EQ(rgb[40], palette[4 * index + 0]);
    EXPECT_EQ(rgb[41], palette[4 * index + 1]);
    EXPECT_EQ(rgb[42], palette[4 * index + 2]);
    // The 4-bit form packs the low nibbles, high nibble first.
    const std::vector<std::uint8_t> nibbles = makePackedDib(px, 5, 3, palette, DibShape{4, false});
    EXPECT_EQ(nibbles[40 + 64], ((patternAt(0, 2) & 15) << 4) | (patternAt(1, 2) & 15));
}

TEST(FrameDib, TruncatedBlockClaimsMoreThanItHolds) {
    const std::vector<std::uint8_t> block =
        makePackedDib(pattern(6, 10), 6, 10, rainbow(), DibShape{8, true});
    EXPECT_EQ(block.size(), 1064u + 8 * 5);
    EXPECT_EQ(headerOf(block).biHeight, 10);
    EXPECT_EQ(headerOf(block).biSizeImage, 80u);
    EXPECT_STREQ(packedDibProblem(block.data(), block.size()), "block truncated");
}

TEST(FrameDib, DecodeRoundTripsPixelsAndPalette) {
    const Palette palette = rainbow();
    for (int w : {1, 3, 4, 9}) {
        const LayerPixels px = pattern(w, 4);
        const std::vector<std::uint8_t> block = makePackedDib(px, w, 4, palette);
        DecodedImage out;
        ASSERT_EQ(decodePackedDib(block.data(), block.size(), out), nullptr);
        EXPECT_EQ(out.width, w);
        EXPECT_EQ(out.height, 4);
        EXPECT_EQ(out.pixels, px);
        EXPECT_EQ(out.palette, palette);
    }
}

TEST(FrameDib, BmpFileIsAFileHeaderAndThePackedDib) {
    const Palette palette = rainbow();
    const LayerPixels px = pattern(7, 3);
    const std::vector<std::uint8_t> file = makeBmpFile(px, 7, 3, palette);
    ASSERT_EQ(file.size(), 14u + 1064 + 8 * 3);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(file[2] | file[3] << 8 | file[4] << 16 | file[5] << 24,
              static_cast<int>(file.size()));
    EXPECT_EQ(file[10] | file[11] << 8, 14 + 1064);
    // Readable by the application's own packed-DIB reader after the 14 bytes.
    IndexedImage image(nullptr, file.data() + 14, file.size() - 14);
    ASSERT_TRUE(image.valid);
    EXPECT_EQ(image.width, 7);
    EXPECT_EQ(image.height, 3);
    for (int x = 0; x < 7; ++x) EXPECT_EQ(image.row(0)[x], patternAt(x, 2));
    EXPECT_TRUE(std::equal(palette.begin(), palette.end(), image.palette()));

    DecodedImage out;
    ASSERT_EQ(decodeBmpFile(file, out), nullptr);
    EXPECT_EQ(out.pixels, px);
    std::vector<std::uint8_t> notBmp = file;
    notBmp[0] = 'X';
    EXPECT_STREQ(decodeBmpFile(notBmp, out), "not a BMP file");
    EXPECT_STREQ(decodeBmpFile(std::vector<std::uint8_t>(10, 'B'), out), "not a BMP file");
}

}  // namespace
