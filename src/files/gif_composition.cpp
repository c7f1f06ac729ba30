#include "files/gif_composition.h"

#include <algorithm>

namespace {

constexpr Argb kColourBits = 0x00FFFFFFu;

// The part of a frame's rectangle on the screen, in screen coordinates.
struct Clip {
    int left, top, right, bottom;
};
Clip clipOf(const GifScreen& screen, const GifFrame& frame) {
    return {std::clamp(frame.left, 0, screen.width), std::clamp(frame.top, 0, screen.height),
            std::clamp(frame.left + frame.width, 0, screen.width),
            std::clamp(frame.top + frame.height, 0, screen.height)};
}

bool sameTables(const std::vector<GifFrame>& frames) {
    const GifFrame& first = frames.front();
    for (const GifFrame& frame : frames) {
        if (frame.transparentIndex != first.transparentIndex ||
            frame.paletteCount != first.paletteCount) {
            return false;
        }
        for (int i = 0; i < first.paletteCount; ++i) {
            if (((frame.palette[i] ^ first.palette[i]) & kColourBits) != 0) return false;
        }
    }
    return true;
}

// Draws every frame onto `canvas` (screen width x height, rows top first) and
// hands each composed state to `taken`. `isTransparent(frame, index)` says
// which frame pixels show what lies below; `colourOf` gives what is drawn;
// `cleared` is what "background" disposal leaves.
template <class Pixel, class ColourOf, class Taken>
void compose(const GifScreen& screen, const std::vector<GifFrame>& frames, Pixel cleared,
             ColourOf colourOf, Taken taken) {
    const std::size_t stride = static_cast<std::size_t>(screen.width);
    std::vector<Pixel> canvas(stride * screen.height, cleared);
    std::vector<Pixel> saved;
    for (const GifFrame& frame : frames) {
        const Clip clip = clipOf(screen, frame);
        if (frame.disposal == GifDisposal::previous) saved = canvas;
        for (int y = clip.top; y < clip.bottom; ++y) {
            const std::uint8_t* source =
                frame.indices.data() + static_cast<std::size_t>(y - frame.top) * frame.width;
            for (int x = clip.left; x < clip.right; ++x) {
                const int index = source[x - frame.left];
                if (index != frame.transparentIndex)
                    canvas[y * stride + x] = colourOf(frame, index);
            }
        }
        taken(canvas);
        if (frame.disposal == GifDisposal::previous) {
            canvas.swap(saved);
        } else if (frame.disposal == GifDisposal::background) {
            for (int y = clip.top; y < clip.bottom; ++y) {
                std::fill_n(canvas.begin() + y * stride + clip.left, clip.right - clip.left,
                            cleared);
            }
        }
    }
}

}  // namespace

bool composeGif(const GifScreen& screen, const std::vector<GifFrame>& frames,
                IndexedPicture& picture, std::int64_t& colours) {
    picture = {};
    picture.width = screen.width;
    picture.height = screen.height;
    if (frames.empty()) return true;
    if (sameTables(frames)) {
        const GifFrame& first = frames.front();
        for (int i = 0; i < first.paletteCount; ++i) {
            picture.palette[i] = first.palette[i] | 0xFF000000u;
        }
        const int transparent = first.transparentIndex;
        if (transparent >= 0) picture.palette[transparent] &= kColourBits;
        const auto cleared = static_cast<std::uint8_t>(
            transparent >= 0 ? transparent : std::clamp(screen.backgroundIndex, 0, 255));
        compose(
            screen, frames, cleared,
            [](const GifFrame&, int index) { return static_cast<std::uint8_t>(index); },
            [&](const std::vector<std::uint8_t>& canvas) { picture.frames.push_back(canvas); });
        colours = first.paletteCount;
        return true;
    }
    // Tables differ: the same index may be another colour in the next frame.
    std::vector<std::vector<Argb>> composed;
    compose(
        screen, frames, Argb{0},
        [](const GifFrame& frame, int index) { return frame.palette[index] | 0xFF000000u; },
        [&](const std::vector<Argb>& canvas) { composed.push_back(canvas); });
    std::vector<TruecolourView> views;
    for (const std::vector<Argb>& canvas : composed) {
        views.push_back({canvas.data(), screen.width, screen.height});
    }
    ExactPalette palette;
    if (!indexExactly(views, palette, picture.frames, colours)) {
        picture.frames.clear();
        return false;
    }
    std::copy_n(palette.colours.begin(), palette.count, picture.palette.begin());
    return true;
}
