// GDI DIB sections: one memory for the passes to write and for GDI to draw.
#include <cstring>
#include <memory>

#include "image/section.h"

HDC createMemoryDc() {
    return CreateCompatibleDC(nullptr);
}
void deleteMemoryDc(HDC dc) {
    DeleteDC(dc);
}

HBITMAP createIndexedSection(HDC dc, int width, int height, const std::uint8_t* palette,
                             const std::uint8_t* initialPixels, std::uint8_t** outPixels) {
    if (outPixels != nullptr) *outPixels = nullptr;
    if (!imageSizeAllowed(width, height)) return nullptr;
    const std::int64_t bytes = strideFor(width) * height;

    auto info = std::make_unique<std::uint8_t[]>(kHeaderBlockBytes);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(bytes);
    std::memcpy(info.get(), &header, sizeof header);
    std::memcpy(info.get() + kInfoHeaderBytes, palette, kPaletteBytes);

    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(info.get()), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    if (bitmap == nullptr) bits = nullptr;
    if (bitmap != nullptr && initialPixels != nullptr) {
        std::memcpy(bits, initialPixels, static_cast<std::size_t>(bytes));
    }
    if (outPixels != nullptr) *outPixels = static_cast<std::uint8_t*>(bits);
    return bitmap;
}

void deleteSection(HBITMAP bitmap) {
    DeleteObject(bitmap);
}

bool readSectionColorTable(HBITMAP bitmap, HDC dc, std::uint8_t* palette) {
    if (bitmap == nullptr || dc == nullptr) return false;
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RGBQUAD table[kPaletteEntries];
    const UINT read = GetDIBColorTable(dc, 0, kPaletteEntries, table);
    SelectObject(dc, previous);
    if (read != kPaletteEntries) return false;
    std::memcpy(palette, table, kPaletteBytes);
    return true;
}
