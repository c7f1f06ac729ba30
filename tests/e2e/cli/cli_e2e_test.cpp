// marlune-cli.exe under Wine on sprite files: a flow and a typed angle, turns
// and sheets equal to the chain's own output computed here; wildcards and
// progress; every refusal with its message and exit code, nothing written for
// it and an existing output left as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli_process.h"
#include "e2e_files.h"
#include "files/image_file.h"
#include "frame_dib.h"
#include "passes/pass_chain.h"
#include "sample_sprite.h"
#include "wic_test_files.h"

namespace {

const auto* const com = testing::AddGlobalTestEnvironment(new ComEnvironment);

enum Kind { kScale2x = 2, kRotate = 6, kRotateUnzoom8x = 10, kRotSprite = 11 };
const std::vector<int> kFourPass = {kScale2x, kScale2x, kScale2x, kRotateUnzoom8x};
constexpr const char* kFourPassText = "Scale2x, scale2x ,SCALE2X, RotateUnzoom8x";

// The sample knight's layer in frame `frame` as a grab from the host gives
// it: the host's packed DIB (bottom-up rows) read as the import reads it.
std::unique_ptr<IndexedImage> knight(int frame) {
    const Project sample = makeSampleProject();
    const std::vector<std::uint8_t> dib =
        makePackedDib(sample.pixels(frame, 1), sample.width, sample.height, sample.palette);
    return std::make_unique<IndexedImage>(nullptr, dib.data(), dib.size());
}

// The same layer as a file holds it: rows top first, written by WIC itself,
// with `clear` as the palette's clear entry (-1: none).
bool writeKnightFile(const std::string& path, bool gif, int frame, int frames, int clear) {
    const Project sample = makeSampleProject();
    RawIndexed raw;
    raw.width = sample.width;
    raw.height = sample.height;
    raw.bits = 8;
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t* quad = sample.palette.data() + 4 * i;
        const Argb alpha = i == clear ? 0 : 0xFF;
        raw.palette.push_back(alpha << 24 | Argb(quad[2]) << 16 | Argb(quad[1]) << 8 | quad[0]);
    }
    raw.rows = sample.pixels(frame, 1);
    return writeRawIndexed(widen(path), gif, raw, frames);
}

PaletteAlpha clearZero() {
    PaletteAlpha alpha;
    alpha.alpha[0] = 0;
    alpha.present = true;
    return alpha;
}

// `source` through the flow, as the application's chain computes it.
std::unique_ptr<IndexedImage> chainOutput(const IndexedImage& source, const std::vector<int>& kinds,
                                          double degrees, bool wrap = false) {
    PassChain chain;
    auto copy =
        std::make_unique<IndexedImage>(nullptr, source.width, source.height, source.palette());
    std::copy_n(source.pixels, std::size_t(source.stride()) * source.height, copy->pixels);
    chain.setSource(std::move(copy));
    for (const int kind : kinds) chain.insertPass(nullptr, chain.size(), kind);
    chain.setWrapAround(nullptr, wrap ? 1 : 0);
    chain.setRotationAngle(nullptr, degrees);
    const IndexedImage& shown = *chain.displayedImage();
    auto out = std::make_unique<IndexedImage>(nullptr, shown.width, shown.height, shown.palette());
    std::copy_n(shown.pixels, std::size_t(shown.stride()) * shown.height, out->pixels);
    return out;
}

ImageFile readOutput(const std::string& path) {
    ImageFile file;
    std::string error;
    EXPECT_TRUE(readImageFile(widen(path), nullptr, true, file, error)) << error;
    return file;
}

// The written file holds `expected` exactly: indices, palette and alpha.
void expectFileHolds(const std::string& path, const IndexedImage& expected,
                     const PaletteAlpha& alpha) {
    const ImageFile file = readOutput(path);
    ASSERT_EQ(file.frames.size(), 1u) << path;
    const IndexedImage& image = *file.frames[0];
    ASSERT_EQ(image.width, expected.width) << path;
    ASSERT_EQ(image.height, expected.height) << path;
    EXPECT_EQ(screenIndices(image), screenIndices(expected)) << path;
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(colourOf(image, file.alpha, i), colourOf(expected, alpha, i)) << path << " " << i;
    }
}

