#pragma once
// Builds packed DIB blocks for tests: header, colour table, rows.
#include <cstdint>
#include <vector>

#include "image/packed_dib.h"

struct DibBlockShape {
    std::int32_t width = 3;
    std::int32_t height = 2;  // negative: top-down rows
    std::uint16_t bitCount = 8;
    std::uint32_t headerSize = 40;
    std::uint32_t colorsUsed = 0;
    std::uint32_t compression = 0;
};

// Palette entry i is (blue, green, red) = (i, 255 - i, i ^ 0x5a); pixel (x, row y in
// block order) is (x + 16 * y) & 0xff; padding bytes are 0xEE.
inline std::vector<std::uint8_t> makeDibBlock(const DibBlockShape& s) {
    const std::uint32_t entries = s.colorsUsed == 0 ? 256 : s.colorsUsed;
    const std::int64_t rows = s.height < 0 ? -std::int64_t{s.height} : s.height;
    const std::int64_t stride = s.width > 0 ? (s.width + 3) & ~3 : 0;
    std::vector<std::uint8_t> block(s.headerSize + entries * 4 + stride * rows, 0);
    DibInfoHeader h;
    h.biSize = s.headerSize;
    h.biWidth = s.width;
    h.biHeight = s.height;
    h.biPlanes = 1;
    h.biBitCount = s.bitCount;
    h.biCompression = s.compression;
    h.biSizeImage = static_cast<std::uint32_t>(stride * rows);
    h.biClrUsed = s.colorsUsed;
    writeDibInfoHeader(h, block.data());
    std::uint8_t* table = block.data() + s.headerSize;
    for (std::uint32_t i = 0; i < entries; ++i) {
        table[4 * i + 0] = static_cast<std::uint8_t>(i);
        table[4 * i + 1] = static_cast<std::uint8_t>(255 - i);
        table[4 * i + 2] = static_cast<std::uint8_t>(i ^ 0x5a);
    }
    std::uint8_t* pixels = table + entries * 4;
    for (std::int64_t y = 0; y < rows; ++y) {
        for (std::int64_t x = 0; x < stride; ++x) {
            pixels[y * stride + x] = x < s.width ? static_cast<std::uint8_t>(x + 16 * y) : 0xEE;
        }
    }
    return block;
}
