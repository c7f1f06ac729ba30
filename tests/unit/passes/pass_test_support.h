#pragma once
// Helpers for the pass tests: images from short strings, random images, a
// run-twice check, and plain references of every pass rule.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "image/indexed_image.h"
#include "passes/pass.h"
#include "passes/rotsprite/renderer.h"

namespace passtest {

// Pixels in memory-row order, width bytes per row, no padding.
using Pixels = std::vector<std::uint8_t>;

// An image from its screen rows, top first, separated by '/': "12/21". Digits
// and lower-case letters are indices 0 to 35; 'Z' is 255, 'Y' 254 and so on
// down, the indices an outside marker narrowed to a byte would equal.
std::unique_ptr<IndexedImage> imageOf(const std::string& rows);
Pixels pixelsOf(const std::string& rows);
Pixels pixelsOf(const IndexedImage& image);

std::unique_ptr<IndexedImage> blankImage(int width, int height);
// An image whose pixel (x, memory row y) is value(x, y).
template <typename Value>
std::unique_ptr<IndexedImage> imageWith(int width, int height, Value value) {
    auto image = blankImage(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image->row(y)[x] = static_cast<std::uint8_t>(value(x, y));
    }
    return image;
}
// The image with palette entry i set to grey(i) (blue, green and red alike).
std::unique_ptr<IndexedImage> withGreys(std::unique_ptr<IndexedImage> image, int (*grey)(int));
// Random pixels drawn from `colours`.
std::unique_ptr<IndexedImage> randomImage(int width, int height, const std::vector<int>& colours,
                                          unsigned seed);
// Pixels that tell sources apart: label(x, y) = x % 10 + 10 * (y % 25) + 1.
std::uint8_t label(int x, int y);
std::unique_ptr<IndexedImage> labelled(int width, int height);

// Settings with the radians the chain computes from the degrees.
PassSettings settingsFor(double degrees, bool wrap);
// `in` turned by `renderer` (kept by the caller across calls, as at angle ticks).
Pixels turned(rotsprite::Renderer& renderer, const IndexedImage& in, double degrees, bool wrap);
// A named change to a renderer's input: it edits the image or replaces it.
struct InputChange {
    const char* name;
    std::function<void(std::unique_ptr<IndexedImage>&)> apply;
};
// Turns `image` at 30 degrees with one renderer kept across `changes`: after
// each, the kept renderer gives a fresh one's pixels, which the change must
// alter (else a stale state could go unseen).
void expectHeldStateMadeAnew(const rotsprite::Options& options, std::unique_ptr<IndexedImage> image,
                             const std::vector<InputChange>& changes);

// Runs `pass` on `input`, then again with every output byte and the input's
// padding set to garbage, and returns the first result. Checks through gtest
// that the rerun reuses the output, writes every pixel alike whatever the input
// padding holds, and leaves the output padding at `paddingAfter` (the garbage,
// unless the pass clears whole rows).
constexpr std::uint8_t kGarbage = 0x5A;
Pixels applyChecked(Pass& pass, IndexedImage& input, std::uint8_t paddingAfter = kGarbage);

// For its life, work is split into `ranges` ranges however small (1: all on
// one thread), so a test can hold a split result to the one-thread result.
class SplitWork {
  public:
    explicit SplitWork(int ranges);
    ~SplitWork();
    SplitWork(const SplitWork&) = delete;
    SplitWork& operator=(const SplitWork&) = delete;
};

// The rules pixel by pixel, straight from their definitions.
Pixels zoomReference(const IndexedImage& in, int factor);
Pixels canvas2xReference(const IndexedImage& in);
Pixels space2xReference(const IndexedImage& in);
Pixels scale2xReference(const IndexedImage& in);
Pixels scale3xReference(const IndexedImage& in);
Pixels rotateReference(const IndexedImage& in, int factor, double radians, bool wrap);
// MMPX letter by letter, in the order its rules are published; brightness is
// each palette entry's 299 R + 587 G + 114 B.
Pixels mmpx2xReference(const IndexedImage& in);
// The reference of pass kind 0 to 10 or 12 (MMPX2x) with these settings.
Pixels referenceFor(int kind, const IndexedImage& in, const PassSettings& settings);

// Rounding from its definition: the integer part, plus one when the dropped
// fraction (exact below 2^52) is at least a half. Not std::round: MinGW's
// gives 1 for the double just below a half.
std::int64_t halfAwayFromZero(double value);

}  // namespace passtest
