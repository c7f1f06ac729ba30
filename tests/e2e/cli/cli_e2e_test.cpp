// marlune-cli.exe under Wine: a flow and a typed angle, turns and sheets equal
// to the chain run here on the host's grab of the same sprite; wildcards and
// progress; every refusal with its message and exit code, nothing written for
// it and an existing output left as it was.
#include <filesystem>
#include <fstream>

#include "cli_process.h"
#include "e2e_files.h"
#include "frame_dib.h"
#include "sample_dump.h"
#include "sample_sprite.h"
#include "wic_test_files.h"

namespace {

const auto* const com = testing::AddGlobalTestEnvironment(new ComEnvironment);

// The sample knight's layer in `frame` as a grab gives it: the host's DIB.
std::unique_ptr<IndexedImage> grab(int frame) {
    const Project sample = makeSampleProject();
    const auto dib =
        makePackedDib(sample.pixels(frame, 1), sample.width, sample.height, sample.palette);
    return std::make_unique<IndexedImage>(nullptr, dib.data(), dib.size());
}

PaletteAlpha clearZero() {
    PaletteAlpha alpha;
    alpha.alpha[0] = 0;
    alpha.present = true;
    return alpha;
}

// The screen indices of `source` through `kinds` at `degrees`, as the chain
// of the application computes them.
std::vector<std::uint8_t> chainOutput(const IndexedImage& source, const std::vector<int>& kinds,
                                      double degrees, bool wrap = false) {
    return screenIndices(*runChain(source, kinds, degrees, wrap)->displayedImage());
}

// The file holds `indices` with the knight's palette and index 0 clear; or,
// as a sheet of w x h cells, holds them at (column, row).
void expectHolds(const std::string& path, const std::vector<std::uint8_t>& indices, int w = 0,
                 int h = 0, int column = 0, int row = 0) {
    const ImageFile file = readOk(path, true);
    ASSERT_EQ(file.frames.size(), 1u) << path;
    const IndexedImage& image = *file.frames[0];
    std::vector<std::uint8_t> cell = screenIndices(image);
    if (w > 0) {
        std::vector<std::uint8_t> part;
        for (int y = row * h; y < (row + 1) * h; ++y) {
            const auto start = cell.begin() + std::ptrdiff_t(y) * image.width + column * w;
            part.insert(part.end(), start, start + w);
        }
        cell = part;
    }
    EXPECT_EQ(cell, indices) << path;
    if (w == 0) {
        const auto knight = grab(1);
        for (int i = 0; i < 256; ++i) {
            ASSERT_EQ(colourOf(image, file.alpha, i), colourOf(*knight, clearZero(), i)) << path;
        }
    }
}

enum Kind { kScale2x = 2, kRotate = 6, kRotateUnzoom8x = 10, kRotSprite = 11 };
const std::vector<int> kFourPass = {kScale2x, kScale2x, kScale2x, kRotateUnzoom8x};

// A folder holding knight.png, the grab's picture with index 0 clear.
class CliFolder : public testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(writePngFile(widen(file("knight.png")), *grab(1), clearZero(), error)) << error;
    }
    std::string file(const std::string& name) const { return folder.file(name); }
    CliResult run(const std::vector<std::string>& arguments) const {
        return runCli(folder.path(), arguments);
    }

    TempFolder folder;
};

TEST_F(CliFolder, AFlowAndATypedAngleGiveTheChainsImage) {
    const CliResult plain =
        run({"-f", "Scale2x, scale2x ,SCALE2X, RotateUnzoom8x", "-a", "26.565", "knight.png"});
    EXPECT_EQ(plain.exitCode, 0u);
    EXPECT_EQ(plain.err, "");  // one input: no progress line
    expectHolds(file("knight_marlune.png"), chainOutput(*grab(1), kFourPass, 26.565));
    // A flow file: the options' angle over the file's, the file's wrap kept.
    std::ofstream(file("turn.flow")) << "passes = RotSprite\nangle = 10\nwrap = on\n";
    EXPECT_EQ(run({"-F", "turn.flow", "-a", "33.3", "-o", "f.png", "knight.png"}).exitCode, 0u);
    expectHolds(file("f.png"), chainOutput(*grab(1), {kRotSprite}, 33.3, true));
}

TEST_F(CliFolder, TurnsAndSheetsGiveTheChainAt45DegreeSteps) {
    std::filesystem::copy_file(inputsFolder() + "frames.gif", file("walk.gif"));
    ASSERT_EQ(
        run({"-f", "Scale2x,Scale2x,Scale2x,RotateUnzoom8x", "-a", "10", "-t", "8", "knight.png"})
            .exitCode,
        0u);
    const CliResult sheets =
        run({"-f", "Rotate", "-t", "8", "--sheet", "-o", "{name}_s.png", "knight.png", "walk.gif"});
    EXPECT_EQ(sheets.exitCode, 0u);
    EXPECT_EQ(sheets.err, "[1/2] knight.png\n[2/2] walk.gif\n");
    const ImageFile walk = readOk(file("walk.gif"), true);
    ASSERT_EQ(walk.frames.size(), 4u);
    for (int k = 0; k < 8; ++k) {
        expectHolds(file("knight_marlune_" + std::to_string(k + 1) + ".png"),
                    chainOutput(*grab(1), kFourPass, 10 + 45 * k));
        expectHolds(file("knight_s.png"), chainOutput(*grab(1), {kRotate}, 45 * k), kSampleSide,
                    kSampleSide, k, 0);
        for (int f = 0; f < 4; ++f) {
            expectHolds(file("walk_s.png"), chainOutput(*walk.frames[f], {kRotate}, 45 * k), 6, 4,
                        k, f);
        }
    }
}

