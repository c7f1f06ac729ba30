#include "passes/scale3x_pass.h"

#include "base/parallel.h"
#include "passes/kernels/output_size.h"
#include "passes/kernels/rows_per_range.h"
#include "passes/kernels/scale_rows.h"

void Scale3xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width;
    const int h = input.height;
    IndexedImage* out = outputFor(owner, input, 3 * w, 3 * h);
    if (!kernels::hasSize(out, 3 * w, 3 * h)) return;
    parallel::forRanges(
        h, kernels::rowsPerRange(9 * std::int64_t{w}, kernels::kCopyingBytesPerRange),
        [&](int first, int last) { kernels::scale3xRows(input, *out, first, last); });
}
