#include "passes/replication_passes.h"

#include <cstring>

#include "passes/kernels/output_size.h"
#include "passes/kernels/replicate_rows.h"

using kernels::hasSize;

namespace {

std::size_t bytes(int count) {
    return static_cast<std::size_t>(count);
}

}  // namespace

void Zoom2xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width;
    const int h = input.height;
    IndexedImage* out = outputFor(owner, input, 2 * w, 2 * h);
    if (!hasSize(out, 2 * w, 2 * h)) return;
    for (int y = 0; y < h; ++y) {
        kernels::doubleRow(input.row(y), out->row(2 * y), w);
        std::memcpy(out->row(2 * y + 1), out->row(2 * y), bytes(2 * w));
    }
}

void Zoom3xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width;
    const int h = input.height;
    IndexedImage* out = outputFor(owner, input, 3 * w, 3 * h);
    if (!hasSize(out, 3 * w, 3 * h)) return;
    for (int y = 0; y < h; ++y) {
        kernels::tripleRow(input.row(y), out->row(3 * y), w);
        std::memcpy(out->row(3 * y + 1), out->row(3 * y), bytes(3 * w));
        std::memcpy(out->row(3 * y + 2), out->row(3 * y), bytes(3 * w));
    }
}

void Canvas2xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width;
    const int h = input.height;
    IndexedImage* out = outputFor(owner, input, 2 * w, 2 * h);
    if (!hasSize(out, 2 * w, 2 * h)) return;
    // One fill of the whole pixel memory, padding included, so no margin of an
    // earlier run survives.
    std::memset(out->pixels, 0, static_cast<std::size_t>(out->stride()) * bytes(out->height));
    const int dx = w / 2;
    const int dy = h / 2;
    for (int y = 0; y < h; ++y) std::memcpy(out->row(y + dy) + dx, input.row(y), bytes(w));
}

void Space2xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width;
    const int h = input.height;
    IndexedImage* out = outputFor(owner, input, 2 * w, 2 * h);
    if (!hasSize(out, 2 * w, 2 * h)) return;
    for (int y = 0; y < h; ++y) {
        std::memset(out->row(2 * y), 0, bytes(2 * w));
        kernels::spreadRow(input.row(y), out->row(2 * y + 1), w);
    }
}
