// Sheets: views left to right, frames top to bottom, in memory rows that count
// from the bottom.
#include <gtest/gtest.h>

#include "cli/sheet.h"
#include "pass_test_support.h"

using passtest::imageOf;
using passtest::pixelsOf;

namespace {

TEST(Sheet, CellsGoLeftToRightAndTopToBottom) {
    const auto a = imageOf("12/34"), b = imageOf("56/78"), c = imageOf("9a/bc"),
               d = imageOf("de/fg");
    auto sheet = makeSheet(*a, 2, 2);
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(placeCell(*sheet, *a, 2, 2, 0, 0));
    EXPECT_TRUE(placeCell(*sheet, *b, 2, 2, 1, 0));
    EXPECT_TRUE(placeCell(*sheet, *c, 2, 2, 0, 1));
    EXPECT_TRUE(placeCell(*sheet, *d, 2, 2, 1, 1));
    EXPECT_EQ(pixelsOf(*sheet), pixelsOf("1256/3478/9ade/bcfg"));
    EXPECT_EQ(std::vector<std::uint8_t>(sheet->palette(), sheet->palette() + kPaletteBytes),
              std::vector<std::uint8_t>(a->palette(), a->palette() + kPaletteBytes));
    // A cell of another size is refused.
    EXPECT_FALSE(placeCell(*sheet, *imageOf("123/456"), 2, 2, 0, 0));
    // Too large for an image: no sheet.
    EXPECT_EQ(makeSheet(*a, 64, 20000), nullptr);
}

}  // namespace
