#pragma once
// RotSprite, after its author's description: enlarge 8x with a Scale2x that
// treats similar colours as equal, pick the sub-pixel offset whose samples
// fall least on boundaries between enlarged pixels, sample the rotation at
// the centres of the output pixels (shrinking back 8x in the same step), then
// put back single-pixel details the sampling missed. Where the picture's
// shapes have a one-colour outline, it is drawn again around the turned shape
// (outline.h), so it stays unbroken. Every output pixel is an input index, or
// 0 outside the input; quarter turns are exact.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "passes/pass.h"
#include "passes/rotsprite/boundary_votes.h"
#include "passes/rotsprite/enlargement.h"
#include "passes/rotsprite/sample_grid.h"
#include "passes/rotsprite/similar_colours.h"

namespace rotsprite {

// The enlargement held at once, in bytes (plus a few rows of margin): 32
// bytes an input pixel. Up to this (an input of about 1100 x 1100) it is one
// band, made once and kept while the input stays the same, so an angle tick
// only searches and samples; with the input, the output and the rest the pass
// then holds at most 48 MiB.
inline constexpr std::size_t kBandBytes = std::size_t{40} << 20;

// The pass uses the defaults; tests and the quality tool vary them.
struct Options {
    int similarDistance = kSimilarDistance;  // see SimilarColours::prepare
    bool searchOffset = true;
    bool restoreDetails = true;
    std::size_t bandBytes = kBandBytes;
    // Where the input's shapes have a one-colour outline, the shape and the
    // colours turned apart and the outline drawn again (outline.h), the
    // shape's enlargement doubled first by MMPX's rules of shape when
    // `mmpxShape` (else as the colours').
    bool redrawOutlines = true;
    bool mmpxShape = true;
    // This renderer's own enlargement doubled first by MMPX's rules of shape
    // (Enlargement): the outlined turn's shape.
    bool mmpxFirstDoubling = false;
    // Where the enlargement's cells do not fit `bandBytes` whole, it is held
    // as its 2x picture's (DoubledView), whole, rather than made in bands: a
    // quarter of the memory, a little slower to read, and nothing made again
    // at an angle tick. Without the offset search only.
    bool holdDoubled = false;
};

class Renderer {
  public:
    explicit Renderer(Options options = {});
    ~Renderer();

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

    // A range's room for one output row: its samples' 8x columns and rows
    // with the moves -1, 0, +1 half, and a list of its pixels.
    struct RowScratch {
        std::array<std::vector<std::int32_t>, 3> columns, rows;
        std::vector<int> pixels;
    };

    void prepareScratch(int ranges, int width);
    int bandCount(const IndexedImage& input) const;
    Band band(const IndexedImage& input, int index) const;
    Point bestMove(const IndexedImage& input);
    void searchRows(const CellBand& band, Band own, int first, int last, Votes& votes,
                    RowScratch& scratch) const;
    void sample(const IndexedImage& input, Point move, bool wrap, IndexedImage& output);
    template <typename View>
    void sampleRows(const IndexedImage& input, const View& cells, Band own, bool firstBand,
                    Point move, bool wrap, int first, int last, IndexedImage& output,
                    RowScratch& scratch);
    void restoreDetails(const IndexedImage& input, bool wrap, IndexedImage& output);
    // The outlined picture's turn; false, writing nothing, when the input has
    // no outline.
    bool renderOutlined(const IndexedImage& input, const PassSettings& settings,
                        IndexedImage& output);

    Options options_;
    SimilarColours similar_;
    Enlargement enlargement_;
    SampleGrid grid_;
    std::vector<Votes> votes_;           // one per range of rows searched at once
    std::vector<RowScratch> scratch_;    // one per range of rows
    std::vector<std::uint8_t> details_;  // per output pixel: 1 where a detail may come back

    // The outlined turn: its input's pixels and palette, the outline found
    // there, the input without it, where the outline is closed, a renderer
    // each for the shape (of the input) and the colours (of the input without
    // its outline), sharing the band budget, and the turned shape. Made when
    // the input changes. Then the pixels where the outline may be drawn.
    std::vector<std::uint8_t> outlinedInput_;
    int outline_ = -1;
    std::unique_ptr<IndexedImage> bare_, shape_;
    std::vector<std::uint8_t> closed_;
    std::unique_ptr<Renderer> shapeRenderer_, colourRenderer_;
    std::vector<std::int32_t> boundary_;
};

}  // namespace rotsprite
