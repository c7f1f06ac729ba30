// The clipboard side of import and export: CF_DIB in, CF_DIB out.
#include "host/clipboard.h"

#include <cstring>

#include "base/win32_handles.h"
#include "image/packed_dib.h"

namespace {

// The stock default palette selected and realised for the DC's lifetime here.
class DefaultPaletteSelection {
  public:
    explicit DefaultPaletteSelection(HDC dc)
        : dc_(dc),
          previous_(
              SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE)) {
        RealizePalette(dc_);
    }
    ~DefaultPaletteSelection() {
        if (previous_ != nullptr) SelectPalette(dc_, previous_, FALSE);
    }
    DefaultPaletteSelection(const DefaultPaletteSelection&) = delete;
    DefaultPaletteSelection& operator=(const DefaultPaletteSelection&) = delete;

  private:
    HDC dc_;
    HPALETTE previous_;
};

// Header plus colour table bytes and the DIB bit count for a bitmap's depth.
struct DibShape {
    WORD bitCount;
    SIZE_T headerBytes;
};

DibShape dibShapeFor(int bitsPerPixel) {
    if (bitsPerPixel <= 1) return {1, 40 + 2 * 4};
    if (bitsPerPixel <= 4) return {4, 40 + 16 * 4};
    if (bitsPerPixel <= 8) return {8, 40 + 256 * 4};
    return {24, 40};
}

}  // namespace

ClipboardImage readClipboardImage(HWND owner) {
    ClipboardImage result;
    ClipboardSession clipboard(nullptr);
    if (!clipboard.isOpen()) {
        result.status = ClipboardRead::OpenFailed;
        return result;
    }
    HANDLE data = GetClipboardData(CF_DIB);
    if (data == nullptr) {
        result.status = ClipboardRead::NoDib;
        return result;
    }
    GlobalLockGuard lock(data);
    const void* block = lock.data();
    // The block's real size bounds every read: its header is not trusted.
    const std::size_t size = block != nullptr ? GlobalSize(data) : 0;
    auto image = std::make_unique<IndexedImage>(owner, block, size);
    if (!image->valid) {
        result.status = ClipboardRead::Invalid;
        result.problem = block == nullptr ? "the clipboard block cannot be locked"
                                          : packedDibProblem(block, size);
        return result;
    }
    result.status = ClipboardRead::Ok;
    result.image = std::move(image);
    return result;
}

bool PutImageOnClipboard(HBITMAP bitmap, HWND owner) {
    ClipboardSession clipboard(owner);
    if (!clipboard.isOpen()) return false;
    EmptyClipboard();

    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    const DibShape shape = dibShapeFor(info.bmBitsPixel);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = shape.bitCount;
    header.biCompression = BI_RGB;
    const SIZE_T stride = ((static_cast<SIZE_T>(info.bmWidth) * shape.bitCount + 31) / 32) * 4;
    header.biSizeImage = static_cast<DWORD>(stride * static_cast<SIZE_T>(info.bmHeight));

    WindowDc screen(nullptr);
    DefaultPaletteSelection palette(screen.get());
    GlobalBlock block(shape.headerBytes + header.biSizeImage);
    if (block.get() == nullptr) return false;
    int lines = 0;
    {
        GlobalLockGuard lock(block.get());
        auto* bytes = static_cast<unsigned char*>(lock.data());
        if (bytes == nullptr) return false;
        std::memcpy(bytes, &header, sizeof header);
        lines = GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(header.biHeight),
                          bytes + shape.headerBytes, reinterpret_cast<BITMAPINFO*>(bytes),
                          DIB_RGB_COLORS);
    }
    if (lines == 0) return false;
    // The clipboard owns the block from here on.
    SetClipboardData(CF_DIB, block.release());
    return true;
}
