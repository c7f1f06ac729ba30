// Image files through WIC under Wine: palette PNGs of every depth, another
// encoder's PNG, truecolour PNG and BMP, an 8-bit BMP, GIF frames composed,
// every refusal, and files written back exactly, all or nothing.
#include <gtest/gtest.h>

#include <objbase.h>

#include "files/image_file.h"
#include "wic_test_files.h"

namespace {

class ComEnvironment : public testing::Environment {
  public:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }
};
const auto* const com = testing::AddGlobalTestEnvironment(new ComEnvironment);

std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

ImageFile readOk(const std::wstring& path, bool allFrames = false) {
    ImageFile file;
    std::string error;
    EXPECT_TRUE(readImageFile(path, nullptr, allFrames, file, error)) << error;
    return file;
}

// The error of a refused file; what `file` held stays.
std::string readRefused(const std::wstring& path) {
    ImageFile file;
    file.alpha.present = true;
    file.alpha.alpha[3] = 7;
    std::string error;
    EXPECT_FALSE(readImageFile(path, nullptr, true, file, error)) << narrow(path);
    EXPECT_TRUE(file.frames.empty());
    EXPECT_TRUE(file.alpha.present);
    EXPECT_EQ(file.alpha.alpha[3], 7);
    return error;
}

// Writes the file's first frame, reads it back, and expects the same indices,
// palette and alpha; gives the bits per pixel of the file written.
int roundTrip(const ImageFile& file, const std::wstring& path) {
    std::string error;
    EXPECT_TRUE(writePngFile(path, *file.frames[0], file.alpha, error)) << error;
    const ImageFile back = readOk(path);
    if (back.frames.size() != 1) return 0;
    const IndexedImage& a = *file.frames[0];
    const IndexedImage& b = *back.frames[0];
    EXPECT_EQ(screenIndices(a), screenIndices(b));
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(colourOf(a, file.alpha, i), colourOf(b, back.alpha, i)) << "entry " << i;
    }
    EXPECT_EQ(back.alpha.present, file.alpha.present);
    RawIndexed raw;
    EXPECT_TRUE(readRawIndexed(path, raw));
    return raw.bits;
}

// A palette of distinct colours, with a clear and a half-clear entry.
RawIndexed paletteSprite(int bits) {
    RawIndexed raw;
    raw.width = 5;
    raw.height = 3;
    raw.bits = bits;
    const int entries = 1 << bits;
    for (int i = 0; i < entries; ++i) {
        const Argb alpha = i == 0 ? 0 : i == 2 ? 0x80 : 0xFF;
        raw.palette.push_back(alpha << 24 | Argb(i * 37 % 256) << 16 | Argb(255 - i) << 8 | 9);
    }
    for (int i = 0; i < raw.width * raw.height; ++i) {
        raw.rows.push_back(static_cast<std::uint8_t>((i * 7 + i / 5) % entries));
    }
    return raw;
}

// Expects the image's colours to be ImageMagick's view of it: equal where
// that is opaque, clear where it is clear.
void expectShows(const IndexedImage& image, const PaletteAlpha& alpha, const std::wstring& view) {
    const auto expected = readEnumeration(view);
    ASSERT_EQ(int(expected.size()), image.height);
    const std::vector<std::uint8_t> indices = screenIndices(image);
    for (int y = 0; y < image.height; ++y) {
        ASSERT_EQ(int(expected[y].size()), image.width);
        for (int x = 0; x < image.width; ++x) {
            const Argb colour = colourOf(image, alpha, indices[y * image.width + x]);
            if (expected[y][x] >> 24 == 0) {
                EXPECT_EQ(colour >> 24, 0u) << x << "," << y;
            } else {
                EXPECT_EQ(colour, expected[y][x]) << x << "," << y;
            }
        }
    }
}

TEST(PaletteFiles, EveryDepthKeepsIndicesPaletteAndTransparency) {
    ScratchFolder folder;
    for (int bits : {1, 2, 4, 8}) {
        SCOPED_TRACE(bits);
        const RawIndexed raw = paletteSprite(bits);
        const std::wstring input = folder.file(L"in" + std::to_wstring(bits) + L".png");
        ASSERT_TRUE(writeRawIndexed(input, false, raw));
        const ImageFile file = readOk(input);
        ASSERT_EQ(file.frames.size(), 1u);
        const IndexedImage& image = *file.frames[0];
        ASSERT_EQ(image.width, 5);
        ASSERT_EQ(image.height, 3);
        EXPECT_EQ(screenIndices(image), raw.rows);
        for (int i = 0; i < 256; ++i) {
            const Argb expected = i < int(raw.palette.size()) ? raw.palette[i] : 0xFF000000u;
            EXPECT_EQ(colourOf(image, file.alpha, i), expected) << "entry " << i;
        }
        EXPECT_TRUE(file.alpha.present);
        // Written back at the same depth: the palette needs no more.
        EXPECT_EQ(roundTrip(file, folder.file(L"out" + std::to_wstring(bits) + L".png")), bits);
    }
}

