// libFuzzer target: any bytes are read as truecolour pictures (byte 0: the
// width, byte 1: where the second picture starts, then four bytes a pixel).
// Indexing them must keep every colour, give clear pixels index 0 and the
// rest indices in order of first appearance, and refuse exactly when there
// are more than 256 colours, counting them as a set does.
#include <cstdlib>
#include <cstring>
#include <set>

#include "files/exact_indexing.h"

namespace {

Argb keyOf(Argb pixel) {
    return pixel >> 24 == 0 ? 0 : pixel;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int width = 1 + data[0] % 16;
    std::vector<Argb> pixels((size - 2) / 4);
    if (!pixels.empty()) std::memcpy(pixels.data(), data + 2, pixels.size() * 4);
    const std::size_t rows = pixels.size() / width;
    const std::size_t firstRows = rows == 0 ? 0 : data[1] % (rows + 1);
    const TruecolourView views[2] = {
        {pixels.data(), width, static_cast<int>(firstRows)},
        {pixels.data() + firstRows * width, width, static_cast<int>(rows - firstRows)}};
    const std::size_t count = rows * width;

    ExactPalette palette;
    std::vector<std::vector<std::uint8_t>> indices;
    std::int64_t colours = 0;
    const bool ok = indexExactly(views, palette, indices, colours);

    std::set<Argb> distinct;
    bool anyClear = false;
    for (std::size_t i = 0; i < count; ++i) {
        distinct.insert(keyOf(pixels[i]));
        anyClear = anyClear || pixels[i] >> 24 == 0;
    }
    if (colours != static_cast<std::int64_t>(distinct.size())) std::abort();
    if (ok != (distinct.size() <= kMaxColours)) std::abort();
    if (!ok) return 0;
    if (palette.count != static_cast<int>(distinct.size())) std::abort();
    int next = anyClear ? 1 : 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t index =
            i < firstRows * width ? indices[0][i] : indices[1][i - firstRows * width];
        if (keyOf(palette.colours[index]) != keyOf(pixels[i])) std::abort();
        if (pixels[i] >> 24 == 0) {
            if (index != 0) std::abort();
        } else if (index == next) {
            ++next;  // a colour seen for the first time takes the next index
        } else if (index > next) {
            std::abort();
        }
    }
    return 0;
}
