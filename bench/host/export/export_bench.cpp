// Batch export throughput over the real DDE link and clipboard against
// hostsim.exe --sample: every frame and layer into a new project through the
// flow Scale2x, Scale2x, Scale2x, RotateUnzoom8x at 30 degrees. Prints
// frame-layer pairs per second, and how much of a pair the flow alone takes.
//   run_e2e.sh <build> <build>/bin/export_bench.exe [exports]
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "host/commands.h"
#include "host/export.h"
#include "host/frame_import.h"
#include "host_sim_process.h"
#include "owner_window.h"

namespace {

constexpr int kScale2x = 2;
constexpr int kRotateUnzoom8x = 10;
constexpr int kAngle = 30;

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

void buildFlow(PassChain& chain, HWND owner) {
    for (int kind : {kScale2x, kScale2x, kScale2x, kRotateUnzoom8x})
        chain.insertPass(owner, chain.size(), kind);
    chain.setRotationAngle(owner, kAngle);
}

// The flow alone: one full evaluation from a fresh source, as each batch import makes.
double flowMsPerPair(HWND owner, const IndexedImage& sample, int repeats) {
    PassChain chain;
    buildFlow(chain, owner);
    std::vector<double> samples;
    for (int i = 0; i < repeats; ++i) {
        auto source =
            std::make_unique<IndexedImage>(owner, sample.width, sample.height, sample.palette());
        for (int y = 0; y < sample.height; ++y)
            std::copy_n(sample.row(y), sample.stride(), source->row(y));
        const double start = nowMs();
        chain.dropOutputs();
        chain.setSource(std::move(source));
        chain.evaluate(owner);
        samples.push_back(nowMs() - start);
    }
    return median(samples);
}

// One plain query, for comparison: what a pair's 11 commands cost at least.
double commandMs(HostLink& link, int repeats) {
    std::vector<double> samples;
    ErrorText error;
    for (int i = 0; i < repeats; ++i) {
        int value = 0;
        const double start = nowMs();
        QueryNumber(link, "GetCurrentProject", value, error);
        samples.push_back(nowMs() - start);
    }
    return median(samples);
}

}  // namespace

int main(int argc, char** argv) {
    const int exports = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    HostSimProcess host({"--sample"});
    if (!host.serving()) {
        std::fprintf(stderr, "export_bench: %s\n", host.problem().c_str());
        return 1;
    }
    PluginState state;
    if (!HostConnect(state.link, kHostService, kHostTopic)) {
        std::fprintf(stderr, "export_bench: cannot connect to the host\n");
        return 1;
    }
    state.initialised = true;
    OwnerWindow owner;
    buildFlow(state.chain, owner.handle());

    // The export's diagnostic lines would dominate the output; a GUI build
    // has no console either.
    std::fflush(stdout);
    const int nul = _open("NUL", _O_WRONLY);
    if (nul < 0 || _dup2(nul, 1) != 0) {
        std::fprintf(stderr, "export_bench: cannot silence the log\n");
        return 1;
    }
    _close(nul);
    ErrorText error;
    if (!ImportImage(state, owner.handle(), 1, 0, error)) {
        std::fprintf(stderr, "export_bench: import failed: %s\n", error.text);
        return 1;
    }
    const IndexedImage* source = state.chain.source();
    const int side = source->width;
    const double flowMs = flowMsPerPair(owner.handle(), *source, 20);

    int sample = 0;
    int frames = 0;
    int layers = 0;
    if (!QueryNumber(state.link, "GetCurrentProject", sample, error) ||
        !QueryNumber(state.link, "GetFrameCount", frames, error) ||
        !QueryNumber(state.link, "GetNumberOfLayers", layers, error) || frames * layers <= 0) {
        std::fprintf(stderr, "export_bench: the sample cannot be read: %s\n", error.text);
        return 1;
    }
    const int pairs = frames * layers;
    std::vector<double> msPerPair;
    for (int i = 0; i < exports; ++i) {
        const double start = nowMs();
        if (!ExportBatch(state, owner.handle(), true, true, true, error)) {
            std::fprintf(stderr, "export_bench: export %d failed: %s\n", i + 1, error.text);
            return 1;
        }
        msPerPair.push_back((nowMs() - start) / pairs);
        // Each export leaves the host in its new project; the next reads the sample again.
        if (!SwitchProject(state.link, sample, error)) {
            std::fprintf(stderr, "export_bench: %s\n", error.text);
            return 1;
        }
    }
    const double queryMs = commandMs(state.link, 200);
    HostDisconnect(state.link);

    const double pairMs = median(msPerPair);
    std::fprintf(stderr,
                 "export_bench: %d batch exports of %d frame-layer pairs (%dx%d) through "
                 "Scale2x x3 + RotateUnzoom8x at %d degrees\n",
                 exports, pairs, side, side, kAngle);
    std::fprintf(stderr,
                 "  %.1f pairs/s (median %.2f ms per pair, 11 host commands and two clipboard "
                 "transfers each)\n",
                 1000.0 / pairMs, pairMs);
    std::fprintf(stderr, "  the flow alone: %.3f ms per pair (%.1f%% of a pair)\n", flowMs,
                 100.0 * flowMs / pairMs);
    std::fprintf(stderr,
                 "  one query (execute + request): %.3f ms; 11 of them are %.1f%% of a pair\n",
                 queryMs, 100.0 * 11 * queryMs / pairMs);
    return 0;
}