TEST(PaletteFiles, AnotherEncodersPaletteAndTransparencyShowTheSamePixels) {
    const ImageFile file = readOk(inputsFolder() + L"palette8.png");
    ASSERT_EQ(file.frames.size(), 1u);
    expectShows(*file.frames[0], file.alpha, inputsFolder() + L"palette8.txt");
    ScratchFolder folder;
    roundTrip(file, folder.file(L"palette8.png"));
}

TEST(TruecolourFiles, RgbaOfFiveColoursIsIndexedExactly) {
    const ImageFile file = readOk(inputsFolder() + L"rgba5.png");
    ASSERT_EQ(file.frames.size(), 1u);
    // ".rrg,. rbhg.. ,wwk.r kkkkk.": both kinds of clear pixel at 0, the rest
    // by first appearance, rows top first.
    EXPECT_EQ(screenIndices(*file.frames[0]),
              (std::vector<std::uint8_t>{0, 1, 1, 2, 0, 0, 1, 3, 4, 2, 0, 0,
                                         0, 5, 5, 6, 0, 1, 6, 6, 6, 6, 6, 0}));
    const Argb palette[] = {0x00000000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu,
                            0x800080FFu, 0xFFFFFFFFu, 0xFF000000u};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(colourOf(*file.frames[0], file.alpha, i), palette[i]);
    EXPECT_TRUE(file.alpha.present);
    ScratchFolder folder;
    EXPECT_EQ(roundTrip(file, folder.file(L"rgba5.png")), 4);
}

TEST(TruecolourFiles, Bmp24IsIndexedExactlyAndOpaque) {
    const ImageFile file = readOk(inputsFolder() + L"rgb4.bmp");
    ASSERT_EQ(file.frames.size(), 1u);
    EXPECT_EQ(screenIndices(*file.frames[0]), (std::vector<std::uint8_t>{0, 1, 2, 3, 2, 4}));
    const Argb palette[] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u, 0xFFFFFFFFu};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(colourOf(*file.frames[0], file.alpha, i), palette[i]);
    EXPECT_FALSE(file.alpha.present);
}

TEST(PaletteFiles, Bmp8KeepsIndicesAndPaletteAsThePackedDibReaderSees) {
    // Palette entries in another order than the pixels first use them, and one
    // entry no pixel uses.
    ScratchFolder folder;
    const std::wstring path = folder.file(L"sprite.bmp");
    const std::vector<Argb> palette = {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFFFFFFFFu,
                                       0xFF123456u};
    const std::vector<std::uint8_t> rows = {3, 2, 1, 2, 2, 0, 1, 1, 3};
    ASSERT_TRUE(writeBmp8(path, 3, rows, palette));
    const ImageFile file = readOk(path);
    ASSERT_EQ(file.frames.size(), 1u);
    const IndexedImage& image = *file.frames[0];
    EXPECT_EQ(screenIndices(image), rows);
    for (int i = 0; i < 256; ++i) {
        const Argb expected = i < 5 ? palette[i] : 0xFF000000u;
        EXPECT_EQ(colourOf(image, file.alpha, i), expected) << "entry " << i;
    }
    EXPECT_FALSE(file.alpha.present);
    // A BMP is a file header and a packed DIB, which the clipboard reader reads:
    // the host's way and the file's way give the same image.
    const std::vector<std::uint8_t> bytes = fileBytes(path);
    const IndexedImage dib(nullptr, bytes.data() + 14, bytes.size() - 14);
    ASSERT_TRUE(dib.valid);
    EXPECT_EQ(screenIndices(dib), screenIndices(image));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(colourOf(dib, PaletteAlpha{}, i), colourOf(image, PaletteAlpha{}, i));
    }
    roundTrip(file, folder.file(L"sprite.png"));
}

TEST(TruecolourFiles, Bmp32WithAlphaIndexesAsThePngDoes) {
    const ImageFile png = readOk(inputsFolder() + L"rgba5.png");
    const ImageFile bmp = readOk(inputsFolder() + L"bgra5.bmp");
    ASSERT_EQ(bmp.frames.size(), 1u);
    EXPECT_EQ(screenIndices(*bmp.frames[0]), screenIndices(*png.frames[0]));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(colourOf(*bmp.frames[0], bmp.alpha, i), colourOf(*png.frames[0], png.alpha, i));
    }
}

