// The real clipboard module: images written by PutImageOnClipboard read back
// whole, and blocks that are not sound 8-bit DIBs are refused with a reason.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "../dib_block.h"
#include "host/clipboard.h"

namespace {

// Puts `bytes` on the clipboard as CF_DIB, or empties it when `bytes` is empty.
bool putBlock(const std::vector<std::uint8_t>& bytes) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    bool ok = true;
    if (!bytes.empty()) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        void* data = block != nullptr ? GlobalLock(block) : nullptr;
        ok = data != nullptr;
        if (ok) {
            std::memcpy(data, bytes.data(), bytes.size());
            GlobalUnlock(block);
            ok = SetClipboardData(CF_DIB, block) != nullptr;
        }
        if (!ok && block != nullptr) GlobalFree(block);
    }
    CloseClipboard();
    return ok;
}

// Whether another thread (as another program would) can open the clipboard
// now, i.e. whether this thread left it closed.
bool openableElsewhere() {
    bool opened = false;
    std::thread other([&] {
        HWND window =
            CreateWindowA("STATIC", "other", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        opened = OpenClipboard(window) != 0;
        if (opened) CloseClipboard();
        DestroyWindow(window);
    });
    other.join();
    return opened;
}

std::vector<std::uint8_t> palette() {
    std::vector<std::uint8_t> p(kPaletteBytes);
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = static_cast<std::uint8_t>(i * 5 + 1);
    return p;
}

}  // namespace

TEST(Clipboard, ImagesRoundTripWithPaletteAndOddWidths) {
    const auto colours = palette();
    for (auto [w, h] : {std::pair{1, 1}, {3, 7}, {5, 2}, {48, 48}, {130, 3}}) {
        IndexedImage image(nullptr, w, h, colours.data());
        ASSERT_TRUE(image.valid);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                image.row(y)[x] = static_cast<std::uint8_t>(x * 7 + y * 31 + 3);
        }
        ASSERT_TRUE(PutImageOnClipboard(image.bitmap, nullptr)) << w << "x" << h;
        EXPECT_TRUE(openableElsewhere());

        ClipboardImage read = readClipboardImage(nullptr);
        ASSERT_EQ(read.status, ClipboardRead::Ok) << w << "x" << h;
        ASSERT_EQ(read.image->width, w);
        ASSERT_EQ(read.image->height, h);
        EXPECT_EQ(std::memcmp(read.image->palette(), colours.data(), kPaletteBytes), 0);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(read.image->row(y)[x], image.row(y)[x]) << x << "," << y;
        }
    }
}

TEST(Clipboard, UnsoundBlocksAreRefusedWithTheirReason) {
    DibBlockShape twentyFour;
    twentyFour.bitCount = 24;
    DibBlockShape eight;
    eight.width = 9;
    eight.height = 6;
    std::vector<std::uint8_t> truncated = makeDibBlock(eight);
    truncated.resize(truncated.size() - 24);
    DibBlockShape compressed;
    compressed.compression = 1;

    const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
        {makeDibBlock(twentyFour), "only 8bit pixels are supported!"},
        {truncated, "block truncated"},
        {std::vector<std::uint8_t>(20, 0), "block truncated"},
        {makeDibBlock(compressed), "compressed (only BI_RGB is supported)"},
    };
    for (const auto& [block, reason] : cases) {
        ASSERT_TRUE(putBlock(block));
        ClipboardImage read = readClipboardImage(nullptr);
        EXPECT_TRUE(openableElsewhere());
        EXPECT_EQ(read.status, ClipboardRead::Invalid) << reason;
        EXPECT_EQ(read.image, nullptr);
        ASSERT_NE(read.problem, nullptr);
        EXPECT_STREQ(read.problem, reason);
    }
}

TEST(Clipboard, EmptyClipboardHoldsNoImageAndIsClosedAfterwards) {
    ASSERT_TRUE(putBlock({}));
    EXPECT_EQ(readClipboardImage(nullptr).status, ClipboardRead::NoDib);
    EXPECT_TRUE(openableElsewhere());
    ASSERT_TRUE(putBlock(makeDibBlock({})));
    EXPECT_EQ(readClipboardImage(nullptr).status, ClipboardRead::Ok);
    EXPECT_TRUE(openableElsewhere());
}

TEST(Clipboard, HeldOpenByAnotherThreadCannotBeRead) {
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HWND window =
            CreateWindowA("STATIC", "holder", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        const bool open = OpenClipboard(window) != 0;
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        if (open) CloseClipboard();
        DestroyWindow(window);
    });
    WaitForSingleObject(opened, 10000);
    EXPECT_EQ(readClipboardImage(nullptr).status, ClipboardRead::OpenFailed);
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
}
