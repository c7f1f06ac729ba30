// Reading packed DIBs from untrusted blocks: layout, rejection, bounds.
#include <gtest/gtest.h>

#include <string>

#include "dib_block.h"
#include "image/indexed_image.h"

namespace {

DibLayout layoutOf(const std::vector<std::uint8_t>& block) {
    DibInfoHeader h;
    EXPECT_TRUE(readDibInfoHeader(block.data(), block.size(), h));
    DibLayout layout;
    EXPECT_EQ(checkDibLayout(h, block.size(), layout), nullptr);
    return layout;
}

TEST(PackedDib, PixelRowsFollowHeaderSizeAndColoursUsed) {
    EXPECT_EQ(layoutOf(makeDibBlock({.colorsUsed = 0})).pixelOffset, 1064u);
    EXPECT_EQ(layoutOf(makeDibBlock({.colorsUsed = 256})).pixelOffset, 1064u);
    EXPECT_EQ(layoutOf(makeDibBlock({.colorsUsed = 16})).pixelOffset, 104u);
    const DibLayout v5 = layoutOf(makeDibBlock({.headerSize = 124, .colorsUsed = 2}));
    EXPECT_EQ(v5.colorTableOffset, 124u);
    EXPECT_EQ(v5.pixelOffset, 132u);
}

TEST(PackedDib, RejectsMalformedHeaders) {
    struct Case {
        const char* what;
        DibBlockShape shape;
    } cases[] = {
        {"header size below 40", {.headerSize = 40}},
        {"zero width", {.width = 0}},
        {"negative width", {.width = -4}},
        {"zero height", {.height = 0}},
        {"RLE8", {.compression = 1}},
    };
    for (const Case& c : cases) {
        auto block = makeDibBlock(c.shape);
        if (std::string(c.what) == "header size below 40") block[0] = 36;
        EXPECT_NE(packedDibProblem(block.data(), block.size()), nullptr) << c.what;
        testing::internal::CaptureStdout();
        IndexedImage image(nullptr, block.data(), block.size());
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_NE(log.find("ERROR: rejected packed DIB"), std::string::npos) << c.what;
        EXPECT_FALSE(image.valid) << c.what;
        EXPECT_EQ(image.pixels, nullptr) << c.what;
    }
}

TEST(PackedDib, RejectsEveryTruncation) {
    const auto block = makeDibBlock({.width = 5, .height = 3, .colorsUsed = 4});
    for (std::size_t size = 0; size < block.size(); ++size) {
        // A copy of exactly `size` bytes, so ASan catches any read past its end.
        std::vector<std::uint8_t> cut(block.begin(), block.begin() + static_cast<long>(size));
        EXPECT_NE(packedDibProblem(cut.data(), cut.size()), nullptr) << size;
        testing::internal::CaptureStdout();
        IndexedImage image(nullptr, cut.data(), cut.size());
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_FALSE(image.valid) << size;
        EXPECT_NE(log.find("truncated"), std::string::npos) << size << ": " << log;
    }
    EXPECT_EQ(packedDibProblem(block.data(), block.size()), nullptr);
}

TEST(PackedDib, RejectsSizesThatOverflowOrExceedTheBlock) {
    auto block = makeDibBlock({.width = 4, .height = 4});
    DibInfoHeader h;
    ASSERT_TRUE(readDibInfoHeader(block.data(), block.size(), h));
    for (auto [w, hgt] : {std::pair{0x7fffffff, 0x7fffffff}, std::pair{65536, 65536},
                          std::pair{4, -0x7fffffff}, std::pair{5, 4}}) {
        h.biWidth = w;
        h.biHeight = hgt;
        writeDibInfoHeader(h, block.data());
        EXPECT_NE(packedDibProblem(block.data(), block.size()), nullptr) << w << "x" << hgt;
    }
}

TEST(PackedDib, NonEightBitNamesTheReason) {
    for (int bits : {1, 4, 16, 24, 32}) {
        const auto block = makeDibBlock({.bitCount = static_cast<std::uint16_t>(bits)});
        EXPECT_STREQ(packedDibProblem(block.data(), block.size()),
                     "only 8bit pixels are supported!");
    }
}

}  // namespace
