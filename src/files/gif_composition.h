#pragma once
// The frames of a GIF composed onto its logical screen, each after its
// predecessors as their disposal says. Portable: the WIC reader hands over
// what the file's descriptors and extensions say, all of it untrusted.
#include <array>
#include <cstdint>
#include <vector>

#include "files/indexed_picture.h"

enum class GifDisposal { keep, background, previous };

// One frame as decoded: its own rectangle, which may lie partly off the screen.
struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;        // width x height, rows top first
    std::array<Argb, kMaxColours> palette{};  // its colour table (local or global), alpha ignored
    int paletteCount = 0;
    int transparentIndex = -1;  // -1: none
    GifDisposal disposal = GifDisposal::keep;
};

struct GifScreen {
    int width = 0;
    int height = 0;
    int backgroundIndex = 0;
};

// Composes `frames` onto `screen`, one picture frame per file frame. When every frame has the same
// colour table and transparent index the picture keeps the file's indices and that table, the
// transparent index with alpha 0, and "background" disposal restores the transparent index (else
// the background index). Otherwise frames are composed in colours (background
// and uncovered pixels transparent) and indexed exactly together; over
// kMaxColours colours gives false, with `colours` their number (as
// indexExactly counts). `screen` must be a size IndexedImage allows and each
// frame's `indices` must hold width x height pixels.
bool composeGif(const GifScreen& screen, const std::vector<GifFrame>& frames,
                IndexedPicture& picture, std::int64_t& colours);
