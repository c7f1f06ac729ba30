// The real clipboard module under Wine: an image goes out byte for byte as
// GetDIBits made it before and reads back whole, the clipboard closed after
// each. (Unsound blocks on the real clipboard: the end-to-end import tests.)
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "../dib_block.h"
#include "base/win32_handles.h"
#include "host/clipboard.h"

namespace {

// The block as the clipboard holds it; empty when there is none.
std::vector<std::uint8_t> clipboardBlock() {
    ClipboardSession clipboard(nullptr);
    HANDLE data = GetClipboardData(CF_DIB);
    if (data == nullptr) return {};
    GlobalLockGuard lock(data);
    const auto* bytes = static_cast<const std::uint8_t*>(lock.data());
    return {bytes, bytes + GlobalSize(data)};
}

// What the clipboard write made before: GetDIBits on the image's bitmap
// (selected into its memory context), default palette realised on the screen.
std::vector<std::uint8_t> viaGetDIBits(const IndexedImage& image) {
    std::vector<std::uint8_t> block(kHeaderBlockBytes + image.stride() * image.height);
    DibInfoHeader header;
    header.biSize = 40;
    header.biWidth = image.width;
    header.biHeight = image.height;
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biSizeImage = static_cast<std::uint32_t>(block.size() - kHeaderBlockBytes);
    writeDibInfoHeader(header, block.data());
    WindowDc screen(nullptr);
    HGDIOBJ stock = GetStockObject(DEFAULT_PALETTE);
    HPALETTE previous = SelectPalette(screen.get(), static_cast<HPALETTE>(stock), FALSE);
    RealizePalette(screen.get());
    EXPECT_EQ(GetDIBits(screen.get(), image.bitmap, 0, image.height, &block[kHeaderBlockBytes],
                        reinterpret_cast<BITMAPINFO*>(block.data()), DIB_RGB_COLORS),
              image.height);
    SelectPalette(screen.get(), previous, FALSE);
    return block;
}

// Whether another thread (as another program would) can open the clipboard.
bool openableElsewhere() {
    bool opened = false;
    std::thread([&] {
        opened = OpenClipboard(nullptr) != 0;
        if (opened) CloseClipboard();
    }).join();
    return opened;
}

}  // namespace

TEST(Clipboard, ImagesGoOutAsGetDIBitsMadeThemAndReadBackWhole) {
    DibBlockShape topDownShortPalette;
    topDownShortPalette.width = 5;
    topDownShortPalette.height = -3;
    topDownShortPalette.colorsUsed = 16;
    const std::vector<std::uint8_t> read = makeDibBlock(topDownShortPalette);
    std::vector<std::unique_ptr<IndexedImage>> images;
    images.push_back(std::make_unique<IndexedImage>(nullptr, read.data(), read.size()));
    std::vector<std::uint8_t> palette(kPaletteBytes);
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = static_cast<std::uint8_t>(i * 5 + 1);
    for (auto [w, h] : {std::pair{1, 1}, {3, 7}, {130, 3}, {257, 2}}) {
        images.push_back(std::make_unique<IndexedImage>(nullptr, w, h, palette.data()));
        std::uint8_t* pixels = images.back()->pixels;  // padding included
        for (int i = 0; i < images.back()->stride() * h; ++i)
            pixels[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    for (const auto& image : images) {
        ASSERT_TRUE(image->valid);
        ASSERT_TRUE(PutImageOnClipboard(*image, nullptr)) << image->width;
        EXPECT_EQ(clipboardBlock(), viaGetDIBits(*image)) << image->width << "x" << image->height;
        EXPECT_TRUE(openableElsewhere());
        const ClipboardImage back = readClipboardImage(nullptr);
        ASSERT_EQ(back.status, ClipboardRead::Ok);
        EXPECT_EQ(std::memcmp(back.image->palette(), image->palette(), kPaletteBytes), 0);
        for (int y = 0; y < image->height; ++y)
            EXPECT_EQ(std::memcmp(back.image->row(y), image->row(y), image->width), 0) << y;
    }
}
