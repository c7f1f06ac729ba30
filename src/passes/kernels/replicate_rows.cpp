#include "passes/kernels/replicate_rows.h"

#include "passes/kernels/sse2.h"

namespace kernels {

using namespace sse2;

namespace {
constexpr int kLanes = 16;
}

void doubleRow(const std::uint8_t* in, std::uint8_t* out, int width) {
    int x = 0;
    for (; x + kLanes <= width; x += kLanes) {
        const __m128i v = load(in + x);
        storeInterleaved2(out + 2 * x, v, v);
    }
    for (; x < width; ++x) out[2 * x] = out[2 * x + 1] = in[x];
}

void tripleRow(const std::uint8_t* in, std::uint8_t* out, int width) {
    int x = 0;
    for (; x + kLanes <= width; x += kLanes) {
        const __m128i v = load(in + x);
        storeInterleaved3(out + 3 * x, v, v, v);
    }
    for (; x < width; ++x) out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = in[x];
}

void spreadRow(const std::uint8_t* in, std::uint8_t* out, int width) {
    int x = 0;
    for (; x + kLanes <= width; x += kLanes)
        storeInterleaved2(out + 2 * x, load(in + x), _mm_setzero_si128());
    for (; x < width; ++x) {
        out[2 * x] = in[x];
        out[2 * x + 1] = 0;
    }
}

}  // namespace kernels
