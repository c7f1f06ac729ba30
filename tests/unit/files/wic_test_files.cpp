#include "wic_test_files.h"

#include <cstdio>
#include <fstream>

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

ImageFile readOk(const std::string& path, bool allFrames) {
    ImageFile file;
    std::string error;
    EXPECT_TRUE(readImageFile(widen(path), nullptr, allFrames, file, error)) << error;
    return file;
}

std::string inputsFolder() {
    char program[MAX_PATH] = {};
    const std::string path(program, GetModuleFileNameA(nullptr, program, MAX_PATH));
    return path.substr(0, path.find_last_of('\\') + 1) + "..\\tests\\unit\\files\\inputs\\";
}

std::vector<std::uint8_t> screenIndices(const IndexedImage& image) {
    std::vector<std::uint8_t> indices;
    for (int y = image.height - 1; y >= 0; --y) {
        indices.insert(indices.end(), image.row(y), image.row(y) + image.width);
    }
    return indices;
}

Argb colourOf(const IndexedImage& image, const PaletteAlpha& alpha, int index) {
    const std::uint8_t* quad = image.palette() + 4 * index;
    return Argb{alpha.alpha[index]} << 24 | Argb{quad[2]} << 16 | Argb{quad[1]} << 8 | quad[0];
}

void expectShows(const IndexedImage& image, const PaletteAlpha& alpha, const std::string& view) {
    std::ifstream in(view);
    const std::vector<std::uint8_t> indices = screenIndices(image);
    int pixels = 0;
    for (std::string line; std::getline(in, line);) {
        unsigned x = 0, y = 0, r = 0, g = 0, b = 0, a = 255;
        if (std::sscanf(line.c_str(), "%u,%u: (%u,%u,%u,%u", &x, &y, &r, &g, &b, &a) < 5) continue;
        ASSERT_TRUE(int(x) < image.width && int(y) < image.height) << view;
        const Argb colour = colourOf(image, alpha, indices[y * image.width + x]);
        const Argb wanted = a << 24 | r << 16 | g << 8 | b;
        EXPECT_EQ(a == 0 ? colour >> 24 : colour, a == 0 ? 0 : wanted)
            << view << " " << x << "," << y;
        ++pixels;
    }
    EXPECT_EQ(pixels, image.width * image.height) << view;
}
