// The fast paths of every pass kind give the pixels of the plain one: without
// AVX2 (SSE2, on a machine that has AVX2), and with the rows split over the
// threads in any number of ranges, over widths on both sides of each vector
// size and sizes on both sides of the point where a second thread starts.
#include <gtest/gtest.h>

#include <utility>

#include "pass_test_support.h"
#include "passes/kernels/cpu.h"
#include "passes/kernels/rows_per_range.h"
#include "passes/pass_kinds.h"

using namespace passtest;

namespace {

constexpr int kCanvas2x = 4;

// For its life, the kernels run without AVX2.
struct WithoutAvx2 {
    WithoutAvx2() { kernels::avx2Allowed() = false; }
    ~WithoutAvx2() { kernels::avx2Allowed() = true; }
};

Pixels run(int kind, IndexedImage& in, const PassSettings& settings) {
    const auto pass = makePass(kind, settings);
    return applyChecked(*pass, in, kind == kCanvas2x ? 0 : kGarbage);
}

TEST(PassSpeedPaths, EveryKindGivesThePixelsOfOneThreadWithoutAvx2AndSplitAnyWay) {
    const PassSettings settings = settingsFor(33, true);
    unsigned seed = 1;
    std::vector<std::pair<int, int>> sizes = {{1, 40}, {37, 1}, {2, 2}};
    for (int w : {1, 15, 16, 17, 31, 32, 33, 34, 47, 63, 64, 65, 97}) {
        for (int h : {1, 3, 9}) sizes.emplace_back(w, h);
    }
    for (auto [w, h] : sizes) {
        // Few colours, so the scalers see edges of every kind.
        auto in = randomImage(
            w, h, seed % 2 ? std::vector<int>{0, 1, 2} : std::vector<int>{3, 7, 255}, seed);
        ++seed;
        for (int kind = 0; kind < kPassKindCount; ++kind) {
            SCOPED_TRACE(testing::Message()
                         << passKindNamesNarrow[kind] << " on " << w << "x" << h);
            Pixels alone;
            {
                const SplitWork oneThread(1);
                alone = run(kind, *in, settings);
                const WithoutAvx2 sse2;
                EXPECT_EQ(run(kind, *in, settings), alone) << "without AVX2";
            }
            for (int ranges : {2, 3, 7}) {
                const SplitWork split(ranges);
                EXPECT_EQ(run(kind, *in, settings), alone) << ranges << " ranges";
            }
        }
    }
}

TEST(PassSpeedPaths, AroundTheSizeWhereThreadsStartTheirPixelsAreThoseOfOneThread) {
    const PassSettings settings = settingsFor(10, false);
    const int w = 1024;
    using kernels::rowsPerRange;
    // Scale2x makes 4 w output bytes a row, Zoom3x 9 w, Rotate w, MMPX2x 4 w.
    for (auto [kind, rows] :
         {std::pair{2, rowsPerRange(4 * w, kernels::kCopyingBytesPerRange)},
          std::pair{1, rowsPerRange(9 * w, kernels::kCopyingBytesPerRange)},
          std::pair{6, rowsPerRange(w, kernels::kLookingUpBytesPerRange)},
          std::pair{12, rowsPerRange(4 * w, kernels::kLookingUpBytesPerRange)}}) {
        for (int h : {2 * rows - 1, 2 * rows, 2 * rows + 1, 4 * rows + 1}) {
            SCOPED_TRACE(testing::Message()
                         << passKindNamesNarrow[kind] << " on " << w << "x" << h);
            auto in = randomImage(w, h, {0, 1, 2, 9}, static_cast<unsigned>(h));
            Pixels alone;
            {
                const SplitWork oneThread(1);
                alone = run(kind, *in, settings);
            }
            // As the pass splits it on this machine's threads.
            EXPECT_EQ(run(kind, *in, settings), alone);
        }
    }
}

}  // namespace