// The screen rows of the cell at (column, row) of a sheet of cells w x h.
std::vector<std::uint8_t> cellOf(const IndexedImage& sheet, int w, int h, int column, int row) {
    const std::vector<std::uint8_t> all = screenIndices(sheet);
    std::vector<std::uint8_t> cell;
    for (int y = row * h; y < (row + 1) * h; ++y) {
        const auto start = all.begin() + std::ptrdiff_t(y) * sheet.width + column * w;
        cell.insert(cell.end(), start, start + w);
    }
    return cell;
}

// A folder holding knight.png (index 0 clear) and walk.gif (three frames).
// Each test compares what the program makes of these files with the chain run
// on the host's grab of the same sprite: the same picture, turned alike.
class CliFolder : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(writeKnightFile(file("knight.png"), false, 1, 1, 0));
        // Three frames of the knight's second step, each read on its own.
        ASSERT_TRUE(writeKnightFile(file("walk.gif"), true, 2, 3, -1));
    }

    std::string file(const std::string& name) const { return folder.file(name); }

    TempFolder folder;
};

TEST_F(CliFolder, AFlowAndADecimalAngleGiveTheChainsImage) {
    const CliResult run =
        runCli(folder.path(), {"-f", kFourPassText, "-a", "26.565", "knight.png"});
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.err, "");  // one input: no progress line
    EXPECT_EQ(filesIn(folder.path()),
              (std::vector<std::string>{"knight.png", "knight_marlune.png", "walk.gif"}));
    expectFileHolds(file("knight_marlune.png"), *chainOutput(*knight(1), kFourPass, 26.565),
                    clearZero());

    // A flow file; the options' angle over the file's, the file's wrap kept.
    std::ofstream(file("turn.flow"), std::ios::binary)
        << "\xEF\xBB\xBF# RotSprite, wrapped\r\n"
           "passes = RotSprite\r\nangle = 10\r\nwrap = on\r\n";
    const CliResult fromFile = runCli(
        folder.path(), {"-F", "turn.flow", "-a", "33.3", "-o", "{name}_file.png", "knight.png"});
    EXPECT_EQ(fromFile.exitCode, 0u) << fromFile.err;
    expectFileHolds(file("knight_file.png"), *chainOutput(*knight(1), {kRotSprite}, 33.3, true),
                    clearZero());
}

TEST_F(CliFolder, TurnsGiveOneFileAViewAt45DegreeSteps) {
    const CliResult run =
        runCli(folder.path(), {"-f", kFourPassText, "-a", "10", "-t", "8", "knight.png"});
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    const double angles[] = {10, 55, 100, 145, 190, 235, 280, 325};
    for (int k = 1; k <= 8; ++k) {
        SCOPED_TRACE(k);
        expectFileHolds(file("knight_marlune_" + std::to_string(k) + ".png"),
                        *chainOutput(*knight(1), kFourPass, angles[k - 1]), clearZero());
    }
    EXPECT_EQ(filesIn(folder.path()).size(), 2u + 8u);
}

