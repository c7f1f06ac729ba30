#include "passes/rotsprite/enlargement.h"

#include <algorithm>
#include <cstring>

namespace rotsprite {

namespace {

// Scale2x's rule with "similar" for "equal". A corner takes a neighbour's
// index only when that differs from the centre's by more than similarity, so
// an enlargement of one colour's near shades keeps the indices it had.
void writeBlock(int b, int d, int e, int f, int h, std::uint8_t* upper, std::uint8_t* lower,
                const SimilarColours& similar) {
    const auto index = static_cast<std::uint8_t>(e);
    upper[0] = upper[1] = lower[0] = lower[1] = index;
    // Equal markers (both outside) also mean no corner can change.
    if (b == h || d == f || similar.similar(b, h) || similar.similar(d, f)) return;
    const auto corner = [&](int side, int other, std::uint8_t& target) {
        if (similar.similar(side, other) && !similar.similar(side, e)) {
            target = static_cast<std::uint8_t>(side);
        }
    };
    corner(d, b, upper[0]);
    corner(f, b, upper[1]);
    corner(d, h, lower[0]);
    corner(f, h, lower[1]);
}

void resize(RowBand& band, int width, int height, int first, int last) {
    band.width = width;
    band.height = height;
    band.first = first;
    band.count = last - first;
    const std::size_t bytes =
        static_cast<std::size_t>(band.count) * static_cast<std::size_t>(width);
    // Exactly the size asked for (a growing vector would double), and the old
    // block freed first: the band is the pass's largest allocation.
    if (band.pixels.capacity() < bytes) {
        std::vector<std::uint8_t>().swap(band.pixels);
        band.pixels.reserve(bytes);
    }
    band.pixels.resize(bytes);
}

}  // namespace

void Enlargement::scaleRow(const std::uint8_t* above, const std::uint8_t* here,
                           const std::uint8_t* below, int width, std::uint8_t* upper,
                           std::uint8_t* lower, const SimilarColours& similar) {
    for (int x = 0; x < width; ++x) {
        const int b = above != nullptr ? above[x] : kOutside;
        const int h = below != nullptr ? below[x] : kOutside;
        const int d = x > 0 ? here[x - 1] : kOutside;
        const int f = x + 1 < width ? here[x + 1] : kOutside;
        writeBlock(b, d, here[x], f, h, upper + 2 * x, lower + 2 * x, similar);
    }
}

void Enlargement::setInput(const IndexedImage& input) {
    RowBand& base = levels_[0];
    const auto rowBytes = static_cast<std::size_t>(input.width);
    bool same = base.width == input.width && base.height == input.height &&
                std::equal(palette_.begin(), palette_.end(), input.palette());
    for (int y = 0; same && y < input.height; ++y) {
        same = std::memcmp(base.row(y), input.row(y), rowBytes) == 0;
    }
    if (same) return;
    std::copy_n(input.palette(), kPaletteBytes, palette_.begin());
    resize(base, input.width, input.height, 0, input.height);
    for (int y = 0; y < input.height; ++y) std::memcpy(base.row(y), input.row(y), rowBytes);
    levels_[kLevels].count = 0;
}

const RowBand& Enlargement::rows(const SimilarColours& similar, int first, int last) {
    RowBand& top = levels_[kLevels];
    if (top.count > 0 && top.holds(first, last)) return top;

    // From the top level down: the source rows whose blocks cover the rows
    // wanted, then those rows and their neighbours at the level below.
    std::array<int, kLevels + 1> from{}, to{};
    from[kLevels] = first;
    to[kLevels] = last;
    for (int level = kLevels; level > 1; --level) {
        const int height = levels_[0].height << (level - 1);
        from[level - 1] = std::max(from[level] / 2 - 1, 0);
        to[level - 1] = std::min((to[level] - 1) / 2 + 2, height);
    }
    for (int level = 1; level <= kLevels; ++level) {
        const RowBand& source = levels_[level - 1];
        const int sourceFirst = from[level] / 2;
        const int sourceLast = (to[level] - 1) / 2 + 1;
        RowBand& target = levels_[level];
        resize(target, 2 * source.width, 2 * source.height, 2 * sourceFirst, 2 * sourceLast);
        for (int r = sourceFirst; r < sourceLast; ++r) {
            const std::uint8_t* above = r + 1 < source.height ? source.row(r + 1) : nullptr;
            const std::uint8_t* below = r > 0 ? source.row(r - 1) : nullptr;
            scaleRow(above, source.row(r), below, source.width, target.row(2 * r + 1),
                     target.row(2 * r), similar);
        }
    }
    return top;
}

}  // namespace rotsprite