TEST(TruecolourFiles, RleBmpKeepsItsColours) {
    // Wine decodes RLE8 to 32-bit colours: indexed exactly, the colours stay.
    const ImageFile file = readOk(inputsFolder() + L"rle8.bmp");
    ASSERT_EQ(file.frames.size(), 1u);
    expectShows(*file.frames[0], file.alpha, inputsFolder() + L"rle8.txt");
}

TEST(GifFiles, FramesAreComposedAsTheirDisposalSays) {
    const std::wstring path = inputsFolder() + L"frames.gif";
    const ImageFile file = readOk(path, true);
    ASSERT_EQ(file.frames.size(), 4u);
    for (int frame = 0; frame < 4; ++frame) {
        SCOPED_TRACE(frame);
        expectShows(*file.frames[frame], file.alpha,
                    inputsFolder() + L"frames-" + std::to_wstring(frame) + L".txt");
    }
    // Its first frame alone shows the same.
    const ImageFile first = readOk(path, false);
    ASSERT_EQ(first.frames.size(), 1u);
    expectShows(*first.frames[0], first.alpha, inputsFolder() + L"frames-0.txt");
}

TEST(GifFiles, FramesSharingATableKeepTheirIndices) {
    ScratchFolder folder;
    RawIndexed raw = paletteSprite(8);
    for (Argb& colour : raw.palette) colour |= 0xFF000000u;  // a GIF has no alpha
    const std::wstring path = folder.file(L"three.gif");
    ASSERT_TRUE(writeRawIndexed(path, true, raw, 3));
    const ImageFile file = readOk(path, true);
    ASSERT_EQ(file.frames.size(), 3u);
    for (const auto& frame : file.frames) {
        EXPECT_EQ(screenIndices(*frame), raw.rows);
        for (int i = 0; i < 256; ++i) EXPECT_EQ(colourOf(*frame, file.alpha, i), raw.palette[i]);
    }
    EXPECT_FALSE(file.alpha.present);
}

TEST(Refusals, EachNamesTheFileAndSaysWhy) {
    const std::wstring in = inputsFolder();
    EXPECT_EQ(readRefused(in + L"colours300.png"),
              "ERROR: " + narrow(in) +
                  "colours300.png has 300 colours; Marlune works on images of at most 256 colours");
    const std::pair<const wchar_t*, const char*> refusals[] = {
        {L"text.png", " is not a PNG, BMP or GIF image"},
        {L"jpeg.jpg", " is not a PNG, BMP or GIF image"},
        {L"truncated.png", " is truncated or corrupt"},
        {L"cut.png", " is truncated or corrupt"},
        {L"corrupt.png", " is truncated or corrupt"},
        {L"missing.png", " does not exist"},
    };
    for (const auto& [name, why] : refusals) {
        const std::string error = readRefused(in + name);
        EXPECT_EQ(error.rfind("ERROR: " + narrow(in + name) + why, 0), 0u) << error;
    }
    ScratchFolder folder;
    RawIndexed wide = paletteSprite(1);
    wide.width = 40000;
    wide.height = 1;
    wide.rows.assign(40000, 1);
    ASSERT_TRUE(writeRawIndexed(folder.file(L"wide.png"), false, wide));
    const std::string error = readRefused(folder.file(L"wide.png"));
    EXPECT_NE(error.find("wide.png is 40000 x 1 pixels; Marlune works on images of at most 32768"),
              std::string::npos)
        << error;
}

TEST(Writing, ReplacesOnlyWhenCompleteAndLeavesNothingBehind) {
    ScratchFolder folder;
    const ImageFile file = readOk(inputsFolder() + L"rgba5.png");
    const std::wstring target = folder.file(L"out.png");
    std::string error;
    // Over an existing file: replaced whole.
    ASSERT_TRUE(writePngFile(target, *readOk(inputsFolder() + L"rgb4.bmp").frames[0],
                             PaletteAlpha{}, error));
    roundTrip(file, target);
    // A target that cannot be replaced (a folder) stays; the temporary file goes.
    CreateDirectoryW(folder.file(L"taken.png").c_str(), nullptr);
    EXPECT_FALSE(writePngFile(folder.file(L"taken.png"), *file.frames[0], file.alpha, error));
    EXPECT_EQ(error.rfind("ERROR: " + narrow(folder.file(L"taken.png")) + " cannot be written", 0),
              0u)
        << error;
    EXPECT_EQ(folder.names(), (std::vector<std::wstring>{L"out.png", L"taken.png"}));
    RemoveDirectoryW(folder.file(L"taken.png").c_str());
    // No folder: nothing made.
    EXPECT_FALSE(writePngFile(folder.file(L"none\\out.png"), *file.frames[0], file.alpha, error));
    EXPECT_NE(error.find("its folder does not exist"), std::string::npos) << error;
}

}  // namespace
