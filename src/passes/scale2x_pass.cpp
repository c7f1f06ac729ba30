#include "passes/scale2x_pass.h"

#include "base/parallel.h"
#include "passes/kernels/output_size.h"
#include "passes/kernels/rows_per_range.h"
#include "passes/kernels/scale_rows.h"

void Scale2xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width;
    const int h = input.height;
    IndexedImage* out = outputFor(owner, input, 2 * w, 2 * h);
    if (!kernels::hasSize(out, 2 * w, 2 * h)) return;
    parallel::forRanges(
        h, kernels::rowsPerRange(4 * std::int64_t{w}, kernels::kCopyingBytesPerRange),
        [&](int first, int last) { kernels::scale2xRows(input, *out, first, last); });
}
