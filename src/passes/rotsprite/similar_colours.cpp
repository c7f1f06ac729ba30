#include "passes/rotsprite/similar_colours.h"

#include <algorithm>

namespace rotsprite {

void SimilarColours::prepare(const std::uint8_t* palette, int threshold) {
    const bool same = !distances_.empty() && threshold == threshold_ &&
                      std::equal(palette_.begin(), palette_.end(), palette);
    if (same) return;
    std::copy(palette, palette + kPaletteBytes, palette_.begin());
    threshold_ = threshold;
    distances_.resize(kPaletteEntries * kPaletteEntries);
    alike_.resize(kPaletteEntries * kPaletteEntries);
    for (int a = 0; a < kPaletteEntries; ++a) {
        for (int b = 0; b < kPaletteEntries; ++b) {
            std::uint32_t sum = 0;
            for (int channel = 0; channel < 3; ++channel) {
                const int delta = palette[4 * a + channel] - palette[4 * b + channel];
                sum += static_cast<std::uint32_t>(delta * delta);
            }
            const auto at = static_cast<std::size_t>(a << 8 | b);
            distances_[at] = sum;
            alike_[at] = a == b || static_cast<std::int64_t>(sum) <= threshold;
        }
    }
}

}  // namespace rotsprite
