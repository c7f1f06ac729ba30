#pragma once
// The packed DIB an image is put on the clipboard as, the bytes GetDIBits gives
// for it: a 1064-byte header block (BITMAPINFOHEADER, the 256 palette entries),
// then the rows bottom-up, each padded with zeros to a multiple of 4 bytes.
#include <cstddef>
#include <cstdint>

#include "image/indexed_image.h"

std::size_t packedDibBytes(const IndexedImage& image);
// Writes packedDibBytes(image) bytes at `block`.
void writePackedDib(const IndexedImage& image, std::uint8_t* block);
