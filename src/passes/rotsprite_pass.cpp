#include "passes/rotsprite_pass.h"

#include "passes/kernels/output_size.h"

void RotSpritePass::apply(HWND owner, const IndexedImage& input) {
    IndexedImage* out = outputFor(owner, input, input.width, input.height);
    if (!kernels::hasSize(out, input.width, input.height)) return;
    renderer_.render(input, settings_, *out);
}
