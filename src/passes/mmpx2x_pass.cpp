#include "passes/mmpx2x_pass.h"

#include "base/parallel.h"
#include "passes/kernels/output_size.h"
#include "passes/kernels/rows_per_range.h"

void Mmpx2xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width, h = input.height;
    IndexedImage* out = outputFor(owner, input, 2 * w, 2 * h);
    if (!kernels::hasSize(out, 2 * w, 2 * h) || w == 0 || h == 0) return;
    padded_.set(input);
    const mmpx::Luma luma = mmpx::lumaOf(input.palette());
    // Each pixel weighs many neighbours, as a rotation's looks up its source.
    parallel::forRanges(
        h, kernels::rowsPerRange(4 * std::int64_t{w}, kernels::kLookingUpBytesPerRange),
        [&](int first, int last) {
            for (int y = first; y < last; ++y) {
                mmpx::magnifyRow(padded_.row(y), -padded_.stride(), w, luma, out->row(2 * y + 1),
                                 out->row(2 * y));
            }
        });
}
