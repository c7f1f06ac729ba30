#include "passes/rotate_pass.h"

#include <cmath>

#include "passes/kernels/output_size.h"

namespace {

float scaleFor(int factor) {
    switch (factor) {
        case 2: return 0.5f;
        case 4: return 0.25f;
        case 6: return 1.0f / 6.0f;
        case 8: return 0.125f;
        default: return 1.0f;
    }
}

int ceilDiv(int value, int divisor) { return value / divisor + (value % divisor != 0 ? 1 : 0); }

// Same result as adding `size` while negative and taking the remainder when
// too large, without a loop that runs long for coordinates far outside.
int wrapInto(int value, int size) {
    const int rest = value % size;
    return rest < 0 ? rest + size : rest;
}

int nearest(double value) { return static_cast<int>(std::round(value)); }

}  // namespace

RotatePass::RotatePass(int factorIn, const PassSettings& settings)
    : scale(scaleFor(factorIn)), factor(factorIn), settings_(settings) {}

void RotatePass::apply(HWND owner, const IndexedImage& input) {
    const int w = input.width;
    const int h = input.height;
    const int divisor = factor > 0 ? factor : 1;
    const int outW = ceilDiv(w, divisor);
    const int outH = ceilDiv(h, divisor);
    IndexedImage* out = outputFor(owner, input, outW, outH);
    if (!kernels::hasSize(out, outW, outH)) return;

    const int cxOut = outW / 2, cyOut = outH / 2, cxIn = w / 2, cyIn = h / 2;
    const double k = 1.0 / static_cast<double>(scale);
    const double cosT = std::cos(settings_.angleRadians);
    const double sinT = std::sin(settings_.angleRadians);
    const bool wrap = settings_.wrapAround != 0;
    for (int j = 0; j < outH; ++j) {
        std::uint8_t* target = out->row(j);
        const double dy = j - cyOut;
        for (int i = 0; i < outW; ++i) {
            const double dx = i - cxOut;
            int sx = nearest(k * (dx * cosT - dy * sinT)) + cxIn;
            int sy = nearest(k * (dx * sinT + dy * cosT)) + cyIn;
            const bool inside = sx >= 0 && sx < w && sy >= 0 && sy < h;
            if (!inside && !wrap) {
                target[i] = 0;
                continue;
            }
            if (!inside) {
                sx = wrapInto(sx, w);
                sy = wrapInto(sy, h);
            }
            target[i] = input.row(sy)[sx];
        }
    }
}
