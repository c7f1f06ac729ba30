#include "passes/scale2x_pass.h"

#include "passes/kernels/border.h"
#include "passes/kernels/output_size.h"
#include "passes/kernels/scale_rows.h"
#include "passes/kernels/scale_rules.h"

void Scale2xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width;
    const int h = input.height;
    IndexedImage* out = outputFor(owner, input, 2 * w, 2 * h);
    if (!kernels::hasSize(out, 2 * w, 2 * h)) return;

    for (int r = 1; r < h - 1; ++r) {
        kernels::scale2xInteriorRow(input.row(r + 1), input.row(r), input.row(r - 1),
                                    out->row(2 * r + 1), out->row(2 * r), w);
    }
    kernels::forEachBorderPixel(w, h, [&](int r, int x) {
        const kernels::Neighbourhood n = kernels::neighbourhoodWithMarkers(input, r, x);
        kernels::writeScale2xBlock(n.b, n.d, n.e, n.f, n.h, out->row(2 * r + 1) + 2 * x,
                                   out->row(2 * r) + 2 * x);
    });
}
