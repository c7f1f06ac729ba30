// How fast the passes run, on pixel-art images (random 4 x 4 blocks of 4
// distinct greys) of 64, 256, 1024 and 2048 pixels a side, on one thread and on all.
//
// passKind/<kind>/<side>/<threads>: one apply of the pass (its output already
//   made), threads 1 or 0 for all. Counters: Gpx_s, output pixels per second
//   in the fastest run; memcpy_Gpx_s, a memcpy of the same output bytes in
//   the same run, and vs_memcpy, the pass's speed over the memcpy's.
// rotSpriteTick/<side>/<threads>/<outlined>: an angle-slider tick of a chain
//   holding only RotSprite (right angles, which take a shortcut, left out),
//   with the heap the pass holds and its peak during the first evaluation and
//   a tick; outlined 1: on outlined discs, whose outline RotSprite draws
//   again from two turns (the shape and the colours inside).
// flow*: the flow Scale2x x3 + RotateUnzoom8x on 256 x 256: first evaluation,
//   an angle tick, and the rotation alone.
// Time columns are means; the counters come from the fastest iteration, which
// other work on the machine disturbs least.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <vector>

#include "base/parallel.h"
#include "passes/pass_chain.h"
#include "passes/pass_kinds.h"
#include "passes/rotate_pass.h"

namespace {

constexpr int kFlowSide = 256;
constexpr int kFlowAngle = 30;
enum Kind { Scale2x = 2, RotateUnzoom8x = 10, RotSprite = 11 };

// Heap bytes in use now and the most since the last reset, counted by the
// global allocation functions below.
std::size_t heapNow = 0, heapPeak = 0;

// Entry i is grey i: the colours the pictures use lie far apart (RotSprite
// smooths between colours that are not similar, and its offset search weighs
// how far apart they are; with one colour everywhere it would do neither).
const std::vector<std::uint8_t>& greys() {
    static const std::vector<std::uint8_t> palette = [] {
        std::vector<std::uint8_t> quads(kPaletteBytes, 0);
        for (std::size_t i = 0; i < 256; ++i) {
            std::fill_n(&quads[4 * i], 3, static_cast<std::uint8_t>(i));
        }
        return quads;
    }();
    return palette;
}

// Random 4 x 4 blocks of 4 colours, the kind of picture the passes are for.
std::unique_ptr<IndexedImage> pixelArt(int side) {
    auto image = std::make_unique<IndexedImage>(nullptr, side, side, greys().data());
    std::mt19937 rng(1);
    const int blocks = side / 4;
    std::vector<std::uint8_t> colours(static_cast<std::size_t>(blocks) * blocks);
    for (auto& c : colours) c = static_cast<std::uint8_t>(rng() % 4 * 60 + 7);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x)
            image->row(y)[x] = colours[static_cast<std::size_t>(y / 4) * blocks + x / 4];
    }
    return image;
}

// Outlined discs on ground 0: radius 9.5 every 24 pixels, three fills, ink 40
// on every filled pixel next to the ground.
std::unique_ptr<IndexedImage> outlinedArt(int side) {
    auto image = std::make_unique<IndexedImage>(nullptr, side, side, greys().data());
    const auto fill = [](int x, int y) -> std::uint8_t {
        const int dx = x % 24 - 12, dy = y % 24 - 12;
        if (dx * dx + dy * dy >= 90) return 0;
        return static_cast<std::uint8_t>(67 + 60 * ((x / 24 * 7 + y / 24 * 3) % 3));
    };
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const std::uint8_t own = fill(x, y);
            const bool edge = own != 0 && (fill(x - 1, y) == 0 || fill(x + 1, y) == 0 ||
                                           fill(x, y - 1) == 0 || fill(x, y + 1) == 0);
            image->row(y)[x] = edge ? 40 : own;
        }
    }
    return image;
}

const IndexedImage& sharedInput(int side) {
    static std::map<int, std::unique_ptr<IndexedImage>> images;
    auto& image = images[side];
    if (!image) image = pixelArt(side);
    return *image;
}

// The shortest time one iteration took, so other work on the machine
// disturbs the figures as little as possible.
class BestTime {
  public:
    void start() { start_ = std::chrono::steady_clock::now(); }
    void stop() {
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start_;
        best_ = std::min(best_, took.count());
    }
    double seconds() const { return best_; }

  private:
    std::chrono::steady_clock::time_point start_;
    double best_ = 1e9;
};

// Seconds one memcpy of `bytes` takes, the fastest of runs as many as fit in
// about the time the pass was measured for.
double memcpySeconds(std::size_t bytes) {
    std::vector<std::uint8_t> from(bytes, 1), to(bytes, 0);
    BestTime time;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    for (int run = 0; run < 5 || std::chrono::steady_clock::now() < deadline; ++run) {
        time.start();
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
        time.stop();
    }
    benchmark::DoNotOptimize(to.data());
    return time.seconds();
}

std::size_t outputBytes(const IndexedImage& image) {
    return static_cast<std::size_t>(image.stride()) * static_cast<std::size_t>(image.height);
}

// Output pixels per second at the best time, beside the memcpy of the same bytes.
void report(benchmark::State& state, const IndexedImage& output, const BestTime& time) {
    const double pixels = static_cast<double>(output.width) * output.height;
    const double copy = memcpySeconds(outputBytes(output));
    state.counters["Gpx_s"] = pixels / time.seconds() * 1e-9;
    state.counters["memcpy_Gpx_s"] = pixels / copy * 1e-9;
    state.counters["vs_memcpy"] = copy / time.seconds();
}

