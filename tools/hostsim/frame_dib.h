#pragma once
// Packed DIBs and BMP files of the host's layers: what "SendFrame" puts on the
// clipboard, what "ReceiveFrame" takes from it, and the files of a dump.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "host_model.h"

inline constexpr std::size_t kBmpFileHeaderBytes = 14;

// How "SendFrame" shapes its DIB: 8 bits is the sound form; 1, 4, 24 and 32
// bits and a block cut short exist to exercise the reader's refusals.
struct DibShape {
    int bits = 8;
    bool truncated = false;
};

bool dibBitsAllowed(int bits);

// A packed DIB (BITMAPINFOHEADER, colour table, bottom-up rows padded to 4) of
// `pixels` (width x height, top row first). A truncated block keeps its full
// header but lacks the upper half of its rows.
std::vector<std::uint8_t> makePackedDib(const LayerPixels& pixels, int width, int height,
                                        const Palette& palette, const DibShape& shape = {});

// An 8-bit image read from untrusted bytes.
struct DecodedImage {
    int width = 0;
    int height = 0;
    LayerPixels pixels;  // top row first
    Palette palette{};
};

// Reads an 8-bit packed DIB of `size` bytes, never past its end. Gives null and
// fills `out`, or a short reason why the block was refused.
const char* decodePackedDib(const void* block, std::size_t size, DecodedImage& out);

// An uncompressed 8-bit BMP file: BITMAPFILEHEADER then the packed DIB.
std::vector<std::uint8_t> makeBmpFile(const LayerPixels& pixels, int width, int height,
                                      const Palette& palette);
// Reads an 8-bit BMP file's bytes; null or the reason for refusing them.
const char* decodeBmpFile(const std::vector<std::uint8_t>& file, DecodedImage& out);
