// Work split over the threads: every item once, in the ranges promised, from
// any number of callers, nested calls included.
#include "base/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Limits {
    Limits(int ranges, int smallest) {
        parallel::setRangeLimit(ranges);
        parallel::setSmallestRange(smallest);
    }
    ~Limits() {
        parallel::setRangeLimit(0);
        parallel::setSmallestRange(0);
    }
};

// Runs a split of [0, count) and checks every item was visited once, by
// consecutive ranges numbered 0 .. rangesFor() - 1, each at least `least` long.
void expectEachItemOnce(int count, int minPerRange, int least) {
    SCOPED_TRACE(testing::Message() << count << " items, " << minPerRange << " a range");
    const int ranges = parallel::rangesFor(count, minPerRange);
    std::vector<std::atomic<int>> visits(static_cast<std::size_t>(count));
    std::vector<std::pair<int, int>> bounds(static_cast<std::size_t>(ranges), {-1, -1});
    parallel::forRanges(count, minPerRange, [&](int first, int last, int range) {
        bounds[static_cast<std::size_t>(range)] = {first, last};
        for (int i = first; i < last; ++i) ++visits[static_cast<std::size_t>(i)];
    });
    for (int i = 0; i < count; ++i) EXPECT_EQ(visits[static_cast<std::size_t>(i)], 1) << i;
    int next = 0;
    for (auto [first, last] : bounds) {
        EXPECT_EQ(first, next);
        EXPECT_GE(last - first, least);
        next = last;
    }
    EXPECT_EQ(next, count);
}

TEST(Parallel, EveryItemIsVisitedOnceByConsecutiveRanges) {
    EXPECT_GE(parallel::threadCount(), 1);
    EXPECT_GE(parallel::rangeLimit(), parallel::threadCount());
    EXPECT_EQ(parallel::rangeLimit() > 1, parallel::threadCount() > 1);
    {
        const Limits limits(7, 0);
        EXPECT_EQ(parallel::rangesFor(100, 10), 7);
        EXPECT_EQ(parallel::rangesFor(100, 30), 3);
        EXPECT_EQ(parallel::rangesFor(5, 10), 1);  // too small to split
        for (int count : {1, 2, 6, 7, 8, 13, 100, 1001}) {
            for (int minPerRange : {1, 3, 50}) {
                expectEachItemOnce(count, minPerRange, std::min(minPerRange, count));
            }
        }
    }
    const Limits oneRangeEach(3, 1);
    EXPECT_EQ(parallel::rangesFor(5, 1000), 3);  // the smallest range set for tests wins
    expectEachItemOnce(5, 1000, 1);
    int calls = 0;
    parallel::forRanges(0, 1, [&](int, int) { ++calls; });
    EXPECT_EQ(calls, 0);
}

TEST(Parallel, NestedAndConcurrentCallsFinishWithEveryItemDone) {
    const Limits limits(4, 1);
    std::atomic<long> sum{0};
    const auto addUpTo = [&](int count) {
        parallel::forRanges(count, 1, [&](int first, int last) {
            for (int i = first; i < last; ++i) sum += i;
        });
    };
    // Each range splits work of its own (run on its own thread).
    parallel::forRanges(8, 1, [&](int first, int last) {
        for (int i = first; i < last; ++i) addUpTo(100);
    });
    EXPECT_EQ(sum, 8 * 4950);
    sum = 0;
    std::vector<std::thread> callers;
    for (int c = 0; c < 4; ++c) {
        callers.emplace_back([&] {
            for (int k = 0; k < 50; ++k) addUpTo(1000);
        });
    }
    for (std::thread& caller : callers) caller.join();
    EXPECT_EQ(sum, 4L * 50 * 499500);
}

}  // namespace
