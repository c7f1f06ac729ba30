#include "base/parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace parallel {

namespace {

constexpr int kRangesPerThread = 4;
std::atomic<int> rangeLimit_{0};
std::atomic<int> smallestRange_{0};

// One call's ranges, taken by whichever thread comes first.
struct Job {
    RangeBody body = nullptr;
    void* context = nullptr;
    int count = 0;
    int ranges = 0;

    void run(int range) const {
        const auto first = static_cast<int>(std::int64_t{count} * range / ranges);
        const auto last = static_cast<int>(std::int64_t{count} * (range + 1) / ranges);
        body(context, first, last, range);
    }
};

class Pool {
  public:
    Pool() {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned i = 1; i < cores; ++i) workers_.emplace_back([this] { serve(); });
    }
    ~Pool() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        for (std::thread& worker : workers_) worker.join();
    }
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    int threads() const { return static_cast<int>(workers_.size()) + 1; }

    // False, running nothing, while another call holds the workers.
    bool run(const Job& job) {
        // Not a mutex: a body that calls again on this thread must find it taken too.
        if (busy_.exchange(true)) return false;
        std::uint32_t generation = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            job_ = job;
            generation = ++generation_;
            done_ = 0;
            next_.store(std::uint64_t{generation} << 32);
        }
        wake_.notify_all();
        work(job, generation);
        // Only for ranges taken: a worker that wakes late finds none left.
        {
            std::unique_lock<std::mutex> lock(mutex_);
            finished_.wait(lock, [&] { return done_ == job.ranges; });
        }
        busy_.store(false);
        return true;
    }

  private:
    // Runs ranges of the call `generation` until none is left, or another
    // call has begun.
    void work(const Job& job, std::uint32_t generation) {
        std::uint64_t next = next_.load();
        for (;;) {
            const auto range = static_cast<int>(next & 0xFFFF'FFFFu);
            if (next >> 32 != generation || range >= job.ranges) return;
            if (!next_.compare_exchange_weak(next, next + 1)) continue;
            job.run(range);
            std::lock_guard<std::mutex> lock(mutex_);
            if (++done_ == job.ranges) finished_.notify_one();
            next = next_.load();
        }
    }

    void serve() {
        std::uint32_t seen = 0;
        for (;;) {
            Job job;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
                if (stop_) return;
                seen = generation_;
                job = job_;
            }
            work(job, seen);
        }
    }

    std::vector<std::thread> workers_;
    std::atomic<bool> busy_{false};  // set while the workers serve a call
    // The call's number above its next range to take.
    std::atomic<std::uint64_t> next_{0};
    std::mutex mutex_;  // guards the fields below
    std::condition_variable wake_, finished_;
    Job job_;
    std::uint32_t generation_ = 0;
    int done_ = 0;  // ranges of the call finished
    bool stop_ = false;
};

Pool& pool() {
    static Pool shared;
    return shared;
}

}  // namespace

int threadCount() {
    return pool().threads();
}

void setRangeLimit(int ranges) {
    rangeLimit_.store(std::max(ranges, 0));
}

int rangeLimit() {
    const int limit = rangeLimit_.load();
    if (limit > 0) return limit;
    // Several ranges a thread: one that finishes early takes another, so
    // work that is heavier in some rows still ends on all threads together.
    const int threads = threadCount();
    return threads > 1 ? kRangesPerThread * threads : 1;
}

void setSmallestRange(int items) {
    smallestRange_.store(std::max(items, 0));
}

int rangesFor(int count, int minPerRange) {
    const int smallest = smallestRange_.load();
    return std::clamp(count / std::max(smallest > 0 ? smallest : minPerRange, 1), 1, rangeLimit());
}

void forRangesErased(int count, int minPerRange, RangeBody body, void* context) {
    if (count <= 0) return;
    const int ranges = rangesFor(count, minPerRange);
    if (ranges == 1) {
        body(context, 0, count, 0);
        return;
    }
    const Job job{body, context, count, ranges};
    if (pool().threads() > 1 && pool().run(job)) return;
    // Alone, but in the same ranges, so results never depend on who ran them.
    for (int range = 0; range < ranges; ++range) job.run(range);
}

}  // namespace parallel
