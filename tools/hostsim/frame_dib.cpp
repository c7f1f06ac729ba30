#include "frame_dib.h"

#include <cstring>

#include "image/indexed_image.h"
#include "image/packed_dib.h"

namespace {

std::size_t dibStride(int width, int bits) {
    return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32) * 4;
}

int tableEntries(int bits) {
    return bits <= 8 ? 1 << bits : 0;
}

void putLe16(std::uint8_t* out, std::uint32_t value) {
    out[0] = static_cast<std::uint8_t>(value);
    out[1] = static_cast<std::uint8_t>(value >> 8);
}

void putLe32(std::uint8_t* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Writes one screen row in the given depth. Lower depths keep the low bits of
// each index, which is enough to make a well-formed DIB of that depth.
void packRow(const std::uint8_t* indices, int width, int bits, const Palette& palette,
             std::uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        const std::uint8_t index = indices[x];
        const std::uint8_t* colour = &palette[4 * static_cast<std::size_t>(index)];
        switch (bits) {
            case 1:
                if ((index & 1) != 0)
                    out[x / 8] = static_cast<std::uint8_t>(out[x / 8] | (0x80 >> (x % 8)));
                break;
            case 4:
                out[x / 2] = static_cast<std::uint8_t>(out[x / 2] |
                                                       ((index & 15) << ((x % 2) == 0 ? 4 : 0)));
                break;
            case 8:
                out[x] = index;
                break;
            case 24:
                std::memcpy(out + 3 * x, colour, 3);
                break;
            default:
                std::memcpy(out + 4 * x, colour, 3);
                break;
        }
    }
}

}  // namespace

bool dibBitsAllowed(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

std::vector<std::uint8_t> makePackedDib(const LayerPixels& pixels, int width, int height,
                                        const Palette& palette, const DibShape& shape) {
    const int bits = dibBitsAllowed(shape.bits) ? shape.bits : 8;
    const std::size_t stride = dibStride(width, bits);
    const std::size_t tableBytes = static_cast<std::size_t>(tableEntries(bits)) * 4;
    const std::size_t imageBytes = stride * static_cast<std::size_t>(height);
    const std::size_t pixelOffset = kInfoHeaderBytes + tableBytes;
    std::vector<std::uint8_t> block(pixelOffset + imageBytes, 0);

    DibInfoHeader header;
    header.biSize = kInfoHeaderBytes;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<std::uint16_t>(bits);
    header.biSizeImage = static_cast<std::uint32_t>(imageBytes);
    writeDibInfoHeader(header, block.data());
    std::memcpy(block.data() + kInfoHeaderBytes, palette.data(), tableBytes);

    for (int y = 0; y < height; ++y) {
        // Bottom-up: the block's first row is the bottom row on screen.
        const std::uint8_t* source =
            pixels.data() + static_cast<std::size_t>(height - 1 - y) * width;
        packRow(source, width, bits, palette,
                block.data() + pixelOffset + static_cast<std::size_t>(y) * stride);
    }
    if (shape.truncated) block.resize(pixelOffset + stride * static_cast<std::size_t>(height / 2));
    return block;
}

const char* decodePackedDib(const void* block, std::size_t size, DecodedImage& out) {
    if (const char* problem = packedDibProblem(block, size)) return problem;
    IndexedImage image(nullptr, block, size);
    if (!image.valid) return "no image could be made of it";
    out.width = image.width;
    out.height = image.height;
    out.pixels.assign(
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height), 0);
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(out.pixels.data() + static_cast<std::size_t>(y) * image.width,
                    image.row(image.height - 1 - y), static_cast<std::size_t>(image.width));
    }
    std::memcpy(out.palette.data(), image.palette(), out.palette.size());
    return nullptr;
}

std::vector<std::uint8_t> makeBmpFile(const LayerPixels& pixels, int width, int height,
                                      const Palette& palette) {
    const std::vector<std::uint8_t> dib = makePackedDib(pixels, width, height, palette);
    std::vector<std::uint8_t> file(kBmpFileHeaderBytes + dib.size(), 0);
    file[0] = 'B';
    file[1] = 'M';
    putLe32(&file[2], static_cast<std::uint32_t>(file.size()));
    putLe16(&file[6], 0);
    putLe16(&file[8], 0);
    putLe32(&file[10], static_cast<std::uint32_t>(kBmpFileHeaderBytes + kHeaderBlockBytes));
    std::memcpy(file.data() + kBmpFileHeaderBytes, dib.data(), dib.size());
    return file;
}

const char* decodeBmpFile(const std::vector<std::uint8_t>& file, DecodedImage& out) {
    if (file.size() < kBmpFileHeaderBytes || file[0] != 'B' || file[1] != 'M')
        return "not a BMP file";
    return decodePackedDib(file.data() + kBmpFileHeaderBytes, file.size() - kBmpFileHeaderBytes,
                           out);
}
