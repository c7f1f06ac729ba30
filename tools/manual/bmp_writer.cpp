#include "bmp_writer.h"

#include <fstream>
#include <stdexcept>

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoBytes = 40;
constexpr std::uint32_t kPaletteBytes = 1024;

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

std::vector<std::uint8_t> encodeBmp8(const Canvas& canvas, const PagePalette& palette) {
    const auto width = static_cast<std::uint32_t>(canvas.width());
    const auto height = static_cast<std::uint32_t>(canvas.height());
    const std::uint32_t stride = (width + 3) & ~3u;
    const std::uint32_t pixelOffset = kFileHeaderBytes + kInfoBytes + kPaletteBytes;
    const std::uint32_t imageBytes = stride * height;

    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, pixelOffset + imageBytes);
    put32(out, 0);  // two reserved words
    put32(out, pixelOffset);

    put32(out, kInfoBytes);
    put32(out, width);
    put32(out, height);  // positive: rows stored bottom-up
    put16(out, 1);       // planes
    put16(out, 8);       // bits per pixel
    put32(out, 0);       // BI_RGB
    put32(out, imageBytes);
    put32(out, 2835);  // 72 dpi, in pixels per metre
    put32(out, 2835);
    put32(out, 256);  // colours used
    put32(out, 0);    // all important

    const auto quads = palette.rgbQuads();
    out.insert(out.end(), quads.begin(), quads.end());

    for (int y = canvas.height() - 1; y >= 0; --y) {
        const auto* row = canvas.pixels().data() + static_cast<std::size_t>(y) * width;
        out.insert(out.end(), row, row + width);
        out.insert(out.end(), stride - width, 0);
    }
    return out;
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) throw std::runtime_error("cannot write " + path);
}
