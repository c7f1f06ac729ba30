#include "passes/kernels/scale_rows.h"

#include "passes/kernels/scale_rules.h"

namespace kernels {

void scale2xInteriorRow(const std::uint8_t* above, const std::uint8_t* here,
                        const std::uint8_t* below, std::uint8_t* upper, std::uint8_t* lower,
                        int width) {
    for (int x = 1; x < width - 1; ++x) {
        writeScale2xBlock(above[x], here[x - 1], here[x], here[x + 1], below[x], upper + 2 * x,
                          lower + 2 * x);
    }
}

void scale3xInteriorRow(const std::uint8_t* above, const std::uint8_t* here,
                        const std::uint8_t* below, std::uint8_t* top, std::uint8_t* middle,
                        std::uint8_t* bottom, int width) {
    for (int x = 1; x < width - 1; ++x) {
        writeScale3xBlock(above[x - 1], above[x], above[x + 1], here[x - 1], here[x], here[x + 1],
                          below[x - 1], below[x], below[x + 1], top + 3 * x, middle + 3 * x,
                          bottom + 3 * x);
    }
}

}  // namespace kernels
