#pragma once
// The per-platform part of the image model: a bottom-up 8-bit DIB section with
// its memory drawing context. Windows uses GDI; native builds use the heap.
#include <cstddef>
#include <cstdint>

#include "gdi_handles.h"

constexpr int kPaletteEntries = 256;
constexpr std::size_t kPaletteBytes = kPaletteEntries * 4;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kHeaderBlockBytes = kInfoHeaderBytes + kPaletteBytes;  // 1064

// The largest pixel memory an image may have. Far beyond any pixel-art frame;
// it keeps a hostile size or a long chain of enlargements from exhausting memory,
// and holds alike on every platform.
constexpr std::int64_t kMaxImageBytes = std::int64_t{256} << 20;

// The widest and tallest image made. It keeps the rotation's per-row and
// per-column tables small whatever size a flow or the host asks for.
constexpr std::int64_t kMaxImageSide = 32768;

// Row stride of an 8-bit image: the width rounded up to a multiple of 4.
constexpr std::int64_t strideFor(std::int64_t width) {
    return (width + 3) & ~std::int64_t{3};
}

// Whether an image of this size may be made: both sides positive and at most
// kMaxImageSide, and at most kMaxImageBytes of pixels.
constexpr bool imageSizeAllowed(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           strideFor(width) * height <= kMaxImageBytes;
}

// A memory drawing context compatible with the screen (null device context).
HDC createMemoryDc();
void deleteMemoryDc(HDC dc);

// Makes an 8-bit section of width x height (bottom-up) with the 256 RGBQUAD
// entries at `palette`. `initialPixels` is null or holds stride x height bytes.
// `outPixels` (may be null) receives the pixel memory, null on failure.
// Returns null when the section cannot be made (a size imageSizeAllowed
// refuses, or no memory).
HBITMAP createIndexedSection(HDC dc, int width, int height, const std::uint8_t* palette,
                             const std::uint8_t* initialPixels, std::uint8_t** outPixels);
void deleteSection(HBITMAP bitmap);

// Copies the section's own colour table (256 RGBQUAD entries) into `palette`.
bool readSectionColorTable(HBITMAP bitmap, HDC dc, std::uint8_t* palette);
