// Image files through WIC under Wine: palette PNGs of every depth, files of
// another encoder shown as it shows them, truecolour indexed exactly, an
// 8-bit BMP as the host's DIB, GIF frames composed, every refusal, and
// writes that are all or nothing.
#include <filesystem>
#include <fstream>

#include "e2e_files.h"
#include "frame_dib.h"
#include "wic_test_files.h"

namespace {

const auto* const com = testing::AddGlobalTestEnvironment(new ComEnvironment);

// Expects both to hold the same indices, palette and alpha.
void expectSame(const IndexedImage& a, const PaletteAlpha& alphaA, const IndexedImage& b,
                const PaletteAlpha& alphaB) {
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);
    EXPECT_EQ(screenIndices(a), screenIndices(b));
    for (int i = 0; i < 256; ++i) ASSERT_EQ(colourOf(a, alphaA, i), colourOf(b, alphaB, i)) << i;
    EXPECT_EQ(alphaA.present, alphaB.present);
}

// Writes the image and expects to read back exactly what was written.
void expectRoundTrip(const IndexedImage& image, const PaletteAlpha& alpha,
                     const std::string& path) {
    std::string error;
    ASSERT_TRUE(writePngFile(widen(path), image, alpha, error)) << error;
    const ImageFile back = readOk(path);
    ASSERT_EQ(back.frames.size(), 1u);
    expectSame(image, alpha, *back.frames[0], back.alpha);
}

TEST(ImageFiles, PaletteImagesOfEveryDepthComeBackExactly) {
    const TempFolder folder;
    // 2, 4, 16 and 200 entries: written at 1, 2, 4 and 8 bits, over one file.
    for (const int entries : {2, 4, 16, 200}) {
        SCOPED_TRACE(entries);
        std::vector<std::uint8_t> palette(kPaletteBytes);
        PaletteAlpha alpha;
        alpha.present = true;
        for (int i = 0; i < entries; ++i) {
            for (int c = 0; c < 3; ++c) palette[4 * i + c] = std::uint8_t(i * 37 + c * 90);
            alpha.alpha[i] = i == 0 ? 0 : i == 1 ? 0x80 : 0xFF;
        }
        IndexedImage image(nullptr, 7, 3, palette.data());
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 7; ++x) image.row(y)[x] = std::uint8_t((x * 5 + y * 3) % entries);
        }
        expectRoundTrip(image, alpha, folder.file("sprite.png"));
    }
}

TEST(ImageFiles, AnotherEncodersFilesShowWhatItShows) {
    const TempFolder folder;
    for (const char* name : {"palette8", "rgb4", "rle8"}) {
        SCOPED_TRACE(name);
        const std::string in = inputsFolder() + name;
        const ImageFile file = readOk(in + (name[0] == 'p' ? ".png" : ".bmp"));
        ASSERT_EQ(file.frames.size(), 1u);
        expectShows(*file.frames[0], file.alpha, in + ".txt");
        expectRoundTrip(*file.frames[0], file.alpha, folder.file("out.png"));
    }
}

TEST(ImageFiles, TruecolourIsIndexedExactlyInOrderOfFirstAppearance) {
    for (const char* name : {"rgba5.png", "bgra5.bmp"}) {
        SCOPED_TRACE(name);
        const ImageFile file = readOk(inputsFolder() + name);
        ASSERT_EQ(file.frames.size(), 1u);
        // ".rrg,. rbhg.. ,wwk.r kkkkk.": both kinds of clear pixel at 0.
        EXPECT_EQ(screenIndices(*file.frames[0]),
                  (std::vector<std::uint8_t>{0, 1, 1, 2, 0, 0, 1, 3, 4, 2, 0, 0,
                                             0, 5, 5, 6, 0, 1, 6, 6, 6, 6, 6, 0}));
        const Argb palette[] = {0x00000000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu,
                                0x800080FFu, 0xFFFFFFFFu, 0xFF000000u};
        for (int i = 0; i < 7; ++i) EXPECT_EQ(colourOf(*file.frames[0], file.alpha, i), palette[i]);
        EXPECT_TRUE(file.alpha.present);
    }
}

