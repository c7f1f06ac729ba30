#include "picture.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int kGap = 8;                                    // pixels between and around images
constexpr unsigned char kBackground[3] = {236, 236, 228};  // the manual's paper

}  // namespace

bool writeRows(const std::string& path, const std::vector<PictureRow>& rows) {
    int width = 0, height = kGap;
    for (const PictureRow& row : rows) {
        const int zoom = row.zoom;
        int rowWidth = kGap, rowHeight = 0;
        for (const IndexedImage* image : row.images) {
            rowWidth += image->width * zoom + kGap;
            rowHeight = std::max(rowHeight, image->height * zoom);
        }
        width = std::max(width, rowWidth);
        height += rowHeight + kGap;
    }
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = kBackground[i % 3];
    int top = kGap;
    for (const PictureRow& row : rows) {
        const int zoom = row.zoom;
        int left = kGap, rowHeight = 0;
        for (const IndexedImage* image : row.images) {
            for (int y = 0; y < image->height * zoom; ++y) {
                // Screen rows from the top: the image's memory rows count upwards.
                const std::uint8_t* source = image->row(image->height - 1 - y / zoom);
                for (int x = 0; x < image->width * zoom; ++x) {
                    const std::uint8_t* quad = image->palette() + 4 * source[x / zoom];
                    unsigned char* target =
                        &rgb[(static_cast<std::size_t>(top + y) * width + left + x) * 3];
                    target[0] = quad[2];
                    target[1] = quad[1];
                    target[2] = quad[0];
                }
            }
            left += image->width * zoom + kGap;
            rowHeight = std::max(rowHeight, image->height * zoom);
        }
        top += rowHeight + kGap;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                               &std::fclose);
    if (!file) return false;
    std::fprintf(file.get(), "P6\n%d %d\n255\n", width, height);
    return std::fwrite(rgb.data(), 1, rgb.size(), file.get()) == rgb.size();
}
