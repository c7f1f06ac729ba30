// The image model: layout, header block, both constructors and their logs.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <sstream>
#include <string>

#include "dib_block.h"
#include "image/indexed_image.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

std::array<std::uint8_t, kPaletteBytes> rampPalette() {
    std::array<std::uint8_t, kPaletteBytes> p{};
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = static_cast<std::uint8_t>(i * 7);
    return p;
}

std::uint32_t headerField(const IndexedImage& image, int offset) {
    std::uint32_t v;
    std::memcpy(&v, image.header.get() + offset, 4);
    return v;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
    }
    return out;
}

TEST(IndexedImage, StrideRoundsWidthUpToFour) {
    const auto palette = rampPalette();
    for (auto [w, stride] : {std::pair{1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 8}, {9, 12}}) {
        IndexedImage image(nullptr, w, 2, palette.data());
        ASSERT_TRUE(image.valid);
        EXPECT_EQ(image.stride(), stride) << w;
    }
}

TEST(IndexedImage, BlankHeaderIsABottomUpEightBitHeader) {
    const auto palette = rampPalette();
    IndexedImage image(nullptr, 5, 3, palette.data());
    ASSERT_TRUE(image.valid);
    EXPECT_NE(image.pixels, nullptr);
    EXPECT_NE(image.memoryDc, nullptr);
    EXPECT_EQ(headerField(image, 0), 40u);
    EXPECT_EQ(headerField(image, 4), 5u);
    EXPECT_EQ(headerField(image, 8), 3u);
    EXPECT_EQ(headerField(image, 12) & 0xffff, 1u);
    EXPECT_EQ(headerField(image, 12) >> 16, 8u);
    EXPECT_EQ(headerField(image, 16), 0u);
    EXPECT_EQ(headerField(image, 20), 24u);
    for (int offset = 24; offset < 40; offset += 4) EXPECT_EQ(headerField(image, offset), 0u);
    EXPECT_EQ(std::memcmp(image.palette(), palette.data(), kPaletteBytes), 0);
}

TEST(IndexedImage, PaletteIsCopiedIntoHeaderAndSection) {
    auto palette = rampPalette();
    IndexedImage image(nullptr, 4, 4, palette.data());
    ASSERT_TRUE(image.valid);
    const auto original = palette;
    palette.fill(0xAB);
    EXPECT_EQ(std::memcmp(image.palette(), original.data(), kPaletteBytes), 0);
    std::array<std::uint8_t, kPaletteBytes> table{};
    ASSERT_TRUE(readSectionColorTable(image.bitmap, image.memoryDc, table.data()));
    // GDI keeps the reserved byte of each entry as given; compare colours only.
    for (int i = 0; i < kPaletteEntries; ++i) {
        for (int c = 0; c < 3; ++c) EXPECT_EQ(table[4 * i + c], original[4 * i + c]) << i;
    }
}

TEST(IndexedImage, PackedDibCopiesPixelsAndPalette) {
    const auto block = makeDibBlock({.width = 5, .height = 3});
    IndexedImage image(nullptr, block.data(), block.size());
    ASSERT_TRUE(image.valid);
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(std::memcmp(image.header.get(), block.data(), kHeaderBlockBytes), 0);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(image.row(y)[x], x + 16 * y);
    }
}

TEST(IndexedImage, TopDownRowsAreStoredBottomUp) {
    const auto block = makeDibBlock({.width = 3, .height = -4});
    IndexedImage image(nullptr, block.data(), block.size());
    ASSERT_TRUE(image.valid);
    EXPECT_EQ(image.height, 4);
    // Block row 0 is the top row on screen, which is memory row 3.
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 3; ++x) EXPECT_EQ(image.row(3 - y)[x], x + 16 * y);
    }
}

TEST(IndexedImage, ShortColourTableLeavesTheRestBlack) {
    const auto block = makeDibBlock({.width = 2, .height = 2, .colorsUsed = 16});
    IndexedImage image(nullptr, block.data(), block.size());
    ASSERT_TRUE(image.valid);
    EXPECT_EQ(std::memcmp(image.palette(), block.data() + 40, 64), 0);
    for (std::size_t i = 64; i < kPaletteBytes; ++i) EXPECT_EQ(image.palette()[i], 0) << i;
    // The rows follow the 16 entries.
    EXPECT_EQ(image.row(1)[1], 17);
}

TEST(IndexedImage, PackedDibLogsItsHeader) {
    const auto block = makeDibBlock({.width = 3, .height = 2});
    CaptureStdout();
    IndexedImage image(nullptr, block.data(), block.size());
    const auto out = lines(GetCapturedStdout());
    ASSERT_EQ(out.size(), 11u);
    EXPECT_EQ(out[0], "biSize          = 40");
    EXPECT_EQ(out[1], "biWidth         = 3");
    EXPECT_EQ(out[2], "biHeight        = 2");
    EXPECT_EQ(out[4], "biBitCount      = 8");
    EXPECT_EQ(out[6], "biSizeImage     = 8");
    EXPECT_EQ(out[9], "biClrUsed       = 0");
}

TEST(IndexedImage, NonEightBitDibLogsOneLineAndHoldsNothing) {
    const auto block = makeDibBlock({.width = 3, .height = 2, .bitCount = 24});
    CaptureStdout();
    IndexedImage image(nullptr, block.data(), block.size());
    const auto out = lines(GetCapturedStdout());
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], "ERROR: only 8bit pixels are supported!");
    EXPECT_FALSE(image.valid);
    EXPECT_EQ(image.bitmap, nullptr);
    EXPECT_EQ(image.memoryDc, nullptr);
    EXPECT_EQ(image.header, nullptr);
}

TEST(IndexedImage, FailedSectionKeepsContextAndHeader) {
    const auto palette = rampPalette();
    IndexedImage image(nullptr, 1 << 20, 1 << 20, palette.data());
    EXPECT_FALSE(image.valid);
    EXPECT_EQ(image.bitmap, nullptr);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_NE(image.memoryDc, nullptr);
    EXPECT_NE(image.header, nullptr);
}

}  // namespace
