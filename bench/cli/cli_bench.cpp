// marlune-cli throughput: 500 sprites of 64 x 64 through RotSprite at 30
// degrees, one PNG in and one out each. Prints files per second of the whole
// program (best of three runs), and, timed in this process over the same
// files, how a file's time divides between decoding, the flow and encoding.
//   build/windows/wine-run.sh build/windows/bin/cli_bench.exe [sprites]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "base/com_ref.h"
#include "base/wide_text.h"
#include "cli_process.h"
#include "e2e_files.h"
#include "files/image_file.h"
#include "host_sim_process.h"
#include "passes/pass_chain.h"
#include "sample_sprite.h"

namespace {

constexpr int kSide = 64;
constexpr int kRotSprite = 11;
constexpr double kAngle = 30.0;
constexpr int kRounds = 3;

// Sprite `i`: one of the sample knight's steps on a clear 64 x 64 canvas,
// placed where no other sprite has it.
std::unique_ptr<IndexedImage> sprite(const Project& sample, int i) {
    auto image = std::make_unique<IndexedImage>(nullptr, kSide, kSide, sample.palette.data());
    std::fill_n(image->pixels, std::size_t(image->stride()) * kSide, std::uint8_t{0});
    const LayerPixels& knight = sample.pixels(1 + i % kSampleFrames, 1);
    const int left = (i / kSampleFrames) % (kSide - kSampleSide + 1);
    const int top = (i / kSampleFrames / (kSide - kSampleSide + 1)) % (kSide - kSampleSide + 1);
    for (int y = 0; y < kSampleSide; ++y) {
        std::copy_n(knight.data() + y * kSampleSide, kSampleSide,
                    image->row(kSide - 1 - top - y) + left);
    }
    return image;
}

std::wstring wide(const std::string& path) {
    return wideFromUtf8(path);
}

struct Phases {
    double decodeMs = 1e300, flowMs = 1e300, encodeMs = 1e300;
};

// One round in this process: every file decoded, turned and encoded, each
// step timed on its own.
void timePhases(const std::vector<std::string>& inputs, const std::string& outFolder,
                Phases& best) {
    PassChain chain;
    chain.insertPass(nullptr, 0, kRotSprite);
    Phases round{0, 0, 0};
    std::string error;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        ImageFile file;
        double start = nowMs();
        if (!readImageFile(wide(inputs[i]), nullptr, true, file, error)) std::abort();
        round.decodeMs += nowMs() - start;
        start = nowMs();
        chain.dropImages();
        chain.setSource(std::move(file.frames[0]));
        chain.setRotationAngle(nullptr, kAngle);
        round.flowMs += nowMs() - start;
        start = nowMs();
        const std::string out = outFolder + "\\" + std::to_string(i) + ".png";
        if (!writePngFile(wide(out), *chain.displayedImage(), file.alpha, error)) std::abort();
        round.encodeMs += nowMs() - start;
    }
    best.decodeMs = std::min(best.decodeMs, round.decodeMs);
    best.flowMs = std::min(best.flowMs, round.flowMs);
    best.encodeMs = std::min(best.encodeMs, round.encodeMs);
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 500;
    const ComInitialisation com;
    const TempFolder folder;
    std::filesystem::create_directory(folder.file("in"));
    std::filesystem::create_directory(folder.file("out"));
    std::filesystem::create_directory(folder.file("again"));
    const Project sample = makeSampleProject();
    PaletteAlpha alpha;
    alpha.alpha[0] = 0;
    alpha.present = true;
    std::vector<std::string> inputs;
    std::string error;
    for (int i = 0; i < count; ++i) {
        inputs.push_back(folder.file("in\\sprite" + std::to_string(1000 + i) + ".png"));
        if (!writePngFile(wide(inputs.back()), *sprite(sample, i), alpha, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }

    double bestRunMs = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        const double start = nowMs();
        const CliResult run = runCli(folder.path(), {"-q", "-f", "RotSprite", "-a", "30", "-o",
                                                     "out\\{name}.png", "in\\*.png"});
        bestRunMs = std::min(bestRunMs, nowMs() - start);
        if (run.exitCode != 0) {
            std::fprintf(stderr, "marlune-cli failed (%lu): %s\n", run.exitCode, run.err.c_str());
            return 1;
        }
    }
    if (filesIn(folder.file("out")).size() != std::size_t(count)) return 1;

    Phases phases;
    for (int round = 0; round < kRounds; ++round) timePhases(inputs, folder.file("again"), phases);
    const double inProcess = phases.decodeMs + phases.flowMs + phases.encodeMs;
    std::printf("marlune-cli, %d sprites of %dx%d, RotSprite at %.0f degrees (best of %d):\n",
                count, kSide, kSide, kAngle, kRounds);
    std::printf("  the program: %.0f ms for the run, %.2f ms a file, %.0f files per second\n",
                bestRunMs, bestRunMs / count, count * 1000.0 / bestRunMs);
    std::printf("  in one process: %.2f ms a file: decode %.3f ms, flow %.3f ms, encode %.3f ms\n",
                inProcess / count, phases.decodeMs / count, phases.flowMs / count,
                phases.encodeMs / count);
    std::printf("  share: decoding %.0f %%, encoding %.0f %%, the flow %.0f %%\n",
                100.0 * phases.decodeMs / inProcess, 100.0 * phases.encodeMs / inProcess,
                100.0 * phases.flowMs / inProcess);
    return 0;
}
