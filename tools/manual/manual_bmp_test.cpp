// The program's reader of the manual page's BMP, and the generator's writer,
// against each other and against damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "bmp_writer.h"
#include "canvas.h"
#include "example_sprite.h"
#include "page_palette.h"
#include "ui/manual/manual_bmp.h"

namespace {

// A 5 x 3 page whose every pixel says where it is: value = 10 * y + x.
Canvas numberedCanvas() {
    Canvas canvas(5, 3, 0);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) canvas.set(x, y, static_cast<std::uint8_t>(10 * y + x));
    }
    return canvas;
}

std::vector<std::uint8_t> numberedBmp() {
    PagePalette palette(spriteColours());
    return encodeBmp8(numberedCanvas(), palette);
}

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(ManualBmp, WriterAndReaderAgreeOnRowsPaddingAndPalette) {
    const auto bytes = numberedBmp();
    ASSERT_EQ(bytes.size(), 14u + 40u + 1024u + 8u * 3u);  // stride 8

    ManualBmpView view;
    ASSERT_EQ(readManualBmp(bytes.data(), bytes.size(), view), nullptr);
    EXPECT_EQ(view.width, 5);
    EXPECT_EQ(view.height, 3);
    EXPECT_EQ(view.stride, 8);
    for (int row = 0; row < 3; ++row) {
        const int pageY = 2 - row;  // bottom row first
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(view.pixels[row * 8 + x], 10 * pageY + x) << row << "," << x;
        }
        for (int pad = 5; pad < 8; ++pad) EXPECT_EQ(view.pixels[row * 8 + pad], 0);
    }
    PagePalette palette(spriteColours());
    EXPECT_EQ(std::memcmp(view.palette, palette.rgbQuads().data(), 1024), 0);
}

TEST(ManualBmp, EveryTruncationIsRefused) {
    const auto bytes = numberedBmp();
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        ManualBmpView view;
        EXPECT_NE(readManualBmp(bytes.data(), size, view), nullptr) << size;
        EXPECT_EQ(view.pixels, nullptr) << size;
    }
    ManualBmpView view;
    EXPECT_NE(readManualBmp(nullptr, bytes.size(), view), nullptr);
}

TEST(ManualBmp, DamagedHeadersAreRefused) {
    struct Damage {
        const char* what;
        std::size_t at;
        std::uint32_t value;
    };
    const Damage damages[] = {
        {"magic", 0, 0x4D42 ^ 0x0101},
        {"pixel offset past the end", 10, 0xFFFFFFF0u},
        {"pixel offset inside the palette", 10, 14 + 40 + 512},
        {"info header too small", 14, 12},
        {"info header running into the pixels", 14, 400},
        {"zero width", 18, 0},
        {"negative width", 18, 0xFFFFFFFBu},
        {"enormous width", 18, 0x7FFFFFFFu},
        {"top-down rows", 22, 0xFFFFFFFDu},
        {"4 bits per pixel", 26, 1 | 4 << 16},
        {"RLE8", 30, 1},
        {"16 colours", 46, 16},
    };
    for (const Damage& damage : damages) {
        auto bytes = numberedBmp();
        if (damage.at == 0) {
            bytes[0] = 'M';
            bytes[1] = 'B';
        } else {
            put32(bytes, damage.at, damage.value);
        }
        ManualBmpView view;
        EXPECT_NE(readManualBmp(bytes.data(), bytes.size(), view), nullptr) << damage.what;
    }
}

TEST(PagePalette, RampsRunFromBackgroundToInkAndAreMadeOnce) {
    PagePalette palette(spriteColours());
    const auto first = palette.ramp(colour::kPaper, colour::kInk);
    EXPECT_EQ(first.front(), colour::kPaper);
    EXPECT_EQ(first.back(), colour::kInk);
    const int usedAfterOne = palette.used();
    EXPECT_EQ(usedAfterOne, colour::kFirstRamp + kRampSteps - 2);
    EXPECT_EQ(palette.ramp(colour::kPaper, colour::kInk), first);
    EXPECT_EQ(palette.used(), usedAfterOne);

    // White to near-black: every step strictly darker than the one before.
    for (std::size_t step = 1; step < first.size(); ++step) {
        const Rgb a = palette.colourAt(first[step - 1]);
        const Rgb b = palette.colourAt(first[step]);
        EXPECT_GT(a.r + a.g + a.b, b.r + b.g + b.b) << step;
        const auto origin = palette.rampStep(first[step]);
        if (step + 1 < first.size()) {
            ASSERT_TRUE(origin.has_value());
            EXPECT_EQ(origin->background, colour::kPaper);
            EXPECT_EQ(origin->step, static_cast<int>(step));
        }
    }
}

TEST(PagePalette, RunningOutOfEntriesIsAnErrorNotAWrap) {
    PagePalette palette(spriteColours());
    const int room = (256 - colour::kFirstRamp) / (kRampSteps - 2);
    for (int i = 0; i < room; ++i) palette.ramp(static_cast<std::uint8_t>(i), colour::kInk);
    EXPECT_THROW(palette.ramp(colour::kPaper, colour::kAccent), std::runtime_error);
    EXPECT_LE(palette.used(), 256);
}

}  // namespace
