// Heap-backed stand-in for a GDI DIB section, so the image model, the passes
// and the chain run unchanged (and under sanitizers) in native builds.
#include <cstring>
#include <memory>
#include <new>

#include "image/section.h"

struct NativeBitmap {
    std::unique_ptr<std::uint8_t[]> bits;
    std::uint8_t colorTable[kPaletteBytes];
};
struct NativeDc {};

HDC createMemoryDc() {
    return new NativeDc;
}
void deleteMemoryDc(HDC dc) {
    delete dc;
}

HBITMAP createIndexedSection(HDC, int width, int height, const std::uint8_t* palette,
                             const std::uint8_t* initialPixels, std::uint8_t** outPixels) {
    if (outPixels != nullptr) *outPixels = nullptr;
    if (!imageSizeAllowed(width, height)) return nullptr;
    const std::int64_t bytes = strideFor(width) * height;
    auto section = std::make_unique<NativeBitmap>();
    section->bits.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(bytes)]);
    if (!section->bits) return nullptr;
    std::memcpy(section->colorTable, palette, kPaletteBytes);
    if (initialPixels != nullptr) {
        std::memcpy(section->bits.get(), initialPixels, static_cast<std::size_t>(bytes));
    }
    if (outPixels != nullptr) *outPixels = section->bits.get();
    return section.release();
}

void deleteSection(HBITMAP bitmap) {
    delete bitmap;
}

bool readSectionColorTable(HBITMAP bitmap, HDC, std::uint8_t* palette) {
    if (bitmap == nullptr) return false;
    std::memcpy(palette, bitmap->colorTable, kPaletteBytes);
    return true;
}