TEST(ImageFiles, An8BitBmpIsTheImageTheHostsDibGives) {
    // Entries in another order than the pixels first use them.
    Palette palette{};
    for (int i = 0; i < 256; ++i) palette[4 * i] = palette[4 * i + 2] = std::uint8_t(255 - i);
    const LayerPixels pixels = {9, 4, 200, 4, 4, 0, 77, 77, 9, 255, 1, 2};
    const TempFolder folder;
    const std::vector<std::uint8_t> bmp = makeBmpFile(pixels, 4, 3, palette);
    std::ofstream(folder.file("host.bmp"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), std::streamsize(bmp.size()));
    const std::vector<std::uint8_t> dib = makePackedDib(pixels, 4, 3, palette);
    const IndexedImage grab(nullptr, dib.data(), dib.size());
    const ImageFile file = readOk(folder.file("host.bmp"));
    ASSERT_EQ(file.frames.size(), 1u);
    expectSame(*file.frames[0], file.alpha, grab, PaletteAlpha{});
}

TEST(ImageFiles, GifFramesAreComposedAsTheirDisposalSays) {
    const std::string in = inputsFolder();
    const ImageFile file = readOk(in + "frames.gif", true);
    ASSERT_EQ(file.frames.size(), 4u);
    for (int f = 0; f < 4; ++f) {
        expectShows(*file.frames[f], file.alpha, in + "frames-" + std::to_string(f) + ".txt");
    }
    // The first frame alone keeps the file's indices: its palette is the
    // file's global colour table.
    const ImageFile first = readOk(in + "frames.gif");
    ASSERT_EQ(first.frames.size(), 1u);
    expectShows(*first.frames[0], first.alpha, in + "frames-0.txt");
    std::ifstream gif(in + "frames.gif", std::ios::binary);
    std::vector<unsigned char> head(13 + 12);
    gif.read(reinterpret_cast<char*>(head.data()), std::streamsize(head.size()));
    for (int i = 0; i < 4; ++i) {
        const Argb table = 0xFF000000u | Argb(head[13 + 3 * i]) << 16 |
                           Argb(head[14 + 3 * i]) << 8 | head[15 + 3 * i];
        EXPECT_EQ(colourOf(*first.frames[0], first.alpha, i), table) << i;
    }
}

TEST(ImageFiles, RefusalsNameTheFileAndSayWhy) {
    const std::string in = inputsFolder();
    const std::pair<const char*, const char*> refusals[] = {
        {"colours300.png", " has 300 colours; Marlune works on images of at most 256 colours"},
        {"text.png", " is not a PNG, BMP or GIF image"},
        {"jpeg.jpg", " is not a PNG, BMP or GIF image"},
        {"truncated.png", " is truncated or corrupt"},
        {"cut.png", " is truncated or corrupt"},
        {"corrupt.png", " is truncated or corrupt"},
        {"missing.png", " does not exist"},
        {"wide.gif", " is 40000 x 4 pixels; Marlune works on images of at most 32768 x 32768"},
    };
    for (const auto& [name, why] : refusals) {
        ImageFile file;
        file.alpha.present = true;
        std::string error;
        EXPECT_FALSE(readImageFile(widen(in + name), nullptr, true, file, error));
        EXPECT_EQ(error.rfind("ERROR: " + in + name + why, 0), 0u) << error;
        EXPECT_TRUE(file.frames.empty() && file.alpha.present) << name;
    }
}

TEST(ImageFiles, AFailedWriteLeavesNothingBehind) {
    const TempFolder folder;
    const ImageFile file = readOk(inputsFolder() + "rgba5.png");
    ASSERT_EQ(file.frames.size(), 1u);
    std::filesystem::create_directory(folder.file("taken.png"));
    std::string error;
    EXPECT_FALSE(writePngFile(widen(folder.file("taken.png")), *file.frames[0], file.alpha, error));
    EXPECT_EQ(error.rfind("ERROR: " + folder.file("taken.png") + " cannot be written", 0), 0u);
    EXPECT_FALSE(
        writePngFile(widen(folder.file("none\\a.png")), *file.frames[0], file.alpha, error));
    EXPECT_NE(error.find("its folder does not exist"), std::string::npos) << error;
    // The folder is still there, and no temporary file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("taken.png")));
}

}  // namespace
