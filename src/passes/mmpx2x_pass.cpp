#include "passes/mmpx2x_pass.h"

#include "passes/kernels/output_size.h"

void Mmpx2xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width, h = input.height;
    IndexedImage* out = outputFor(owner, input, 2 * w, 2 * h);
    if (!kernels::hasSize(out, 2 * w, 2 * h) || w == 0 || h == 0) return;
    padded_.set(input);
    const mmpx::Luma luma = mmpx::lumaOf(input.palette());
    for (int y = 0; y < h; ++y) {
        mmpx::magnifyRow(padded_.row(y), -padded_.stride(), w, luma, out->row(2 * y + 1),
                         out->row(2 * y));
    }
}
