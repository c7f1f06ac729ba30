#include "image/indexed_image.h"

#include <cstring>

#include "base/log.h"
#include "image/packed_dib.h"

namespace {

// The header block as the blank constructor stores it: a bottom-up 8-bit
// BI_RGB header followed by the 256 palette entries.
void fillBlankHeader(std::uint8_t* block, int width, int height, const std::uint8_t* palette) {
    DibInfoHeader h;
    h.biSize = kInfoHeaderBytes;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biCompression = 0;
    h.biSizeImage = static_cast<std::uint32_t>(strideFor(width) * height);
    writeDibInfoHeader(h, block);
    std::memcpy(block + kInfoHeaderBytes, palette, kPaletteBytes);
}

void logHeader(const DibInfoHeader& h) {
    logFormat("biSize          = %ld\n", static_cast<long>(h.biSize));
    logFormat("biWidth         = %ld\n", static_cast<long>(h.biWidth));
    logFormat("biHeight        = %ld\n", static_cast<long>(h.biHeight));
    logFormat("biPlanes        = %d\n", static_cast<int>(h.biPlanes));
    logFormat("biBitCount      = %d\n", static_cast<int>(h.biBitCount));
    logFormat("biCompression   = %ld\n", static_cast<long>(h.biCompression));
    logFormat("biSizeImage     = %ld\n", static_cast<long>(h.biSizeImage));
    logFormat("biXPelsPerMeter = %ld\n", static_cast<long>(h.biXPelsPerMeter));
    logFormat("biYPelsPerMeter = %ld\n", static_cast<long>(h.biYPelsPerMeter));
    logFormat("biClrUsed       = %ld\n", static_cast<long>(h.biClrUsed));
    logFormat("biClrImportant  = %ld\n", static_cast<long>(h.biClrImportant));
}

}  // namespace

IndexedImage::IndexedImage(HWND ownerWindow, int w, int h, const std::uint8_t* palette)
    : owner(ownerWindow), width(w), height(h) {
    header = std::make_unique<std::uint8_t[]>(kHeaderBlockBytes);
    fillBlankHeader(header.get(), width, height, palette);
    memoryDc = createMemoryDc();
    makeSection(palette, nullptr);
}

IndexedImage::IndexedImage(HWND ownerWindow, const void* packedDib, std::size_t blockSize) {
    DibInfoHeader info;
    if (!readDibInfoHeader(packedDib, blockSize, info)) {
        logFormat("ERROR: packed DIB truncated: %lu bytes, a header needs 40\n",
                  static_cast<unsigned long>(blockSize));
        return;
    }
    if (info.biBitCount != 8) {
        logFormat("ERROR: %s\n", kOnly8BitProblem);
        return;
    }
    logHeader(info);
    DibLayout layout;
    if (const char* why = checkDibLayout(info, blockSize, layout)) {
        logFormat("ERROR: rejected packed DIB: %s\n", why);
        return;
    }

    const auto* block = static_cast<const std::uint8_t*>(packedDib);
    width = layout.width;
    height = layout.height;
    // The header repeats the block's own values; the palette part holds the
    // entries the block really has, and zeros for those it leaves out.
    header = std::make_unique<std::uint8_t[]>(kHeaderBlockBytes);
    std::memcpy(header.get(), block, kInfoHeaderBytes);
    std::memcpy(header.get() + kInfoHeaderBytes, block + layout.colorTableOffset,
                static_cast<std::size_t>(layout.colorEntries) * 4);

    owner = ownerWindow;
    memoryDc = createMemoryDc();
    const std::uint8_t* rows = block + layout.pixelOffset;
    makeSection(palette(), layout.topDown ? nullptr : rows);
    if (valid && layout.topDown) {
        for (int y = 0; y < height; ++y) {
            std::memcpy(row(y), rows + static_cast<std::size_t>(height - 1 - y) * layout.stride,
                        layout.stride);
        }
    }
}

void IndexedImage::makeSection(const std::uint8_t* palette, const std::uint8_t* initialPixels) {
    bitmap = createIndexedSection(memoryDc, width, height, palette, initialPixels, &pixels);
    valid = bitmap != nullptr;
}

IndexedImage::~IndexedImage() {
    if (memoryDc != nullptr) deleteMemoryDc(memoryDc);
    if (bitmap != nullptr) deleteSection(bitmap);
}
