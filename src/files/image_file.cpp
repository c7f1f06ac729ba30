#include "files/image_file.h"

#include <algorithm>

bool makeImageFile(const IndexedPicture& picture, HWND owner, ImageFile& file) {
    std::array<std::uint8_t, kPaletteBytes> quads{};  // blue, green, red, reserved 0
    PaletteAlpha alpha;
    for (int i = 0; i < kMaxColours; ++i) {
        const Argb colour = picture.palette[i];
        quads[4 * i] = static_cast<std::uint8_t>(colour);
        quads[4 * i + 1] = static_cast<std::uint8_t>(colour >> 8);
        quads[4 * i + 2] = static_cast<std::uint8_t>(colour >> 16);
        alpha.alpha[i] = static_cast<std::uint8_t>(colour >> 24);
        alpha.present = alpha.present || alpha.alpha[i] != 0xFF;
    }
    ImageFile made;
    made.alpha = alpha;
    const std::size_t width = static_cast<std::size_t>(picture.width);
    for (const std::vector<std::uint8_t>& rows : picture.frames) {
        auto image =
            std::make_unique<IndexedImage>(owner, picture.width, picture.height, quads.data());
        if (!image->valid) return false;
        // Files hold rows top first; memory row 0 is the bottom one.
        for (int y = 0; y < picture.height; ++y) {
            std::copy_n(rows.data() + (picture.height - 1 - y) * width, width, image->row(y));
        }
        made.frames.push_back(std::move(image));
    }
    file = std::move(made);
    return true;
}
