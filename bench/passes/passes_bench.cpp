// Throughput of every pass kind on a 1024 x 1024 pixel-art image, in output
// pixels per second, each with its ratio to a memcpy of the same output size
// measured in the same run; then the rotation flow (Scale2x three times, then
// RotateUnzoom8x) on 256 x 256: first evaluation, angle change, rotation alone;
// RotSprite's angle change on the same image, and the heap it holds and peaks
// at on 1024 x 1024.
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

#include "passes/pass_chain.h"
#include "passes/pass_kinds.h"
#include "passes/rotate_pass.h"

namespace {

constexpr int kSide = 1024;
constexpr int kFlowSide = 256;
constexpr int kFlowAngle = 30;
enum Kind { Scale2x = 2, RotateUnzoom8x = 10, RotSprite = 11 };

// Heap bytes in use now and the most since the last reset, counted by the
// global allocation functions below.
std::size_t heapNow = 0, heapPeak = 0;

// Random 4 x 4 blocks of 4 colours, the kind of picture the passes are for.
std::unique_ptr<IndexedImage> pixelArt(int side) {
    static const std::vector<std::uint8_t> palette(kPaletteBytes, 0);
    auto image = std::make_unique<IndexedImage>(nullptr, side, side, palette.data());
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

const IndexedImage& sharedInput() {
    static const std::unique_ptr<IndexedImage> image = pixelArt(kSide);
    return *image;
}

// Seconds one memcpy of `bytes` takes (best of several), measured once per size.
double memcpySeconds(std::size_t bytes) {
    static std::map<std::size_t, double> cache;
    if (auto found = cache.find(bytes); found != cache.end()) return found->second;
    std::vector<std::uint8_t> from(bytes, 1), to(bytes, 0);
    double best = 1e9;
    for (int run = 0; run < 50; ++run) {
        const auto start = std::chrono::steady_clock::now();
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    benchmark::DoNotOptimize(to.data());
    return cache[bytes] = best;
}

std::size_t outputBytes(const IndexedImage& image) {
    return static_cast<std::size_t>(image.stride()) * static_cast<std::size_t>(image.height);
}

// The shortest time one iteration took, so other work on the machine
// disturbs the ratio as little as it disturbs the memcpy figure.
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

// Output pixels per second, and the memcpy time of the output's bytes over the
// pass's time (1.0: as fast as copying the result).
void report(benchmark::State& state, const IndexedImage& output, const BestTime& time) {
    const auto pixels = static_cast<std::int64_t>(output.width) * output.height;
    state.SetItemsProcessed(state.iterations() * pixels);
    state.counters["memcpy_ratio"] = memcpySeconds(outputBytes(output)) / time.seconds();
}

void passKind(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    PassChain settingsHolder;  // rotation passes read its angle; never evaluated
    settingsHolder.setRotationAngle(nullptr, kFlowAngle);
    std::unique_ptr<Pass> pass = makePass(kind, settingsHolder.settings());
    const IndexedImage& input = sharedInput();
    pass->apply(nullptr, input);
    BestTime time;
    for (auto _ : state) {
        time.start();
        pass->apply(nullptr, input);
        benchmark::ClobberMemory();
        time.stop();
    }
    state.SetLabel(passKindNamesNarrow[kind]);
    report(state, *pass->output, time);
}

void memcpyOfOutput(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0));
    std::vector<std::uint8_t> from(bytes, 1), to(bytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
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

// An angle-slider tick of a flow holding only RotSprite; right angles, which
// take a shortcut, are left out.
void rotSpriteAngleChange(benchmark::State& state) {
    PassChain chain;
    chain.setSource(pixelArt(kFlowSide));
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
    report(state, *chain.displayedImage(), time);
}

// Heap held by a RotSprite pass on 1024 x 1024 (output and working memory),
// and the peak during a first evaluation and during an angle tick, in MiB.
void rotSpriteMemory(benchmark::State& state) {
    PassChain settingsHolder;
    settingsHolder.setRotationAngle(nullptr, kFlowAngle);
    const IndexedImage& input = sharedInput();
    for (auto _ : state) {
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
}

// Outlined discs on ground 0 (the picture RotSprite redraws outlines on):
// radius 9.5 every 24 pixels, three fills, ink 7 on every filled pixel next
// to the ground; entry i is grey i.
std::unique_ptr<IndexedImage> outlinedArt(int side) {
    std::vector<std::uint8_t> palette(kPaletteBytes, 0);
    for (std::size_t i = 0; i < 256; ++i)
        std::fill_n(&palette[4 * i], 3, static_cast<std::uint8_t>(i));
    auto image = std::make_unique<IndexedImage>(nullptr, side, side, palette.data());
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
            image->row(y)[x] = edge ? 7 : own;
        }
    }
    return image;
}

// The same tick on outlined discs, 256 x 256 and 1024 x 1024: the outline is
// drawn again, from two turns (the shape and the colours inside).
void rotSpriteOutlinedAngleChange(benchmark::State& state) {
    PassChain chain;
    chain.setSource(outlinedArt(static_cast<int>(state.range(0))));
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
    report(state, *chain.displayedImage(), time);
}

// Heap of the RotSprite pass on the 1024 x 1024 outlined discs, as above.
void rotSpriteOutlinedMemory(benchmark::State& state) {
    PassChain settingsHolder;
    settingsHolder.setRotationAngle(nullptr, kFlowAngle);
    const auto input = outlinedArt(kSide);
    for (auto _ : state) {
        const std::size_t before = heapNow;
        heapPeak = heapNow;
        std::unique_ptr<Pass> pass = makePass(RotSprite, settingsHolder.settings());
        pass->apply(nullptr, *input);
        const std::size_t firstPeak = heapPeak, held = heapNow;
        settingsHolder.setRotationAngle(nullptr, kFlowAngle + 1);
        heapPeak = heapNow;
        pass->apply(nullptr, *input);
        constexpr double kMiB = 1 << 20;
        state.counters["held_MiB"] = static_cast<double>(held - before) / kMiB;
        state.counters["first_peak_MiB"] = static_cast<double>(firstPeak - before) / kMiB;
        state.counters["tick_peak_MiB"] = static_cast<double>(heapPeak - before) / kMiB;
    }
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

BENCHMARK(memcpyOfOutput)->Arg(kSide* kSide)->Arg(4 * kSide * kSide)->Arg(9 * kSide * kSide);
BENCHMARK(passKind)->DenseRange(0, kPassKindCount - 1);
BENCHMARK(flowFirstEvaluation)->Unit(benchmark::kMicrosecond);
BENCHMARK(flowAngleChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(flowRotationAlone)->Unit(benchmark::kMicrosecond);
BENCHMARK(rotSpriteAngleChange)->Unit(benchmark::kMillisecond);
BENCHMARK(rotSpriteMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(rotSpriteOutlinedAngleChange)->Arg(256)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(rotSpriteOutlinedMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