// Runs the benchmark on one thread (argument 1) or all (0).
class Threads {
  public:
    explicit Threads(std::int64_t limit) { parallel::setRangeLimit(static_cast<int>(limit)); }
    ~Threads() { parallel::setRangeLimit(0); }
    Threads(const Threads&) = delete;
    Threads& operator=(const Threads&) = delete;
};

std::string threadsLabel(std::int64_t limit) {
    return limit == 1 ? "1 thread" : std::to_string(parallel::threadCount()) + " threads";
}

void passKind(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    const IndexedImage& input = sharedInput(static_cast<int>(state.range(1)));
    const Threads threads(state.range(2));
    PassChain settingsHolder;  // rotation passes read its angle; never evaluated
    settingsHolder.setRotationAngle(nullptr, kFlowAngle);
    std::unique_ptr<Pass> pass = makePass(kind, settingsHolder.settings());
    pass->apply(nullptr, input);
    BestTime time;
    for (auto _ : state) {
        time.start();
        pass->apply(nullptr, input);
        benchmark::ClobberMemory();
        time.stop();
    }
    state.SetLabel(std::string(passKindNamesNarrow[kind]) + ", " + threadsLabel(state.range(2)));
    report(state, *pass->output, time);
}

void passKindArguments(benchmark::internal::Benchmark* b) {
    for (int kind = 0; kind < kPassKindCount; ++kind) {
        for (int side : {64, 256, 1024, 2048}) {
            for (int threads : {1, 0}) b->Args({kind, side, threads});
        }
    }
}

PassChain& flow() {
    static PassChain chain;
    if (chain.size() == 0) {
        chain.setSource(pixelArt(kFlowSide));
        chain.setRotationAngle(nullptr, kFlowAngle);
        for (int kind : {Scale2x, Scale2x, Scale2x, RotateUnzoom8x})
            chain.insertPass(nullptr, chain.size(), kind);
    }
    return chain;
}

void flowFirstEvaluation(benchmark::State& state) {
    PassChain& chain = flow();
    BestTime time;
    for (auto _ : state) {
        time.start();
        chain.dropOutputs();
        chain.evaluate(nullptr);
        time.stop();
    }
    report(state, *chain.displayedImage(), time);
}

void flowAngleChange(benchmark::State& state) {
    PassChain& chain = flow();
    chain.evaluate(nullptr);
    int degrees = 0;
    BestTime time;
    for (auto _ : state) {
        time.start();
        chain.setRotationAngle(nullptr, degrees = degrees % 360 + 1);
        time.stop();
    }
    chain.setRotationAngle(nullptr, kFlowAngle);
    report(state, *chain.displayedImage(), time);
}

void flowRotationAlone(benchmark::State& state) {
    PassChain& chain = flow();
    chain.evaluate(nullptr);
    const IndexedImage& input = *chain.passAt(2)->output;
    PassChain settingsHolder;
    RotatePass pass(8, settingsHolder.settings());
    int degrees = 0;
    BestTime time;
    for (auto _ : state) {
        settingsHolder.setRotationAngle(nullptr, degrees = degrees % 360 + 1);
        time.start();
        pass.apply(nullptr, input);
        benchmark::ClobberMemory();
        time.stop();
    }
    report(state, *pass.output, time);
}

// Heap held by a RotSprite pass (output and working memory), its peak during
// a first evaluation and during an angle tick, in MiB.
void rotSpriteMemory(benchmark::State& state, const IndexedImage& input) {
    PassChain settingsHolder;
    settingsHolder.setRotationAngle(nullptr, kFlowAngle);
    const std::size_t before = heapNow;
    heapPeak = heapNow;
    std::unique_ptr<Pass> pass = makePass(RotSprite, settingsHolder.settings());
    pass->apply(nullptr, input);
    const std::size_t firstPeak = heapPeak, held = heapNow;
    settingsHolder.setRotationAngle(nullptr, kFlowAngle + 1);
    heapPeak = heapNow;
    pass->apply(nullptr, input);
    constexpr double kMiB = 1 << 20;
    state.counters["held_MiB"] = static_cast<double>(held - before) / kMiB;
    state.counters["first_peak_MiB"] = static_cast<double>(firstPeak - before) / kMiB;
    state.counters["tick_peak_MiB"] = static_cast<double>(heapPeak - before) / kMiB;
}

void rotSpriteTick(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const Threads threads(state.range(1));
    const bool outlined = state.range(2) != 0;
    PassChain chain;
    chain.setSource(outlined ? outlinedArt(side) : pixelArt(side));
    chain.insertPass(nullptr, 0, RotSprite);
    int degrees = 0;
    BestTime time;
    for (auto _ : state) {
        degrees = degrees % 359 + 1;
        if (degrees % 90 == 0) ++degrees;
        time.start();
        chain.setRotationAngle(nullptr, degrees);
        time.stop();
    }
    state.SetLabel(threadsLabel(state.range(1)) + (outlined ? ", outlined" : ""));
    report(state, *chain.displayedImage(), time);
    state.counters["best_ms"] = time.seconds() * 1e3;
    rotSpriteMemory(state, *chain.source());
}

}  // namespace

void* operator new(std::size_t bytes) {
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) throw std::bad_alloc();
    heapNow += malloc_usable_size(block);
    heapPeak = std::max(heapPeak, heapNow);
    return block;
}
// GCC cannot see that these pair with the operator new above.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept {
    if (block != nullptr) heapNow -= malloc_usable_size(block);
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

BENCHMARK(passKind)->Apply(passKindArguments)->UseRealTime()->MinTime(0.1);
BENCHMARK(rotSpriteTick)
    ->ArgsProduct({{256, 1024}, {1, 0}, {0, 1}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);
BENCHMARK(flowFirstEvaluation)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(flowAngleChange)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(flowRotationAlone)->UseRealTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
