#pragma once
// Bounded reading of a packed DIB (BITMAPINFOHEADER, colour table, rows) as the
// clipboard's CF_DIB holds it. Everything in the block is untrusted.
#include <cstddef>
#include <cstdint>

struct DibInfoHeader {
    std::uint32_t biSize = 0;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biPlanes = 0;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;
};

// Where the parts of an 8-bit packed DIB lie, all inside the block.
struct DibLayout {
    int width = 0;
    int height = 0;        // always positive
    bool topDown = false;  // biHeight was negative
    std::size_t colorTableOffset = 0;
    int colorEntries = 0;  // 1..256 entries present in the block
    std::size_t pixelOffset = 0;
    std::size_t stride = 0;
};

// Reads the 40-byte header; false when the block is shorter than that.
bool readDibInfoHeader(const void* block, std::size_t blockSize, DibInfoHeader& header);

// Checks an 8-bit header against the block it came in. Returns null and fills
// `layout` when the rows and colour table lie inside the block, otherwise a
// short reason for the log.
const char* checkDibLayout(const DibInfoHeader& header, std::size_t blockSize, DibLayout& layout);

// Writes a little-endian header at `out` (40 bytes), as BITMAPINFOHEADER lays it out.
void writeDibInfoHeader(const DibInfoHeader& header, std::uint8_t* out);

// The reason packedDibProblem gives for a block that is not 8 bits per pixel.
inline constexpr const char* kOnly8BitProblem = "only 8bit pixels are supported!";

// Why an 8-bit image cannot be read from the block (a short phrase), or null
// when it can. Non-8-bit blocks give kOnly8BitProblem.
const char* packedDibProblem(const void* block, std::size_t blockSize);
