#include "passes/kernels/replicate_rows.h"

#include <cstring>

#include "passes/kernels/avx2.h"
#include "passes/kernels/cpu.h"
#include "passes/kernels/sse2.h"

namespace kernels {

namespace {

// Calls vector(x) for the input columns [0, width) in runs of kLanes, the last
// overlapping the one before, or scalar(x) for each column when the row is
// narrower than a run.
template <int kLanes, typename Vector, typename Scalar>
inline void eachRun(int width, Vector vector, Scalar scalar) {
    if (width < kLanes) {
        for (int x = 0; x < width; ++x) scalar(x);
        return;
    }
    for (int x = 0; x < width - kLanes; x += kLanes) vector(x);
    vector(width - kLanes);
}

// Writes the input row `in` spread k-fold into each of `rows` output rows.
template <int k>
void replicateRowSse2(const std::uint8_t* in, int width, std::uint8_t* const* rows) {
    eachRun<16>(
        width,
        [&](int x) {
            const __m128i v = sse2::load(in + x);
            for (int r = 0; r < k; ++r) {
                if constexpr (k == 2) sse2::storeInterleaved2(rows[r] + 2 * x, v, v);
                if constexpr (k == 3) sse2::storeInterleaved3(rows[r] + 3 * x, v, v, v);
            }
        },
        [&](int x) {
            for (int r = 0; r < k; ++r) std::memset(rows[r] + k * x, in[x], k);
        });
}

template <int k>
MARLUNE_AVX2 void replicateRowAvx2(const std::uint8_t* in, int width, std::uint8_t* const* rows) {
    if (width < 32) {
        replicateRowSse2<k>(in, width, rows);
        return;
    }
    eachRun<32>(
        width,
        [&](int x) __attribute__((target("avx2"))) {
            const __m256i v = avx2::load(in + x);
            for (int r = 0; r < k; ++r) {
                if constexpr (k == 2) avx2::storeInterleaved2(rows[r] + 2 * x, v, v);
                if constexpr (k == 3) avx2::storeInterleaved3(rows[r] + 3 * x, v, v, v);
            }
        },
        [](int) {});
}

template <int k>
void replicateRows(const IndexedImage& in, IndexedImage& out, int first, int last) {
    const bool wide = hasAvx2();
    for (int y = first; y < last; ++y) {
        std::uint8_t* rows[k];
        for (int r = 0; r < k; ++r) rows[r] = out.row(k * y + r);
        if (wide) {
            replicateRowAvx2<k>(in.row(y), in.width, rows);
        } else {
            replicateRowSse2<k>(in.row(y), in.width, rows);
        }
    }
}

void spreadRowSse2(const std::uint8_t* in, int width, std::uint8_t* out) {
    eachRun<16>(
        width,
        [&](int x) {
            sse2::storeInterleaved2(out + 2 * x, sse2::load(in + x), _mm_setzero_si128());
        },
        [&](int x) {
            out[2 * x] = in[x];
            out[2 * x + 1] = 0;
        });
}

MARLUNE_AVX2 void spreadRowAvx2(const std::uint8_t* in, int width, std::uint8_t* out) {
    if (width < 32) {
        spreadRowSse2(in, width, out);
        return;
    }
    eachRun<32>(
        width,
        [&](int x) __attribute__((target("avx2"))) {
            avx2::storeInterleaved2(out + 2 * x, avx2::load(in + x), _mm256_setzero_si256());
        },
        [](int) {});
}

}  // namespace

void zoom2xRows(const IndexedImage& in, IndexedImage& out, int first, int last) {
    replicateRows<2>(in, out, first, last);
}

void zoom3xRows(const IndexedImage& in, IndexedImage& out, int first, int last) {
    replicateRows<3>(in, out, first, last);
}

void space2xRows(const IndexedImage& in, IndexedImage& out, int first, int last) {
    const bool wide = hasAvx2();
    for (int y = first; y < last; ++y) {
        std::memset(out.row(2 * y), 0, static_cast<std::size_t>(2 * in.width));
        if (wide) {
            spreadRowAvx2(in.row(y), in.width, out.row(2 * y + 1));
        } else {
            spreadRowSse2(in.row(y), in.width, out.row(2 * y + 1));
        }
    }
}

}  // namespace kernels
