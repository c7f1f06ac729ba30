#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "dump.h"
#include "frame_dib.h"
#include "image/indexed_image.h"
#include "sample_sprite.h"
#include "startup.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> readAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeAll(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A fresh folder per test, removed afterwards.
class TempFolder {
  public:
    explicit TempFolder(const std::string& name)
        : path(fs::temp_directory_path() / ("hostsim_" + name)) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

TEST(SampleSprite, ShapeNamesAndDelays) {
    const Project p = makeSampleProject();
    EXPECT_EQ(p.width, 48);
    EXPECT_EQ(p.height, 48);
    EXPECT_GE(p.frameCount(), 4);
    EXPECT_EQ(p.layerCount(), 2);
    EXPECT_EQ(p.path, "C:\\sprites\\sample.knight.png");
    EXPECT_EQ(p.name, "sample.knight.png");
    EXPECT_EQ(p.currentFrame, 1);
    EXPECT_EQ(p.activeLayer, 1);
    std::vector<int> delays;
    for (const Frame& f : p.frames) delays.push_back(f.delay);
    EXPECT_EQ(delays, (std::vector<int>{100, 120, 100, 150}));
}

TEST(SampleSprite, EnoughColoursAndMovement) {
    const Project p = makeSampleProject();
    std::set<std::uint8_t> used;
    std::set<std::uint32_t> distinctColours;
    for (int f = 1; f <= p.frameCount(); ++f) {
        for (std::uint8_t i : compositeFrame(p, f)) used.insert(i);
    }
    for (std::uint8_t i : used) {
        distinctColours.insert(static_cast<std::uint32_t>(
            p.palette[4 * i] | p.palette[4 * i + 1] << 8 | p.palette[4 * i + 2] << 16));
    }
    EXPECT_GE(distinctColours.size(), 16u);
    // The background layer is opaque; the knight layer has transparent index 0
    // around a figure of a reasonable size.
    for (int f = 1; f <= p.frameCount(); ++f) {
        for (std::uint8_t i : p.pixels(f, 0)) ASSERT_NE(i, 0);
        const LayerPixels& knight = p.pixels(f, 1);
        const auto drawn =
            std::count_if(knight.begin(), knight.end(), [](std::uint8_t i) { return i != 0; });
        EXPECT_GT(drawn, 300);
        EXPECT_LT(drawn, 48 * 48 / 2);
    }
    // It walks: every frame differs from the next.
    for (int f = 1; f < p.frameCount(); ++f) EXPECT_NE(p.pixels(f, 1), p.pixels(f + 1, 1)) << f;
}

TEST(Dump, FilesReadBackThroughTheImageReader) {
    TempFolder folder("dump");
    HostModel model;
    model.addProject(makeSampleProject());
    Project second = makeBlankProject(2, 5, 3, greyPalette());
    second.pixels(2, 0)[14] = 200;  // the bottom-right pixel
    second.frames[1].delay = 7;
    model.addProject(std::move(second));
    std::string error;
    ASSERT_TRUE(writeDump(model, folder.path.string(), error)) << error;

    EXPECT_EQ(readAll(folder.path / "p2.txt").size(), projectDescription(*model.find(2)).size());
    const std::vector<std::uint8_t> text = readAll(folder.path / "p2.txt");
    EXPECT_EQ(std::string(text.begin(), text.end()),
              "name=none\npath=none\nframes=2\nlayers=1\nwidth=5\nheight=3\ndelays=100,7\n");
    const std::vector<std::uint8_t> sampleText = readAll(folder.path / "p1.txt");
    EXPECT_NE(std::string(sampleText.begin(), sampleText.end()).find("layers=2\n"),
              std::string::npos);

    for (int f = 1; f <= 4; ++f) {
        for (int l = 0; l < 2; ++l) {
            const fs::path path =
                folder.path / ("p1_f" + std::to_string(f) + "_l" + std::to_string(l) + ".bmp");
            const std::vector<std::uint8_t> file = readAll(path);
            ASSERT_GT(file.size(), 14u) << path;
            IndexedImage image(nullptr, file.data() + 14, file.size() - 14);
            ASSERT_TRUE(image.valid) << path;
            DecodedImage decoded;
            ASSERT_EQ(decodeBmpFile(file, decoded), nullptr);
            EXPECT_EQ(decoded.pixels, model.find(1)->pixels(f, l));
        }
    }
    const std::vector<std::uint8_t> blank = readAll(folder.path / "p2_f2_l0.bmp");
    IndexedImage image(nullptr, blank.data() + 14, blank.size() - 14);
    ASSERT_TRUE(image.valid);
    EXPECT_EQ(image.row(0)[4], 200);  // bottom-up: memory row 0 is the bottom row
    EXPECT_FALSE(fs::exists(folder.path / "p2_f3_l0.bmp"));
}

TEST(Startup, OpenBmpFilesMakeOneProjectOfFrames) {
    TempFolder folder("open");
    const Palette palette = greyPalette();
    LayerPixels first(12, 1);
    LayerPixels second(12, 2);
    writeAll(folder.path / "walk1.bmp", makeBmpFile(first, 4, 3, palette));
    writeAll(folder.path / "walk2.bmp", makeBmpFile(second, 4, 3, palette));
    writeAll(folder.path / "big.bmp", makeBmpFile(LayerPixels(16, 1), 4, 4, palette));
    writeAll(folder.path / "junk.bmp", {'B', 'M', 1, 2, 3});

    HostOptions options;
    options.openFiles = {(folder.path / "walk1.bmp").string(),
                         (folder.path / "walk2.bmp").string()};
    HostModel model;
    std::string error;
    ASSERT_TRUE(buildStartModel(options, "C:\\art\\walk1.bmp", model, error)) << error;
    ASSERT_EQ(model.projects.size(), 1u);
    const Project& p = *model.current();
    EXPECT_EQ(p.frameCount(), 2);
    EXPECT_EQ(p.layerCount(), 1);
    EXPECT_EQ(p.pixels(2, 0), second);
    EXPECT_EQ(p.path, "C:\\art\\walk1.bmp");
    EXPECT_EQ(p.name, "walk1.bmp");

    for (const char* bad : {"big.bmp", "junk.bmp", "missing.bmp"}) {
        HostOptions wrong;
        wrong.openFiles = {(folder.path / "walk1.bmp").string(), (folder.path / bad).string()};
        HostModel none;
        EXPECT_FALSE(buildStartModel(wrong, "x", none, error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
    }
}

TEST(Startup, SampleOrBlank) {
    HostModel sample;
    HostOptions options;
    options.sample = true;
    std::string error;
    ASSERT_TRUE(buildStartModel(options, "", sample, error));
    EXPECT_EQ(sample.current()->name, "sample.knight.png");
    HostModel blank;
    ASSERT_TRUE(buildStartModel(HostOptions{}, "", blank, error));
    EXPECT_EQ(blank.currentId, 1);
    EXPECT_EQ(blank.current()->path, "none");
    EXPECT_EQ(fileNameOf("C:\\a\\b.c.png"), "b.c.png");
    EXPECT_EQ(fileNameOf("/tmp/x.bmp"), "x.bmp");
    EXPECT_EQ(fileNameOf("plain"), "plain");
}

}  // namespace
