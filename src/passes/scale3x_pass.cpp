#include "passes/scale3x_pass.h"

#include "passes/kernels/border.h"
#include "passes/kernels/output_size.h"
#include "passes/kernels/scale_rows.h"
#include "passes/kernels/scale_rules.h"

void Scale3xPass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width;
    const int h = input.height;
    IndexedImage* out = outputFor(owner, input, 3 * w, 3 * h);
    if (!kernels::hasSize(out, 3 * w, 3 * h)) return;

    for (int r = 1; r < h - 1; ++r) {
        kernels::scale3xInteriorRow(input.row(r + 1), input.row(r), input.row(r - 1),
                                    out->row(3 * r + 2), out->row(3 * r + 1), out->row(3 * r), w);
    }
    kernels::forEachBorderPixel(w, h, [&](int r, int x) {
        const kernels::Neighbourhood n = kernels::neighbourhoodWithMarkers(input, r, x);
        kernels::writeScale3xBlock(n.a, n.b, n.c, n.d, n.e, n.f, n.g, n.h, n.i,
                                   out->row(3 * r + 2) + 3 * x, out->row(3 * r + 1) + 3 * x,
                                   out->row(3 * r) + 3 * x);
    });
}
