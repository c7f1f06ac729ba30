#include "ui/manual/manual_bmp.h"

namespace {

constexpr std::uint64_t kFileHeaderBytes = 14;
constexpr std::uint64_t kInfoHeaderBytes = 40;
constexpr std::uint64_t kPaletteBytes = 256 * 4;
constexpr std::int64_t kLargestSide = 1 << 15;

std::uint32_t read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t read16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

const char* readManualBmp(const std::uint8_t* data, std::size_t size, ManualBmpView& view) {
    if (data == nullptr || size < kFileHeaderBytes + kInfoHeaderBytes) {
        return "shorter than its headers";
    }
    if (data[0] != 'B' || data[1] != 'M') return "not a BMP file";
    const std::uint64_t pixelOffset = read32(data + 10);

    const std::uint8_t* info = data + kFileHeaderBytes;
    const std::uint64_t infoSize = read32(info);
    const auto width = static_cast<std::int32_t>(read32(info + 4));
    const auto height = static_cast<std::int32_t>(read32(info + 8));
    const std::uint32_t coloursUsed = read32(info + 32);
    if (infoSize < kInfoHeaderBytes) return "info header too small";
    if (read16(info + 12) != 1 || read16(info + 14) != 8) return "not 8 bits per pixel";
    if (read32(info + 16) != 0) return "compressed";
    // A positive height means bottom-up rows, which the image model keeps as is.
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) {
        return "bad size";
    }
    if (coloursUsed != 0 && coloursUsed != 256) return "palette not 256 entries";

    const std::uint64_t paletteOffset = kFileHeaderBytes + infoSize;
    if (paletteOffset + kPaletteBytes > pixelOffset) return "palette overlaps the pixels";
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) + 3) & ~std::uint64_t{3};
    if (pixelOffset + stride * static_cast<std::uint64_t>(height) > size) return "truncated";

    view.palette = data + paletteOffset;
    view.pixels = data + pixelOffset;
    view.width = width;
    view.height = height;
    view.stride = static_cast<int>(stride);
    return nullptr;
}
