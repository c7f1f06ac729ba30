// The manual page loaded from the resource linked into this program: the same
// script and loader as marlune.exe.
#include <gtest/gtest.h>

#include <cstring>

#include "ui/manual/manual_page.h"
#include "ui/manual/manual_resource.h"

namespace {

TEST(ManualPage, EachLoadIsANewImageWithThePalettesAndRowsOfTheResource) {
    // The raw resource, found independently of the loader.
    const HMODULE module = GetModuleHandle(nullptr);
    const HRSRC found =
        FindResource(module, MAKEINTRESOURCE(MARLUNE_MANUAL_PAGE_RESOURCE), RT_RCDATA);
    ASSERT_NE(found, nullptr);
    const auto* file = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
    const std::uint8_t* palette = file + 14 + 40;
    const std::uint8_t* rows = palette + 1024;
    ASSERT_EQ(SizeofResource(module, found), 14 + 40 + 1024 + 600u * 1880u);

    const auto page = loadManualPage(nullptr);
    const auto again = loadManualPage(nullptr);
    ASSERT_NE(page, nullptr);
    ASSERT_NE(again, nullptr);
    ASSERT_TRUE(page->valid);
    EXPECT_EQ(page->width, 600);
    EXPECT_EQ(page->height, 1880);
    EXPECT_EQ(std::memcmp(page->palette(), palette, 1024), 0);
    // The section's own colour table is what GDI draws with.
    std::uint8_t table[1024] = {};
    ASSERT_TRUE(readSectionColorTable(page->bitmap, page->memoryDc, table));
    EXPECT_EQ(std::memcmp(table, palette, 1024), 0);
    EXPECT_EQ(std::memcmp(page->pixels, rows, 600u * 1880u), 0);
    EXPECT_NE(again->pixels, page->pixels);
    EXPECT_EQ(std::memcmp(again->pixels, rows, 600u * 1880u), 0);
}

}  // namespace
