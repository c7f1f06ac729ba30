// The PNG plan: how many palette entries an image needs, the depth that holds
// them, and rows packed top first with the leftmost pixel highest.
#include <gtest/gtest.h>

#include "files/png_plan.h"

namespace {

// An image of screen rows (top first, '/' between, one digit each) whose
// palette holds `colours` (0xAARRGGBB; alpha goes to `alpha`).
std::unique_ptr<IndexedImage> imageOf(const std::string& rows, const std::vector<Argb>& colours,
                                      PaletteAlpha& alpha) {
    std::vector<std::string> lines(1);
    for (const char c : rows) {
        if (c == '/') {
            lines.emplace_back();
        } else {
            lines.back().push_back(c);
        }
    }
    std::array<std::uint8_t, kPaletteBytes> quads{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        quads[4 * i] = static_cast<std::uint8_t>(colours[i]);
        quads[4 * i + 1] = static_cast<std::uint8_t>(colours[i] >> 8);
        quads[4 * i + 2] = static_cast<std::uint8_t>(colours[i] >> 16);
        alpha.alpha[i] = static_cast<std::uint8_t>(colours[i] >> 24);
    }
    const int width = static_cast<int>(lines[0].size());
    const int height = static_cast<int>(lines.size());
    auto image = std::make_unique<IndexedImage>(nullptr, width, height, quads.data());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image->row(height - 1 - y)[x] = static_cast<std::uint8_t>(lines[y][x] - '0');
        }
    }
    return image;
}

TEST(PngPlan, EntriesRunToTheLastUsedOrColouredOneAndSetTheDepth) {
    struct Case {
        std::string rows;
        std::vector<Argb> colours;
        bool alpha;
        int entries, bits;
    };
    const Case cases[] = {
        // Trailing opaque black entries nobody uses are left out.
        {"01/10", {0xFFFF0000u, 0xFF00FF00u, 0xFF000000u}, false, 2, 1},
        {"00/00", {}, false, 1, 1},
        // A used black entry counts; so does a coloured one past every pixel.
        {"3", {0xFFFFFFFFu}, false, 4, 2},
        {"0", {0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF010000u}, false, 5, 4},
        // A clear entry counts only when the alpha is written.
        {"0", {0xFF0000FFu, 0xFF000000u, 0xFF000000u, 0xFF000000u, 0x00000000u}, true, 5, 4},
        {"0", {0xFF0000FFu, 0xFF000000u, 0xFF000000u, 0xFF000000u, 0x00000000u}, false, 1, 1},
        {"9/6", {}, false, 10, 4},
        {"0", std::vector<Argb>(17, 0xFF808080u), false, 17, 8},
    };
    for (const Case& c : cases) {
        PaletteAlpha alpha;
        auto image = imageOf(c.rows, c.colours, alpha);
        alpha.present = c.alpha;
        const PngPlan plan = planIndexedPng(*image, alpha);
        EXPECT_EQ(plan.palette.size(), std::size_t(c.entries)) << c.rows;
        EXPECT_EQ(plan.bitsPerPixel, c.bits) << c.rows;
        for (std::size_t i = 0; i < c.colours.size() && i < plan.palette.size(); ++i) {
            const Argb expected = c.alpha ? c.colours[i] : c.colours[i] | 0xFF000000u;
            EXPECT_EQ(plan.palette[i], expected) << c.rows << " entry " << i;
        }
    }
}

TEST(PngPlan, RowsArePackedTopFirstLeftmostHighest) {
    struct Case {
        std::string rows;
        std::vector<Argb> colours;
        std::vector<std::uint8_t> top, bottom;
    };
    const std::vector<Argb> two(2, 0xFFFFFFFFu), four(4, 0xFFFFFFFFu), five(5, 0xFFFFFFFFu),
        seventeen(17, 0xFFFFFFFFu);
    const Case cases[] = {
        {"101100001/000000001", two, {0xB0, 0x80}, {0x00, 0x80}},
        {"12301/00003", four, {0x6C, 0x40}, {0x00, 0xC0}},
        {"123/400", five, {0x12, 0x30}, {0x40, 0x00}},
        {"123/456", seventeen, {1, 2, 3}, {4, 5, 6}},
    };
    for (const Case& c : cases) {
        PaletteAlpha alpha;
        auto image = imageOf(c.rows, c.colours, alpha);
        const PngPlan plan = planIndexedPng(*image, alpha);
        ASSERT_EQ(plan.rowBytes, c.top.size()) << c.rows;
        std::vector<std::uint8_t> packed(plan.rowBytes, 0xEE);
        packRow(*image, 0, plan, packed.data());
        EXPECT_EQ(packed, c.top) << c.rows;
        packRow(*image, 1, plan, packed.data());
        EXPECT_EQ(packed, c.bottom) << c.rows;
    }
}

}  // namespace
