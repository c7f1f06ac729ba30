#pragma once
// RotSprite, after its author's description: enlarge 8x with a Scale2x that
// treats similar colours as equal, pick the sub-pixel offset whose samples
// fall least on boundaries between enlarged pixels, sample the rotation at
// the centres of the output pixels (shrinking back 8x in the same step), then
// put back single-pixel details the sampling missed. Every output pixel is an
// input index, or 0 outside the input; quarter turns are exact.
#include <cstddef>

#include "passes/pass.h"
#include "passes/rotsprite/enlargement.h"
#include "passes/rotsprite/sample_grid.h"
#include "passes/rotsprite/similar_colours.h"

namespace rotsprite {

// The 8x rows held at once, in bytes (plus a few rows of margin). Up to this
// the whole 8x picture is one band, made once and kept while the input stays
// the same, so an angle tick only samples it again.
inline constexpr std::size_t kBandBytes = std::size_t{16} << 20;

// The pass uses the defaults; tests and the quality tool vary them.
struct Options {
    int similarDistance = kSimilarDistance;  // see SimilarColours::prepare
    bool searchOffset = true;
    bool restoreDetails = true;
    std::size_t bandBytes = kBandBytes;
};

class Renderer {
  public:
    explicit Renderer(Options options = {}) : options_(options) {}

    // Writes every pixel of `output` (the input's size, at least 1 x 1) from
    // `input` turned by the settings' angle about its exact centre, with their
    // wrap-around.
    void render(const IndexedImage& input, const PassSettings& settings, IndexedImage& output);

  private:
    // Rows [first, last) of the 8x picture, one band each.
    struct Band {
        int first;
        int last;
    };

    int bandCount(const IndexedImage& input) const;
    Band band(const IndexedImage& input, int index) const;
    Point bestMove(const IndexedImage& input);
    void sample(const IndexedImage& input, Point move, bool wrap, IndexedImage& output);
    void restoreDetails(const IndexedImage& input, bool wrap, IndexedImage& output);

    Options options_;
    SimilarColours similar_;
    Enlargement enlargement_;
    SampleGrid grid_;
};

}  // namespace rotsprite
