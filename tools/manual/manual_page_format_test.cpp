// Checks the committed manual page: its file format, that every part of the
// page has content, and that the example pictures are what our passes make now.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "example_sprite.h"
#include "manual_layout.h"
#include "passes/pass_chain.h"
#include "passes/pass_kinds.h"

namespace {

namespace L = manual_layout;

constexpr std::size_t kPixelOffset = 14 + 40 + 1024;

std::uint32_t read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

class CommittedPage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::ifstream file(MARLUNE_MANUAL_BMP, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    static bool wholeFile() { return bytes_.size() == kPixelOffset + 600u * 1880u; }
    // Page coordinates: y counts from the top; the file stores the bottom row first.
    static std::uint8_t at(int x, int y) {
        return bytes_[kPixelOffset + static_cast<std::size_t>(L::kPageHeight - 1 - y) * 600 +
                      static_cast<std::size_t>(x)];
    }
    static const std::uint8_t* palette() { return bytes_.data() + 14 + 40; }

    static std::vector<std::uint8_t> bytes_;
};
std::vector<std::uint8_t> CommittedPage::bytes_;

TEST_F(CommittedPage, IsAnUncompressed8BitBottomUpBmpOfTheManualSize) {
    ASSERT_GE(bytes_.size(), kPixelOffset);
    EXPECT_EQ(bytes_[0], 'B');
    EXPECT_EQ(bytes_[1], 'M');
    EXPECT_EQ(read32(bytes_, 2), bytes_.size());
    EXPECT_EQ(read32(bytes_, 10), kPixelOffset);
    EXPECT_EQ(read32(bytes_, 14), 40u);
    EXPECT_EQ(read32(bytes_, 18), 600u);
    EXPECT_EQ(read32(bytes_, 22), 1880u);  // positive: bottom-up
    EXPECT_EQ(bytes_[26] | bytes_[27] << 8, 1);
    EXPECT_EQ(bytes_[28] | bytes_[29] << 8, 8);
    EXPECT_EQ(read32(bytes_, 30), 0u);  // BI_RGB
    const std::uint32_t coloursUsed = read32(bytes_, 46);
    EXPECT_TRUE(coloursUsed == 0 || coloursUsed == 256) << coloursUsed;
    EXPECT_TRUE(wholeFile()) << bytes_.size();  // stride 600, nothing after the rows
}

TEST_F(CommittedPage, PaletteHasItsOwnColoursForEveryIndexInUse) {
    ASSERT_TRUE(wholeFile());
    std::set<std::uint8_t> used(bytes_.begin() + kPixelOffset, bytes_.end());
    std::set<std::uint32_t> colours;
    for (std::uint8_t index : used) {
        const std::uint8_t* quad = palette() + index * 4;
        EXPECT_EQ(quad[3], 0) << "reserved byte of entry " << int(index);
        colours.insert(quad[0] | quad[1] << 8 | quad[2] << 16);
    }
    // Text ramps, UI greys, accents and the sprite: far more than a few colours.
    EXPECT_GE(used.size(), 60u);
    EXPECT_GE(colours.size(), 50u);
}

TEST_F(CommittedPage, BandsFollowEachOtherAndStayClearOfTheHiddenBottomRows) {
    int previousBottom = 0;
    for (const L::Band& band : L::kBands) {
        EXPECT_EQ(band.top, previousBottom) << band.name;
        EXPECT_LT(band.top, band.bottom) << band.name;
        previousBottom = band.bottom;
    }
    // The help window never shows the last 24 rows of the page.
    EXPECT_LE(previousBottom, L::kPageHeight - 24);
}

TEST_F(CommittedPage, EveryBandHasContentInManyColours) {
    ASSERT_TRUE(wholeFile());
    for (const L::Band& band : L::kBands) {
        std::array<long, 256> counts{};
        for (int y = band.top; y < band.bottom; ++y) {
            for (int x = 0; x < L::kPageWidth; ++x) ++counts[at(x, y)];
        }
        const long area = static_cast<long>(band.bottom - band.top) * L::kPageWidth;
        const long background = *std::max_element(counts.begin(), counts.end());
        const auto distinct =
            std::count_if(counts.begin(), counts.end(), [](long n) { return n > 0; });
        EXPECT_GE(distinct, 12) << band.name;
        EXPECT_GE((area - background) * 100 / area, 3) << band.name << ": nearly blank";
    }
}

// The example's result, made here with a chain of our passes.
std::unique_ptr<PassChain> runExample(const L::ExampleSpot& spot, const std::uint8_t* palette) {
    auto chain = std::make_unique<PassChain>();
    for (int i = 0; i < spot.flowLength; ++i) {
        const auto names = std::begin(passKindNamesNarrow);
        const auto kind = std::find_if(names, names + kPassKindCount, [&](const char* name) {
            return spot.flow[static_cast<std::size_t>(i)] == name;
        });
        EXPECT_NE(kind, names + kPassKindCount) << spot.flow[static_cast<std::size_t>(i)];
        chain->insertPass(nullptr, i, static_cast<int>(kind - names));
    }
    chain->setRotationAngle(nullptr, L::kExampleAngle);
    chain->setSource(makeExampleSprite(palette));
    chain->evaluate(nullptr);
    return chain;
}

std::string flowText(const L::ExampleSpot& spot) {
    std::string text = "sprite";
    for (int i = 0; i < spot.flowLength; ++i) {
        text += " > " + std::string(spot.flow[static_cast<std::size_t>(i)]);
    }
    return text;
}

// Pixels of the page block (z x z per image pixel) that differ from the image.
int mismatches(const L::ExampleSpot& spot, const IndexedImage& image,
               std::uint8_t (*pageAt)(int, int)) {
    int wrong = 0;
    for (int row = 0; row < image.height; ++row) {
        const std::uint8_t* source = image.row(image.height - 1 - row);
        for (int column = 0; column < image.width; ++column) {
            for (int dy = 0; dy < spot.zoom; ++dy) {
                for (int dx = 0; dx < spot.zoom; ++dx) {
                    const int x = spot.x + column * spot.zoom + dx;
                    const int y = spot.y + row * spot.zoom + dy;
                    if (pageAt(x, y) != source[column]) ++wrong;
                }
            }
        }
    }
    return wrong;
}

TEST_F(CommittedPage, ExamplePicturesAreWhatOurPassesMakeNow) {
    ASSERT_TRUE(wholeFile());
    std::vector<L::ExampleSpot> spots(L::kExampleSpots.begin(), L::kExampleSpots.end());
    spots.insert(spots.end(), L::kNoteSpots.begin(), L::kNoteSpots.end());

    std::set<std::string> kindsShown;
    for (const L::ExampleSpot& spot : spots) {
        const auto chain = runExample(spot, palette());
        const IndexedImage* image = chain->displayedImage();
        ASSERT_NE(image, nullptr) << flowText(spot);
        ASSERT_LE(spot.x + image->width * spot.zoom, L::kPageWidth) << flowText(spot);
        ASSERT_LE(spot.y + image->height * spot.zoom, L::kPageHeight) << flowText(spot);
        EXPECT_EQ(mismatches(spot, *image, &CommittedPage::at), 0) << flowText(spot);
        if (spot.flowLength > 0) kindsShown.insert(std::string(spot.flow[spot.flowLength - 1]));
    }
    // The table ends a flow with every pass kind.
    for (int kind = 0; kind < kPassKindCount; ++kind) {
        EXPECT_EQ(kindsShown.count(passKindNamesNarrow[kind]), 1u) << passKindNamesNarrow[kind];
    }
}

TEST_F(CommittedPage, ExamplePicturesDoNotOverlap) {
    std::vector<L::ExampleSpot> spots(L::kExampleSpots.begin(), L::kExampleSpots.end());
    spots.insert(spots.end(), L::kNoteSpots.begin(), L::kNoteSpots.end());
    std::vector<std::array<int, 4>> boxes;
    for (const L::ExampleSpot& spot : spots) {
        const auto chain = runExample(spot, palette());
        const IndexedImage* image = chain->displayedImage();
        ASSERT_NE(image, nullptr);
        const std::array<int, 4> box = {spot.x, spot.y, spot.x + image->width * spot.zoom,
                                        spot.y + image->height * spot.zoom};
        for (const auto& other : boxes) {
            const bool apart = box[2] <= other[0] || other[2] <= box[0] || box[3] <= other[1] ||
                               other[3] <= box[1];
            EXPECT_TRUE(apart) << flowText(spot);
        }
        boxes.push_back(box);
    }
}

TEST_F(CommittedPage, NoteShowsTheRotSpriteFlowDifferingFromAPlainRotate) {
    ASSERT_TRUE(wholeFile());
    const L::ExampleSpot& plain = L::kNoteSpots[1];
    const L::ExampleSpot& smooth = L::kNoteSpots[2];
    ASSERT_EQ(plain.zoom, smooth.zoom);
    int differing = 0;
    for (int y = 0; y < kSpriteSize * plain.zoom; ++y) {
        for (int x = 0; x < kSpriteSize * plain.zoom; ++x) {
            if (at(plain.x + x, plain.y + y) != at(smooth.x + x, smooth.y + y)) ++differing;
        }
    }
    // Whole image pixels differ, not a stray page pixel or two.
    EXPECT_GE(differing, 10 * plain.zoom * plain.zoom);
}

}  // namespace
