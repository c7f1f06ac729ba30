#include "passes/rotate_pass.h"

#include <algorithm>
#include <cmath>

#include "base/parallel.h"
#include "passes/kernels/output_size.h"
#include "passes/kernels/rotate_rows.h"
#include "passes/kernels/rows_per_range.h"

namespace {

float scaleFor(int factor) {
    switch (factor) {
        case 2:
            return 0.5f;
        case 4:
            return 0.25f;
        case 6:
            return 1.0f / 6.0f;
        case 8:
            return 0.125f;
        default:
            return 1.0f;
    }
}

int ceilDiv(int value, int divisor) {
    return value / divisor + (value % divisor != 0 ? 1 : 0);
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
    const double cosT = std::cos(settings_.angleRadians);
    const double sinT = std::sin(settings_.angleRadians);
    for (int i = 0; i < outW; ++i) {
        const double dx = i - outW / 2;
        columnCos_[i] = dx * cosT;
        columnSin_[i] = dx * sinT;
    }

    const bool wrap = settings_.wrapAround != 0;
    const kernels::RotationSource source{input.pixels, w, h, input.stride()};
    // Rows in strips of columns: a strip's source pixels lie along short
    // slanted runs that the next rows reuse while they are in the cache; a
    // whole row's run through a large input would be gone by then.
    constexpr int kStrip = 256;
    const auto rows = [&](int first, int last) {
        kernels::RotationRow row{
            columnCos_.data(), columnSin_.data(), 0.0, 0.0, 1.0 / static_cast<double>(scale), outW};
        for (int left = 0; left < outW; left += kStrip) {
            const int right = std::min(left + kStrip, outW);
            kernels::SpanGuess guess;
            for (int j = first; j < last; ++j) {
                const double dy = j - outH / 2;
                row.rowSin = dy * sinT;
                row.rowCos = dy * cosT;
                const kernels::ColumnSpan whole = kernels::insideSpan(row, source, guess);
                const kernels::ColumnSpan inside{std::clamp(whole.first, left, right),
                                                 std::clamp(whole.last, left, right)};
                std::uint8_t* target = out->row(j);
                if (wrap) {
                    kernels::copyWrapped(row, source, {left, inside.first}, target);
                    kernels::copyWrapped(row, source, {inside.last, right}, target);
                } else {
                    std::fill(target + left, target + inside.first, std::uint8_t{0});
                    std::fill(target + inside.last, target + right, std::uint8_t{0});
                }
                kernels::copyInside(row, source, inside, target);
            }
        }
    };
    parallel::forRanges(outH, kernels::rowsPerRange(outW, kernels::kLookingUpBytesPerRange), rows);
}
