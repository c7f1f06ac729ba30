#include "image/packed_dib.h"

#include <cstring>
#include <limits>

#include "image/section.h"

namespace {

std::uint32_t u32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

bool readDibInfoHeader(const void* block, std::size_t blockSize, DibInfoHeader& h) {
    if (block == nullptr || blockSize < kInfoHeaderBytes) return false;
    const auto* p = static_cast<const std::uint8_t*>(block);
    h.biSize = u32(p + 0);
    h.biWidth = static_cast<std::int32_t>(u32(p + 4));
    h.biHeight = static_cast<std::int32_t>(u32(p + 8));
    h.biPlanes = u16(p + 12);
    h.biBitCount = u16(p + 14);
    h.biCompression = u32(p + 16);
    h.biSizeImage = u32(p + 20);
    h.biXPelsPerMeter = static_cast<std::int32_t>(u32(p + 24));
    h.biYPelsPerMeter = static_cast<std::int32_t>(u32(p + 28));
    h.biClrUsed = u32(p + 32);
    h.biClrImportant = u32(p + 36);
    return true;
}

void writeDibInfoHeader(const DibInfoHeader& h, std::uint8_t* p) {
    put32(p + 0, h.biSize);
    put32(p + 4, static_cast<std::uint32_t>(h.biWidth));
    put32(p + 8, static_cast<std::uint32_t>(h.biHeight));
    put16(p + 12, h.biPlanes);
    put16(p + 14, h.biBitCount);
    put32(p + 16, h.biCompression);
    put32(p + 20, h.biSizeImage);
    put32(p + 24, static_cast<std::uint32_t>(h.biXPelsPerMeter));
    put32(p + 28, static_cast<std::uint32_t>(h.biYPelsPerMeter));
    put32(p + 32, h.biClrUsed);
    put32(p + 36, h.biClrImportant);
}

const char* checkDibLayout(const DibInfoHeader& h, std::size_t blockSize, DibLayout& layout) {
    if (h.biSize < kInfoHeaderBytes) return "header size below 40";
    if (h.biSize > blockSize) return "header larger than the block";
    if (h.biWidth <= 0) return "width not positive";
    if (h.biHeight == 0) return "height is 0";
    if (h.biHeight == std::numeric_limits<std::int32_t>::min()) return "height out of range";
    if (h.biCompression != 0) return "compressed (only BI_RGB is supported)";
    if (h.biClrUsed > static_cast<std::uint32_t>(kPaletteEntries)) return "more than 256 colours";

    const std::uint64_t entries = h.biClrUsed == 0 ? kPaletteEntries : h.biClrUsed;
    const std::uint64_t tableOffset = h.biSize;
    const std::uint64_t pixelOffset = tableOffset + entries * 4;
    const std::uint64_t height =
        h.biHeight < 0 ? -static_cast<std::int64_t>(h.biHeight) : h.biHeight;
    const std::uint64_t stride = static_cast<std::uint64_t>(strideFor(h.biWidth));
    if (!imageSizeAllowed(h.biWidth, static_cast<std::int64_t>(height))) return "image too large";
    const std::uint64_t pixelBytes = stride * height;
    if (pixelOffset > blockSize || pixelBytes > blockSize - pixelOffset) return "block truncated";

    layout.width = h.biWidth;
    layout.height = static_cast<int>(height);
    layout.topDown = h.biHeight < 0;
    layout.colorTableOffset = static_cast<std::size_t>(tableOffset);
    layout.colorEntries = static_cast<int>(entries);
    layout.pixelOffset = static_cast<std::size_t>(pixelOffset);
    layout.stride = static_cast<std::size_t>(stride);
    return nullptr;
}

const char* packedDibProblem(const void* block, std::size_t blockSize) {
    DibInfoHeader header;
    if (!readDibInfoHeader(block, blockSize, header)) return "block truncated";
    if (header.biBitCount != 8) return kOnly8BitProblem;
    DibLayout layout;
    return checkDibLayout(header, blockSize, layout);
}
