#include "ui/manual/manual_bmp.h"

#include "image/packed_dib.h"
#include "image/section.h"

namespace {

constexpr std::size_t kFileHeaderBytes = 14;

std::uint32_t read32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

const char* readManualBmp(const std::uint8_t* data, std::size_t size, ManualBmpView& view) {
    if (data == nullptr || size < kFileHeaderBytes + kInfoHeaderBytes) {
        return "shorter than its headers";
    }
    if (data[0] != 'B' || data[1] != 'M') return "not a BMP file";
    // After the file header the file is a packed DIB, read as the clipboard's are.
    const std::uint8_t* dib = data + kFileHeaderBytes;
    const std::size_t dibSize = size - kFileHeaderBytes;
    DibInfoHeader header;
    readDibInfoHeader(dib, dibSize, header);
    if (header.biBitCount != 8) return "not 8 bits per pixel";
    DibLayout layout;
    if (const char* why = checkDibLayout(header, dibSize, layout)) return why;
    // The page keeps the rows bottom-up as the image model does, with a full palette.
    if (layout.topDown) return "rows stored top to bottom";
    if (layout.colorEntries != kPaletteEntries) return "palette not 256 entries";
    if (read32(data + 10) != kFileHeaderBytes + layout.pixelOffset) {
        return "pixel offset does not follow the palette";
    }

    view.palette = dib + layout.colorTableOffset;
    view.pixels = dib + layout.pixelOffset;
    view.width = layout.width;
    view.height = layout.height;
    view.stride = static_cast<int>(layout.stride);
    return nullptr;
}
