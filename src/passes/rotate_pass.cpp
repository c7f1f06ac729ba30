#include "passes/rotate_pass.h"

#include <cmath>

#include "passes/kernels/output_size.h"
#include "passes/kernels/rotate_rows.h"

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

    const auto columns = static_cast<std::size_t>(outW);
    columnCos_.resize(columns);
    columnSin_.resize(columns);
    sourceX_.resize(columns);
    sourceY_.resize(columns);
    const double cosT = std::cos(settings_.angleRadians);
    const double sinT = std::sin(settings_.angleRadians);
    for (int i = 0; i < outW; ++i) {
        const double dx = i - outW / 2;
        columnCos_[i] = dx * cosT;
        columnSin_[i] = dx * sinT;
    }

    const bool wrap = settings_.wrapAround != 0;
    kernels::RowTerms row{0.0, 0.0, 1.0 / static_cast<double>(scale), w / 2, h / 2};
    const std::uint8_t* source = input.pixels;
    const std::ptrdiff_t stride = input.stride();
    for (int j = 0; j < outH; ++j) {
        const double dy = j - outH / 2;
        row.rowSin = dy * sinT;
        row.rowCos = dy * cosT;
        kernels::rotationSources(columnCos_.data(), columnSin_.data(), row, outW, sourceX_.data(),
                                 sourceY_.data());
        std::uint8_t* target = out->row(j);
        for (int i = 0; i < outW; ++i) {
            int sx = sourceX_[i];
            int sy = sourceY_[i];
            // One unsigned test covers both ends of each axis.
            if (static_cast<unsigned>(sx) >= static_cast<unsigned>(w) ||
                static_cast<unsigned>(sy) >= static_cast<unsigned>(h)) {
                if (!wrap) {
                    target[i] = 0;
                    continue;
                }
                sx = wrapInto(sx, w);
                sy = wrapInto(sy, h);
            }
            target[i] = source[sy * stride + sx];
        }
    }
}