TEST_F(CliFolder, ASheetHasViewsLeftToRightAndFramesTopToBottom) {
    const CliResult run = runCli(folder.path(), {"-f", "Rotate", "-t", "8", "--sheet", "-o",
                                                 "sheets\\{name}.png", "knight.png", "walk.gif"});
    // The output folder does not exist: both inputs fail, nothing is made.
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.err.find("sheets\\knight.png cannot be written: its folder does not exist"),
              std::string::npos)
        << run.err;
    std::filesystem::create_directory(file("sheets"));
    const CliResult again = runCli(folder.path(), {"-f", "Rotate", "-t", "8", "--sheet", "-o",
                                                   "sheets\\{name}.png", "knight.png", "walk.gif"});
    EXPECT_EQ(again.exitCode, 0u) << again.err;
    EXPECT_EQ(again.err, "[1/2] knight.png\n[2/2] walk.gif\n");
    EXPECT_EQ(filesIn(file("sheets")), (std::vector<std::string>{"knight.png", "walk.png"}));

    const ImageFile knightSheet = readOutput(file("sheets\\knight.png"));
    ASSERT_EQ(knightSheet.frames.size(), 1u);
    EXPECT_EQ(knightSheet.frames[0]->width, 8 * kSampleSide);
    EXPECT_EQ(knightSheet.frames[0]->height, kSampleSide);
    const ImageFile walkSheet = readOutput(file("sheets\\walk.png"));
    ASSERT_EQ(walkSheet.frames.size(), 1u);
    EXPECT_EQ(walkSheet.frames[0]->width, 8 * kSampleSide);
    EXPECT_EQ(walkSheet.frames[0]->height, 3 * kSampleSide);
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        const auto view = chainOutput(*knight(1), {kRotate}, 45.0 * k);
        EXPECT_EQ(cellOf(*knightSheet.frames[0], kSampleSide, kSampleSide, k, 0),
                  screenIndices(*view));
        const auto step = chainOutput(*knight(2), {kRotate}, 45.0 * k);
        for (int frame = 0; frame < 3; ++frame) {
            EXPECT_EQ(cellOf(*walkSheet.frames[0], kSampleSide, kSampleSide, k, frame),
                      screenIndices(*step));
        }
    }
}

TEST_F(CliFolder, WildcardsAreExpandedAndProgressIsShownUnlessQuiet) {
    std::filesystem::create_directory(file("set"));
    for (const char* name : {"b.png", "a.png", "c.PNG", "skip.gif"}) {
        std::filesystem::copy_file(file("knight.png"), file(std::string("set\\") + name));
    }
    const CliResult run = runCli(folder.path(), {"-f", "Scale2x", "set\\*.png", "none*.bmp"});
    EXPECT_EQ(run.exitCode, 1u);  // "none*.bmp" matched nothing
    EXPECT_EQ(
        run.err,
        "ERROR: no file matches none*.bmp\n[1/3] set\\a.png\n[2/3] set\\b.png\n[3/3] set\\c.PNG\n");
    EXPECT_EQ(filesIn(file("set")),
              (std::vector<std::string>{"a.png", "a_marlune.png", "b.png", "b_marlune.png", "c.PNG",
                                        "c_marlune.png", "skip.gif"}));
    const CliResult quiet =
        runCli(folder.path(), {"-q", "-f", "Scale2x", "-o", "{name}_q.png", "set\\?.png"});
    EXPECT_EQ(quiet.exitCode, 0u);
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(filesIn(folder.path()), (std::vector<std::string>{"a_q.png", "b_q.png", "c_q.png",
                                                                "knight.png", "set", "walk.gif"}));
}

