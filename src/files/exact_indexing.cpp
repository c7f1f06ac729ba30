#include "files/exact_indexing.h"

#include <unordered_set>

namespace {

// Every fully transparent pixel counts as this one colour; no other colour has
// alpha 0, so it cannot collide.
constexpr Argb kTransparentKey = 0;

Argb keyOf(Argb pixel) {
    return (pixel >> 24) == 0 ? kTransparentKey : pixel;
}

// Colour -> index for at most kMaxColours colours: open addressing, at most
// half full.
class ColourTable {
  public:
    // The colour's index, or -1.
    int find(Argb key) const {
        for (std::size_t slot = start(key);; slot = (slot + 1) % kSlots) {
            if (index_[slot] < 0 || keys_[slot] == key) return index_[slot];
        }
    }
    void add(Argb key, int index) {
        std::size_t slot = start(key);
        while (index_[slot] >= 0) slot = (slot + 1) % kSlots;
        keys_[slot] = key;
        index_[slot] = static_cast<std::int16_t>(index);
    }

  private:
    static constexpr std::size_t kSlots = 2 * kMaxColours;
    static std::size_t start(Argb key) { return (key * 0x9E3779B1u) >> 23; }  // 9 bits

    std::array<Argb, kSlots> keys_{};
    std::array<std::int16_t, kSlots> index_ = filled();
    static std::array<std::int16_t, kSlots> filled() {
        std::array<std::int16_t, kSlots> empty;
        empty.fill(-1);
        return empty;
    }
};

// Whether any pixel is fully transparent; if so `first` is the first one.
bool firstTransparent(std::span<const TruecolourView> pictures, Argb& first) {
    for (const TruecolourView& picture : pictures) {
        const std::size_t count = static_cast<std::size_t>(picture.width) * picture.height;
        for (std::size_t i = 0; i < count; ++i) {
            if ((picture.pixels[i] >> 24) == 0) {
                first = picture.pixels[i];
                return true;
            }
        }
    }
    return false;
}

// The number of colours of pictures known to hold more than kMaxColours,
// counting on from the pixel at (`picture`, `pixel`) with `known` colours seen.
std::int64_t countColours(std::span<const TruecolourView> pictures, std::size_t picture,
                          std::size_t pixel, const ExactPalette& known) {
    std::unordered_set<Argb> seen;
    for (int i = 0; i < known.count; ++i) seen.insert(keyOf(known.colours[i]));
    for (; picture < pictures.size(); ++picture, pixel = 0) {
        const TruecolourView& view = pictures[picture];
        const std::size_t count = static_cast<std::size_t>(view.width) * view.height;
        for (; pixel < count; ++pixel) {
            seen.insert(keyOf(view.pixels[pixel]));
            if (static_cast<std::int64_t>(seen.size()) >= kColourCountCap) return kColourCountCap;
        }
    }
    return static_cast<std::int64_t>(seen.size());
}

}  // namespace

bool indexExactly(std::span<const TruecolourView> pictures, ExactPalette& palette,
                  std::vector<std::vector<std::uint8_t>>& indices, std::int64_t& colours) {
    palette = {};
    indices.assign(pictures.size(), {});
    ColourTable table;
    Argb transparent = 0;
    if (firstTransparent(pictures, transparent)) {
        palette.colours[0] = transparent & 0x00FFFFFFu;
        palette.count = 1;
        table.add(kTransparentKey, 0);
    }
    for (std::size_t p = 0; p < pictures.size(); ++p) {
        const TruecolourView& view = pictures[p];
        const std::size_t count = static_cast<std::size_t>(view.width) * view.height;
        std::vector<std::uint8_t>& out = indices[p];
        out.resize(count);
        // Pixel art comes in runs: the last colour's index is the likeliest.
        Argb lastKey = 0;
        int lastIndex = -1;
        for (std::size_t i = 0; i < count; ++i) {
            const Argb key = keyOf(view.pixels[i]);
            if (key != lastKey || lastIndex < 0) {
                lastKey = key;
                lastIndex = table.find(key);
                if (lastIndex < 0) {
                    if (palette.count == kMaxColours) {
                        colours = countColours(pictures, p, i, palette);
                        return false;
                    }
                    lastIndex = palette.count++;
                    palette.colours[lastIndex] = view.pixels[i];
                    table.add(key, lastIndex);
                }
            }
            out[i] = static_cast<std::uint8_t>(lastIndex);
        }
    }
    colours = palette.count;
    return true;
}
