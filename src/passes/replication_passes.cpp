#include "passes/replication_passes.h"

#include <algorithm>
#include <cstring>

#include "base/parallel.h"
#include "passes/kernels/output_size.h"
#include "passes/kernels/replicate_rows.h"
#include "passes/kernels/rows_per_range.h"

using kernels::hasSize;

namespace {

std::size_t bytes(int count) {
    return static_cast<std::size_t>(count);
}

// Input rows split over the threads, each making `factor` output rows of
// `factor` * w bytes.
template <typename Rows>
void splitRows(const IndexedImage& input, int factor, Rows rows) {
    const std::int64_t rowBytes = std::int64_t{factor} * factor * input.width;
    parallel::forRanges(input.height,
                        kernels::rowsPerRange(rowBytes, kernels::kCopyingBytesPerRange), rows);
}

}  // namespace

void Zoom2xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width;
    const int h = input.height;
    IndexedImage* out = outputFor(owner, input, 2 * w, 2 * h);
    if (!hasSize(out, 2 * w, 2 * h)) return;
    splitRows(input, 2,
              [&](int first, int last) { kernels::zoom2xRows(input, *out, first, last); });
}

void Zoom3xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width;
    const int h = input.height;
    IndexedImage* out = outputFor(owner, input, 3 * w, 3 * h);
    if (!hasSize(out, 3 * w, 3 * h)) return;
    splitRows(input, 3,
              [&](int first, int last) { kernels::zoom3xRows(input, *out, first, last); });
}

void Canvas2xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width;
    const int h = input.height;
    IndexedImage* out = outputFor(owner, input, 2 * w, 2 * h);
    if (!hasSize(out, 2 * w, 2 * h)) return;
    const int dx = w / 2;
    const int dy = h / 2;
    // Output rows cleared whole, padding included, so no margin of an earlier
    // run survives; those that hold an input row get it.
    const std::int64_t stride = out->stride();
    parallel::forRanges(out->height, kernels::rowsPerRange(stride, kernels::kCopyingBytesPerRange),
                        [&](int first, int last) {
                            std::memset(out->row(first), 0,
                                        bytes(last - first) * bytes(out->stride()));
                            for (int y = std::max(first - dy, 0); y < std::min(last - dy, h); ++y) {
                                std::memcpy(out->row(y + dy) + dx, input.row(y), bytes(w));
                            }
                        });
}

void Space2xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width;
    const int h = input.height;
    IndexedImage* out = outputFor(owner, input, 2 * w, 2 * h);
    if (!hasSize(out, 2 * w, 2 * h)) return;
    splitRows(input, 2,
              [&](int first, int last) { kernels::space2xRows(input, *out, first, last); });
}
