// The image model: the blank image's header and palette, and the size limits
// of both constructors.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "dib_block.h"
#include "image/indexed_image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(IndexedImage, BlankHeaderIsBottomUpEightBitWithItsOwnCopyOfThePalette) {
    std::array<std::uint8_t, kPaletteBytes> palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<std::uint8_t>(i * 7);
    const auto original = palette;
    IndexedImage image(nullptr, 5, 3, palette.data());
    palette.fill(0xAB);
    ASSERT_TRUE(image.valid);
    // biSizeImage 24: three rows of stride 8.
    const Bytes header = {40, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0, 1, 0, 8, 0, 0, 0, 0, 0,
                          24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Bytes(image.header.get(), image.header.get() + 40), header);
    EXPECT_EQ(Bytes(image.palette(), image.palette() + kPaletteBytes),
              Bytes(original.begin(), original.end()));
    std::array<std::uint8_t, kPaletteBytes> table{};
    ASSERT_TRUE(readSectionColorTable(image.bitmap, image.memoryDc, table.data()));
    // GDI keeps the reserved byte of each entry as given; compare colours only.
    for (std::size_t i = 0; i < kPaletteBytes; i += 4) {
        EXPECT_EQ(Bytes(&table[i], &table[i + 3]), Bytes(&original[i], &original[i + 3])) << i / 4;
    }
}

TEST(IndexedImage, SizeLimitsHoldAtTheirBoundariesForBothConstructors) {
    EXPECT_TRUE(imageSizeAllowed(32768, 8192));  // 256 MiB of pixels
    EXPECT_FALSE(imageSizeAllowed(32768, 8193));
    EXPECT_FALSE(imageSizeAllowed(0, 1));
    EXPECT_FALSE(imageSizeAllowed(1, 0));
    const std::vector<std::uint8_t> palette(kPaletteBytes, 0);
    for (auto [w, h, made] : {std::tuple{32768, 1, true}, std::tuple{32769, 1, false},
                              std::tuple{1, 32768, true}, std::tuple{1, 32769, false}}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        IndexedImage blank(nullptr, w, h, palette.data());
        EXPECT_EQ(blank.valid, made);
        EXPECT_EQ(blank.pixels != nullptr, made);
        // A section that was not made still has its context and header to release.
        EXPECT_NE(blank.memoryDc, nullptr);
        EXPECT_NE(blank.header, nullptr);
        const auto block = makeDibBlock({.width = w, .height = h});
        testing::internal::CaptureStdout();
        EXPECT_EQ(IndexedImage(nullptr, block.data(), block.size()).valid, made);
        testing::internal::GetCapturedStdout();
    }
}

}  // namespace
