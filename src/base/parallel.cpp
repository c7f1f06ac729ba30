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

std::atomic<int> rangeLimit_{0};
std::atomic<int> smallestRange_{0};

// One call's ranges, taken by whichever thread comes first.
struct Job {
    RangeBody body = nullptr;
    void* context = nullptr;
    int count = 0;
    int ranges = 0;
    std::atomic<int> next{0};

    // Runs ranges until none is left.
    void work() {
        for (int r = next.fetch_add(1); r < ranges; r = next.fetch_add(1)) {
            const auto first = static_cast<int>(std::int64_t{count} * r / ranges);
            const auto last = static_cast<int>(std::int64_t{count} * (r + 1) / ranges);
            body(context, first, last, r);
        }
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
    bool run(RangeBody body, void* context, int count, int ranges) {
        // Not a mutex: a body that calls again on this thread must find it taken too.
        if (busy_.exchange(true)) return false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            job_.body = body;
            job_.context = context;
            job_.count = count;
            job_.ranges = ranges;
            job_.next.store(0);
            working_ = static_cast<int>(workers_.size());
            ++generation_;
        }
        wake_.notify_all();
        job_.work();
        {
            std::unique_lock<std::mutex> lock(mutex_);
            done_.wait(lock, [this] { return working_ == 0; });
        }
        busy_.store(false);
        return true;
    }

  private:
    void serve() {
        std::uint64_t seen = 0;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
                if (stop_) return;
                seen = generation_;
            }
            job_.work();
            std::lock_guard<std::mutex> lock(mutex_);
            if (--working_ == 0) done_.notify_one();
        }
    }

    std::vector<std::thread> workers_;
    std::atomic<bool> busy_{false};  // set while the workers serve a call
    std::mutex mutex_;               // guards the fields below and the job's hand-over
    std::condition_variable wake_, done_;
    Job job_;
    std::uint64_t generation_ = 0;
    int working_ = 0;
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
    return limit > 0 ? limit : threadCount();
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
    if (pool().threads() > 1 && pool().run(body, context, count, ranges)) return;
    // Alone, but in the same ranges, so results never depend on who ran them.
    Job alone;
    alone.body = body;
    alone.context = context;
    alone.count = count;
    alone.ranges = ranges;
    alone.work();
}

}  // namespace parallel
