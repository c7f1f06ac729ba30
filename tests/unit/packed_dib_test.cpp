// Images read from untrusted packed DIBs: header fields, where the parts lie,
// what is copied and logged, and the reason every refused block is given.
#include <gtest/gtest.h>

#include <string>

#include "dib_block.h"
#include "image/indexed_image.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

using Bytes = std::vector<std::uint8_t>;

// An image read from `block`, its log kept aside.
std::unique_ptr<IndexedImage> fromBlock(const Bytes& block, std::string* log = nullptr) {
    CaptureStdout();
    auto image = std::make_unique<IndexedImage>(nullptr, block.data(), block.size());
    const std::string text = GetCapturedStdout();
    if (log != nullptr) *log = text;
    return image;
}

// `block` with the 32-bit header field at `offset` set to `value`.
Bytes with(Bytes block, int offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return block;
}

TEST(PackedDib, HeaderFieldsAreLittleEndianBothWays) {
    // Every byte different and above 127, so any slip of offset, order or sign shows.
    Bytes raw(40);
    for (int i = 0; i < 40; ++i) raw[i] = static_cast<std::uint8_t>(0x81 + i);
    DibInfoHeader h;
    ASSERT_TRUE(readDibInfoHeader(raw.data(), raw.size(), h));
    EXPECT_EQ(h.biWidth, static_cast<std::int32_t>(0x88878685));
    EXPECT_EQ(h.biBitCount, 0x908f);
    EXPECT_EQ(h.biClrImportant, 0xa8a7a6a5u);
    Bytes written(40);
    writeDibInfoHeader(h, written.data());
    EXPECT_EQ(written, raw);
}

TEST(PackedDib, CopiesHeaderPaletteAndRowsAndLogsTheHeader) {
    // Wider than 255, so each byte of the 32-bit width counts.
    const Bytes block = with(makeDibBlock({.width = 301, .height = 3}), 36, 7);
    std::string log;
    const auto image = fromBlock(block, &log);
    ASSERT_TRUE(image->valid);
    EXPECT_EQ(image->width, 301);
    EXPECT_EQ(image->height, 3);
    EXPECT_EQ(Bytes(image->header.get(), image->header.get() + 1064),
              Bytes(&block[0], &block[1064]));
    // Bottom-up rows, padding included.
    EXPECT_EQ(Bytes(image->pixels, image->pixels + 912), Bytes(block.begin() + 1064, block.end()));
    EXPECT_EQ(log,
              "biSize          = 40\nbiWidth         = 301\nbiHeight        = 3\n"
              "biPlanes        = 1\nbiBitCount      = 8\nbiCompression   = 0\n"
              "biSizeImage     = 912\nbiXPelsPerMeter = 0\nbiYPelsPerMeter = 0\n"
              "biClrUsed       = 0\nbiClrImportant  = 7\n");
}

TEST(PackedDib, RowsAndColoursAreTakenWhereTheBlockPutsThem) {
    // The rows follow the header and the colour table, however long each is.
    for (const DibBlockShape shape :
         {DibBlockShape{.colorsUsed = 256}, DibBlockShape{.colorsUsed = 16},
          DibBlockShape{.headerSize = 124, .colorsUsed = 2}}) {
        EXPECT_EQ(fromBlock(makeDibBlock(shape))->row(1)[1], 17)
            << shape.headerSize << " " << shape.colorsUsed;
    }
    // Top-down rows: block row 0 is the top row on screen, memory row 3.
    const auto topDown = fromBlock(makeDibBlock({.width = 3, .height = -4}));
    ASSERT_EQ(topDown->height, 4);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(topDown->row(3 - y)[2], 2 + 16 * y);
    // A short colour table leaves the rest of the palette black.
    const Bytes block = makeDibBlock({.colorsUsed = 16});
    Bytes palette(&block[40], &block[104]);
    palette.resize(1024, 0);
    const auto image = fromBlock(block);
    EXPECT_EQ(Bytes(image->palette(), image->palette() + 1024), palette);
}

TEST(PackedDib, NamesWhyABlockIsRefused) {
    const Bytes small = makeDibBlock({.width = 4, .height = 4});
    const struct {
        Bytes block;
        const char* why;
    } cases[] = {
        {makeDibBlock({.bitCount = 24}), "only 8bit pixels are supported!"},
        {with(small, 0, 36), "header size below 40"},
        {with(small, 0, static_cast<std::uint32_t>(small.size() + 1)),
         "header larger than the block"},
        {makeDibBlock({.width = 0}), "width not positive"},
        {makeDibBlock({.width = -4}), "width not positive"},
        {makeDibBlock({.height = 0}), "height is 0"},
        {with(small, 8, 0x80000000u), "height out of range"},
        {makeDibBlock({.compression = 1}), "compressed (only BI_RGB is supported)"},
        {makeDibBlock({.colorsUsed = 257}), "more than 256 colours"},
        {with(small, 4, 32769), "image too large"},
        {with(small, 8, static_cast<std::uint32_t>(-32769)), "image too large"},
        {with(with(small, 4, 0x7fffffff), 8, 0x7fffffff), "image too large"},
        {with(small, 4, 5), "block truncated"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(packedDibProblem(c.block.data(), c.block.size()), c.why);
        std::string log;
        const auto image = fromBlock(c.block, &log);
        EXPECT_NE(log.find(c.why), std::string::npos) << log;
        // Nothing is made, not even a size.
        EXPECT_FALSE(image->valid) << c.why;
        EXPECT_EQ(image->width, 0) << c.why;
        EXPECT_EQ(image->height, 0) << c.why;
    }
    // Only the 8-bit refusal comes without the header dump.
    std::string log;
    fromBlock(cases[0].block, &log);
    EXPECT_EQ(log, "ERROR: only 8bit pixels are supported!\n");
}

TEST(PackedDib, RefusesEveryTruncation) {
    const Bytes block = makeDibBlock({.width = 5, .height = 3, .colorsUsed = 4});
    for (std::size_t size = 0; size < block.size(); ++size) {
        // A copy of exactly `size` bytes, so ASan catches any read past its end.
        const Bytes cut(block.begin(), block.begin() + static_cast<long>(size));
        EXPECT_NE(packedDibProblem(cut.data(), cut.size()), nullptr) << size;
        std::string log;
        EXPECT_FALSE(fromBlock(cut, &log)->valid) << size;
        EXPECT_NE(log.find("truncated"), std::string::npos) << size << ": " << log;
    }
    EXPECT_EQ(packedDibProblem(block.data(), block.size()), nullptr);
}

}  // namespace
