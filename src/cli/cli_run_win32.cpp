#include "cli/cli_run.h"

#include "base/bounded_format.h"
#include "base/wide_text.h"
#include "cli/console_win32.h"
#include "cli/sheet.h"
#include "files/image_file.h"
#include "passes/turn_angle.h"

namespace {

constexpr const char* kTooLarge =
    " cannot be turned: the flow makes an image larger than Marlune can hold";

// Every view of one input, written as it is made: a view that cannot be made
// fails on the first one, before anything is written.
bool runJob(const CliJob& job, const Flow& flow, const CliOptions& options, PassChain& chain,
            std::string& error) {
    ImageFile file;
    if (!readImageFile(wideFromUtf8(job.input), nullptr, true, file, error)) return false;
    if (static_cast<int>(file.frames.size()) != job.frames) {
        error = "ERROR: " + job.input + " changed while it was being read";
        return false;
    }
    const int turns = options.turns > 0 ? options.turns : 1;
    std::unique_ptr<IndexedImage> sheet;
    std::size_t next = 0;
    for (int frame = 0; frame < job.frames; ++frame) {
        chain.dropImages();
        chain.setSource(std::move(file.frames[frame]));
        for (int k = 1; k <= turns; ++k) {
            chain.setRotationAngle(nullptr, turnAngle(flow.angle, k, turns));
            const IndexedImage* view = chain.displayedImage();
            if (view == nullptr) {
                error = "ERROR: " + job.input + kTooLarge;
                return false;
            }
            if (!options.sheet) {
                if (!writePngFile(wideFromUtf8(job.outputs[next++]), *view, file.alpha, error)) {
                    return false;
                }
                continue;
            }
            if (!sheet) sheet = makeSheet(*view, turns, job.frames);
            if (!sheet || !placeCell(*sheet, *view, turns, job.frames, k - 1, frame)) {
                error = "ERROR: " + job.input + kTooLarge + " (as a sheet)";
                return false;
            }
        }
    }
    return !sheet || writePngFile(wideFromUtf8(job.outputs.front()), *sheet, file.alpha, error);
}

}  // namespace

int runJobs(const std::vector<CliJob>& jobs, const Flow& flow, const CliOptions& options) {
    PassChain chain;
    applyFlow(chain, nullptr, flow);
    int failed = 0;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        if (!options.quiet && jobs.size() > 1) {
            char progress[40];
            formatBounded(progress, sizeof progress, "[%zu/%zu] ", i + 1, jobs.size());
            writeError(progress + jobs[i].input + "\n");
        }
        std::string error;
        if (!runJob(jobs[i], flow, options, chain, error)) {
            writeError(error + "\n");
            ++failed;
        }
    }
    return failed;
}
