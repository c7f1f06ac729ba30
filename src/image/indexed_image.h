#pragma once
// An 8-bit palettised image held as a DIB section: rows bottom-up (memory row 0
// is the bottom row on screen), stride = width rounded up to a multiple of 4.
// Always made on the heap, owned by exactly one holder, never copied.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "image/section.h"

class IndexedImage {
  public:
    // A blank image with a copy of the 256 RGBQUAD entries at `palette`.
    // Pixel values are undefined until written. Not `valid` when
    // imageSizeAllowed refuses the size (wider or taller than kMaxImageSide).
    IndexedImage(HWND owner, int width, int height, const std::uint8_t* palette);

    // An image copied from a packed DIB of `blockSize` bytes (the caller keeps
    // the block). Nothing past the block's end is read. A block that is not a
    // sound uncompressed 8-bit DIB gives an image that is not `valid`, with a
    // log line saying why.
    IndexedImage(HWND owner, const void* packedDib, std::size_t blockSize);

    ~IndexedImage();
    IndexedImage(const IndexedImage&) = delete;
    IndexedImage& operator=(const IndexedImage&) = delete;

    int stride() const { return static_cast<int>(strideFor(width)); }
    // The 256 RGBQUAD entries (blue, green, red, reserved) of the header block.
    const std::uint8_t* palette() const { return header.get() + kInfoHeaderBytes; }
    std::uint8_t* row(int memoryRow) {
        return pixels + static_cast<std::ptrdiff_t>(memoryRow) * stride();
    }
    const std::uint8_t* row(int memoryRow) const {
        return pixels + static_cast<std::ptrdiff_t>(memoryRow) * stride();
    }

    HBITMAP bitmap = nullptr;
    HDC memoryDc = nullptr;
    HWND owner = nullptr;
    bool valid = false;
    std::uint8_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::unique_ptr<std::uint8_t[]> header;  // kHeaderBlockBytes: BITMAPINFOHEADER + palette

  private:
    void makeSection(const std::uint8_t* palette, const std::uint8_t* initialPixels);
};
