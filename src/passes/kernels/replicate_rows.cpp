#include "passes/kernels/replicate_rows.h"

namespace kernels {

void doubleRow(const std::uint8_t* in, std::uint8_t* out, int width) {
    for (int x = 0; x < width; ++x) out[2 * x] = out[2 * x + 1] = in[x];
}

void tripleRow(const std::uint8_t* in, std::uint8_t* out, int width) {
    for (int x = 0; x < width; ++x) out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = in[x];
}

void spreadRow(const std::uint8_t* in, std::uint8_t* out, int width) {
    for (int x = 0; x < width; ++x) {
        out[2 * x] = in[x];
        out[2 * x + 1] = 0;
    }
}

}  // namespace kernels
