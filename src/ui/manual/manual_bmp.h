#pragma once
// Reading the manual page's BMP file from memory (the program's own resource):
// an uncompressed 8-bit bottom-up BMP with a full 256-entry palette. Every
// offset and size is checked against the block, so nothing past it is read.
#include <cstddef>
#include <cstdint>

struct ManualBmpView {
    const std::uint8_t* palette = nullptr;  // 256 RGBQUAD entries
    const std::uint8_t* pixels = nullptr;   // `height` rows, bottom row first
    int width = 0;
    int height = 0;
    int stride = 0;  // width rounded up to a multiple of 4
};

// Fills `view` and returns null when `data` holds such a BMP; otherwise
// returns why not and leaves `view` alone.
const char* readManualBmp(const std::uint8_t* data, std::size_t size, ManualBmpView& view);
