#include "host/packed_dib_writer.h"

#include <cstring>

#include "image/packed_dib.h"

namespace {

std::size_t rowBytes(const IndexedImage& image) {
    return static_cast<std::size_t>(image.stride()) * static_cast<std::size_t>(image.height);
}

}  // namespace

std::size_t packedDibBytes(const IndexedImage& image) {
    return kHeaderBlockBytes + rowBytes(image);
}

void writePackedDib(const IndexedImage& image, std::uint8_t* block) {
    // A fresh header: the image's own may be a top-down or short-palette one
    // from the block it was read from, while its rows are always bottom-up.
    DibInfoHeader header;
    header.biSize = kInfoHeaderBytes;
    header.biWidth = image.width;
    header.biHeight = image.height;
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biSizeImage = static_cast<std::uint32_t>(rowBytes(image));
    writeDibInfoHeader(header, block);
    std::memcpy(block + kInfoHeaderBytes, image.palette(), kPaletteBytes);
    // Row padding goes out as zeros, whatever a pass left in the image's own.
    const std::size_t stride = static_cast<std::size_t>(image.stride());
    const std::size_t width = static_cast<std::size_t>(image.width);
    std::uint8_t* out = block + kHeaderBlockBytes;
    for (int y = 0; y < image.height; ++y, out += stride) {
        std::memcpy(out, image.row(y), width);
        std::memset(out + width, 0, stride - width);
    }
}