TEST_F(CliFolder, WildcardsAreExpandedAndProgressShownUnlessQuiet) {
    std::filesystem::create_directory(file("set"));
    for (const char* name : {"b.png", "a.png", "c.PNG", "d.gif"}) {
        std::filesystem::copy_file(file("knight.png"), file(std::string("set\\") + name));
    }
    const CliResult all = run({"-f", "Scale2x", "set\\*.png", "none*.bmp"});
    EXPECT_EQ(all.exitCode, 1u);  // "none*.bmp" matched nothing
    EXPECT_EQ(all.err,
              "ERROR: no file matches none*.bmp\n"
              "[1/3] set\\a.png\n[2/3] set\\b.png\n[3/3] set\\c.PNG\n");
    EXPECT_TRUE(std::filesystem::exists(file("set\\c_marlune.png")));
    const CliResult quiet = run({"-q", "-o", "{name}_q.png", "set\\?.png"});
    EXPECT_EQ(quiet.exitCode, 0u);
    EXPECT_EQ(quiet.err, "");
    expectHolds(file("b_q.png"), screenIndices(*grab(1)));
}

TEST_F(CliFolder, BadUsageWritesNothingAndLeavesOutputsAsTheyWere) {
    std::ofstream(file("knight_marlune.png")) << "an earlier output";
    std::ofstream(file("bad.flow")) << "passes = Scale2x\nangle = 30\nzoom = 2\n";
    std::filesystem::copy_file(inputsFolder() + "frames.gif", file("walk.gif"));
    const auto before =
        std::distance(std::filesystem::recursive_directory_iterator(folder.path()), {});
    const std::pair<std::vector<std::string>, std::string> refusals[] = {
        {{"-f", "Scale5x", "knight.png"},
         "--flow: unknown pass \"Scale5x\"; the pass kinds are Zoom2x, Zoom3x, Scale2x"},
        {{"-a", "360.5", "knight.png"}, "--angle \"360.5\" is not a number from 0 to 360"},
        {{"-t", "65", "knight.png"}, "--turns \"65\" is not a whole number from 2 to 64"},
        {{"-F", "missing.flow", "knight.png"}, "the flow file missing.flow cannot be read"},
        {{"-F", "bad.flow", "knight.png"},
         "bad.flow line 3: unknown setting \"zoom\"; a flow has passes, angle and wrap"},
        {{"--sheet", "-o", "{name}_{turn}.png", "knight.png"},
         "--sheet writes one file per input: its --output pattern takes no {frame} or {turn}"},
        {{"-o", "{name}_x.png", "walk.gif"}, "the output pattern gives two images the name"},
        {{"-o", "{name}.png", "knight.png"}, "an output would overwrite the input"},
        {{"--angel", "30", "knight.png"}, "unknown option --angel (see --help)"},
    };
    for (const auto& [arguments, message] : refusals) {
        const CliResult refused = run(arguments);
        EXPECT_EQ(refused.exitCode, 2u) << message;
        EXPECT_EQ(refused.err.rfind("ERROR: " + message, 0), 0u) << refused.err;
    }
    EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(folder.path()), {}),
              before);
    EXPECT_EQ(fileText(file("knight_marlune.png")), "an earlier output");
    EXPECT_EQ(run({"--list"}).out.substr(0, 22), "Zoom2x\nZoom3x\nScale2x\n");
}

TEST_F(CliFolder, InputsThatFailAreReportedAndTheOthersWritten) {
    for (const char* name : {"colours300.png", "text.png"}) {
        std::filesystem::copy_file(inputsFolder() + name, file(name));
    }
    std::ofstream(file("text_marlune.png")) << "kept";
    const CliResult mixed = run({"-f", "Zoom2x", "colours300.png", "knight.png", "text.png"});
    EXPECT_EQ(mixed.exitCode, 1u);
    EXPECT_EQ(mixed.err,
              "[1/3] colours300.png\nERROR: colours300.png has 300 colours; Marlune "
              "works on images of at most 256 colours\n[2/3] knight.png\n[3/3] text.png\n"
              "ERROR: text.png is not a PNG, BMP or GIF image\n");
    expectHolds(file("knight_marlune.png"), chainOutput(*grab(1), {0}, 0));
    EXPECT_FALSE(std::filesystem::exists(file("colours300_marlune.png")));
    EXPECT_EQ(fileText(file("text_marlune.png")), "kept");
}

}  // namespace
