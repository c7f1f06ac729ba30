#pragma once
// Work split into ranges of rows over one thread per core. The threads are
// made on first use and kept for the life of the process; a call hands them
// its ranges, works on ranges itself, and returns when all are done. Nothing
// is allocated per call.
#include <type_traits>

namespace parallel {

// The threads that work on a call: the caller and one worker per further core.
int threadCount();

// The most ranges a call is split into. 0 (the default) means a few per
// thread (one with a single thread). Benchmarks set 1 to measure one thread;
// tests set odd counts to see that any split gives the same result. Not for
// use while a call runs.
void setRangeLimit(int ranges);
int rangeLimit();
// When positive, the fewest items a range holds, whatever each call asks:
// tests set 1 to split even the smallest work. 0 (the default) leaves each
// call's own minimum.
void setSmallestRange(int items);

// How many ranges forRanges splits [0, count) into: one per `minPerRange`
// items, at least 1, at most rangeLimit().
int rangesFor(int count, int minPerRange);

using RangeBody = void (*)(void* context, int first, int last, int range);
void forRangesErased(int count, int minPerRange, RangeBody body, void* context);

// Calls body(first, last) on the consecutive ranges of rangesFor(count,
// minPerRange) that together cover [0, count) once each, at the same time on
// several threads, and returns when all are done. A body that takes a third
// int gets the range's number (0 first), to keep per-range results apart.
// Work too small for two ranges runs on the calling thread; so does all work
// while the workers serve another call (a nested or concurrent one), in the
// same ranges. `body` must not throw.
template <typename Body>
void forRanges(int count, int minPerRange, Body&& body) {
    using Target = std::remove_reference_t<Body>;
    forRangesErased(
        count, minPerRange,
        [](void* context, int first, int last, int range) {
            Target& target = *static_cast<Target*>(context);
            if constexpr (std::is_invocable_v<Target&, int, int, int>) {
                target(first, last, range);
            } else {
                target(first, last);
            }
        },
        const_cast<void*>(static_cast<const void*>(&body)));
}

}  // namespace parallel
