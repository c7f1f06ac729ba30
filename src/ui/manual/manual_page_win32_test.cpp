// The manual page loaded from the resource linked into this program: the same
// script and loader as marlune.exe.
#include <gtest/gtest.h>

#include <cstring>

#include "ui/manual/manual_page.h"
#include "ui/manual/manual_resource.h"

namespace {

// The raw resource bytes, found independently of the loader.
const std::uint8_t* resourceBytes(DWORD& size) {
    const HMODULE module = GetModuleHandle(nullptr);
    const HRSRC found =
        FindResource(module, MAKEINTRESOURCE(MARLUNE_MANUAL_PAGE_RESOURCE), RT_RCDATA);
    if (found == nullptr) return nullptr;
    size = SizeofResource(module, found);
    return static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
}

TEST(ManualPage, LoadsTheEmbeddedPageWithItsPaletteAndEveryRow) {
    DWORD size = 0;
    const std::uint8_t* file = resourceBytes(size);
    ASSERT_NE(file, nullptr);
    constexpr std::size_t kPixelOffset = 14 + 40 + 1024;
    ASSERT_EQ(size, kPixelOffset + 600u * 1880u);

    const auto page = loadManualPage(nullptr);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(page->valid);
    EXPECT_EQ(page->width, 600);
    EXPECT_EQ(page->height, 1880);
    EXPECT_EQ(std::memcmp(page->palette(), file + 14 + 40, 1024), 0);

    // The section's own colour table is what GDI draws with.
    std::uint8_t table[1024] = {};
    ASSERT_TRUE(readSectionColorTable(page->bitmap, page->memoryDc, table));
    EXPECT_EQ(std::memcmp(table, file + 14 + 40, 1024), 0);

    int differingRows = 0;
    for (int y = 0; y < 1880; ++y) {
        if (std::memcmp(page->row(y), file + kPixelOffset + static_cast<std::size_t>(y) * 600,
                        600)) {
            ++differingRows;
        }
    }
    EXPECT_EQ(differingRows, 0);
}

TEST(ManualPage, EachLoadIsANewImageForItsOwner) {
    const auto first = loadManualPage(nullptr);
    const auto second = loadManualPage(nullptr);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first->pixels, second->pixels);
    EXPECT_EQ(std::memcmp(first->pixels, second->pixels, 600u * 1880u), 0);
}

}  // namespace
