// Checks the committed manual page: the program's reader takes it and refuses
// damaged copies, and every example picture is what our passes make now.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "example_run.h"
#include "manual_layout.h"
#include "passes/pass_kinds.h"
#include "ui/manual/manual_bmp.h"

namespace {

namespace L = manual_layout;

class CommittedPage : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ifstream file(MARLUNE_MANUAL_BMP, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        ASSERT_EQ(readManualBmp(bytes_.data(), bytes_.size(), page_), nullptr);
        ASSERT_EQ(page_.width, L::kPageWidth);
        ASSERT_EQ(page_.height, L::kPageHeight);
        // Nothing after the rows.
        ASSERT_EQ(bytes_.size(), std::size_t{14 + 40 + 1024 + 600 * 1880});
    }
    // Page coordinates: y counts from the top; the file stores the bottom row first.
    std::uint8_t at(int x, int y) const {
        return page_.pixels[static_cast<std::size_t>(L::kPageHeight - 1 - y) * 600 + x];
    }

    std::vector<std::uint8_t> bytes_;
    ManualBmpView page_;
};

TEST_F(CommittedPage, DamagedCopiesAreRefused) {
    // Offset and value of a 32-bit field, and what the reader must say.
    const struct {
        std::size_t at;
        std::uint32_t value;
        const char* why;
    } damages[] = {
        {0, 0x4D4D, "not a BMP file"},
        {22, static_cast<std::uint32_t>(-1880), "rows stored top to bottom"},
        {46, 16, "palette not 256 entries"},
    };
    for (const auto& damage : damages) {
        auto damaged = bytes_;
        for (int i = 0; i < 4; ++i)
            damaged[damage.at + i] = static_cast<std::uint8_t>(damage.value >> (8 * i));
        ManualBmpView view;
        EXPECT_STREQ(readManualBmp(damaged.data(), damaged.size(), view), damage.why);
        EXPECT_EQ(view.pixels, nullptr);
    }
    ManualBmpView view;
    EXPECT_STREQ(readManualBmp(bytes_.data(), bytes_.size() - 1, view), "block truncated");
    EXPECT_STREQ(readManualBmp(bytes_.data(), 53, view), "shorter than its headers");
}

TEST_F(CommittedPage, ExamplePicturesAreWhatOurPassesMakeNow) {
    std::vector<L::ExampleSpot> spots(L::kExampleSpots.begin(), L::kExampleSpots.end());
    spots.insert(spots.end(), L::kNoteSpots.begin(), L::kNoteSpots.end());
    std::set<std::string_view> kindsShown;
    for (const L::ExampleSpot& spot : spots) {
        const ExampleRun run(spot, page_.palette);
        const IndexedImage* image = run.result();
        ASSERT_NE(image, nullptr);
        ASSERT_LE(spot.x + image->width * spot.zoom, L::kPageWidth);
        ASSERT_LE(spot.y + image->height * spot.zoom, L::kPageHeight);
        // Every image pixel is a zoom x zoom block, top row first.
        int wrong = 0;
        for (int x = 0; x < image->width * spot.zoom; ++x) {
            for (int y = 0; y < image->height * spot.zoom; ++y) {
                const int pixel = image->row(image->height - 1 - y / spot.zoom)[x / spot.zoom];
                wrong += at(spot.x + x, spot.y + y) != pixel;
            }
        }
        EXPECT_EQ(wrong, 0) << "the example at " << spot.x << "," << spot.y;
        if (spot.flowLength > 0) kindsShown.insert(spot.flow[spot.flowLength - 1]);
    }
    // The examples end a flow with every pass kind.
    for (int kind = 0; kind < kPassKindCount; ++kind) {
        EXPECT_EQ(kindsShown.count(passKindNamesNarrow[kind]), 1u) << passKindNamesNarrow[kind];
    }
}

}  // namespace