TEST_F(CliFolder, BadUsageWritesNothingAndLeavesOutputsAsTheyWere) {
    std::ofstream(file("knight_marlune.png"), std::ios::binary) << "an earlier output";
    std::ofstream(file("bad.flow")) << "passes = Scale2x\nangle = 30\nzoom = 2\n";
    std::filesystem::create_directory(file("other"));
    std::filesystem::copy_file(file("knight.png"), file("other\\knight.png"));
    const std::vector<std::string> before = filesIn(folder.path());
    const std::pair<std::vector<std::string>, std::string> refusals[] = {
        {{"-f", "Scale2x, Scale5x", "knight.png"},
         "ERROR: --flow: unknown pass \"Scale5x\"; the pass kinds are Zoom2x, Zoom3x, Scale2x"},
        {{"-a", "360.5", "knight.png"}, "ERROR: --angle \"360.5\" is not a number from 0 to 360"},
        {{"-t", "65", "knight.png"}, "ERROR: --turns \"65\" is not a whole number from 2 to 64"},
        {{"-t", "1", "knight.png"}, "ERROR: --turns \"1\" is not a whole number from 2 to 64"},
        {{"-F", "missing.flow", "knight.png"}, "ERROR: the flow file missing.flow cannot be read"},
        {{"-F", "bad.flow", "knight.png"},
         "ERROR: bad.flow line 3: unknown setting \"zoom\"; a flow has passes, angle and wrap"},
        {{"--sheet", "-o", "{name}_{turn}.png", "knight.png"},
         "ERROR: --sheet writes one file per input: its --output pattern takes no {frame} or "
         "{turn}"},
        {{"-t", "4", "-o", "{name}.png", "walk.gif"},
         "ERROR: the output pattern gives two images the name"},
        {{"-o", "out_{name}.png", "knight.png", "other\\knight.png"},
         "ERROR: the output pattern gives two images the name"},
        {{"-o", "{name}.png", "knight.png"}, "ERROR: an output would overwrite the input"},
        {{"--angel", "30", "knight.png"}, "ERROR: unknown option --angel (see --help)"},
        {{"-f", "Zoom2x"}, "ERROR: no input files (see --help)"},
    };
    for (const auto& [arguments, message] : refusals) {
        const CliResult run = runCli(folder.path(), arguments);
        EXPECT_EQ(run.exitCode, 2u) << message;
        EXPECT_EQ(run.err.rfind(message, 0), 0u) << run.err;
        EXPECT_EQ(filesIn(folder.path()), before) << message;
    }
    EXPECT_NE(runCli(folder.path(), {"-f", "Zoom9x", "knight.png"}).err.find("RotSprite"),
              std::string::npos);
    std::ifstream earlier(file("knight_marlune.png"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(earlier), {}), "an earlier output");
}

TEST_F(CliFolder, InputsThatFailAreReportedAndTheOthersWritten) {
    const std::wstring inputs = inputsFolder();
    for (const char* name : {"colours300.png", "text.png"}) {
        ASSERT_TRUE(CopyFileW((inputs + widen(name)).c_str(), widen(file(name)).c_str(), FALSE));
    }
    std::ofstream(file("text_marlune.png"), std::ios::binary) << "kept";
    const CliResult run =
        runCli(folder.path(), {"-f", "Zoom2x", "colours300.png", "knight.png", "text.png"});
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.err,
              "[1/3] colours300.png\n"
              "ERROR: colours300.png has 300 colours; Marlune works on images of at most 256 "
              "colours\n"
              "[2/3] knight.png\n"
              "[3/3] text.png\n"
              "ERROR: text.png is not a PNG, BMP or GIF image\n");
    EXPECT_EQ(filesIn(folder.path()),
              (std::vector<std::string>{"colours300.png", "knight.png", "knight_marlune.png",
                                        "text.png", "text_marlune.png", "walk.gif"}));
    std::ifstream kept(file("text_marlune.png"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");
}

TEST(Cli, ListsThePassKindsAndItsUsage) {
    const TempFolder folder;
    const CliResult list = runCli(folder.path(), {"--list"});
    EXPECT_EQ(list.exitCode, 0u);
    EXPECT_EQ(list.out.rfind("Zoom2x\nZoom3x\nScale2x\nScale3x\nCanvas2x\nSpace2x\nRotate\n", 0),
              0u)
        << list.out;
    EXPECT_NE(list.out.find("\nRotSprite\n"), std::string::npos);
    EXPECT_EQ(list.out.find("END"), std::string::npos);
    const CliResult help = runCli(folder.path(), {"--help"});
    EXPECT_EQ(help.exitCode, 0u);
    EXPECT_EQ(help.out.rfind("marlune-cli [options] INPUT...\n", 0), 0u) << help.out;
    const CliResult bare = runCli(folder.path(), {});
    EXPECT_EQ(bare.exitCode, 2u);
    EXPECT_EQ(bare.err, help.out);
}

}  // namespace
