#include "host/export.h"

#include <cstdint>

#include "base/log.h"
#include "host/commands.h"
#include "host/export_steps.h"
#include "host/frame_import.h"

namespace {

struct PairTarget {
    bool newProject = false;
    bool allFrames = false;
    bool batch = false;
};

bool exportPair(PluginState& state, HWND owner, const ExportPlan& plan, PairTarget target,
                int frame, int layer, PairRun& run, ErrorText& error) {
    if (target.newProject && !SwitchProject(state.link, plan.sourceProject, error)) return false;
    int delay = -1;
    if (target.batch) {
        if (!ImportImage(state, owner, frame, layer, error)) return false;
        if (!QueryNumber(state.link, "GetCurrentDelay", delay, error)) return false;
    }

    int targetFrame = frame;
    if (target.newProject) {
        if (!SwitchProject(state.link, plan.newProjectId, error)) return false;
        targetFrame = target.allFrames ? frame : 1;
    }
    if (!SwitchFrame(state.link, targetFrame, error)) return false;
    const int targetLayer = target.newProject && !plan.allLayers ? 0 : layer;
    if (!SwitchLayer(state.link, targetLayer, error)) return false;

    if (!run.deliver(state, owner, frame, layer, error)) return false;
    return !target.newProject || setFrameDelay(state.link, delay, error);
}

}  // namespace

bool ExportImage(PluginState& state, HWND owner, bool new_project, bool all_layers, bool all_frames,
                 bool batch, ErrorText& error, ExportProgress* progress) {
    logFormat("Export new_project: %d, all_layers: %d, all_frames: %d\n", new_project ? 1 : 0,
              all_layers ? 1 : 0, all_frames ? 1 : 0);

    ExportPlan plan;
    plan.allLayers = all_layers;
    if (!readHostCounts(state, plan, error)) return false;
    // Refused before "New": an empty project would be made for nothing.
    if (all_frames && plan.frameCount <= 0) {
        error.set("ERROR: the project has no frames");
        return false;
    }
    if (all_layers && plan.layerCount <= 0) {
        error.set("ERROR: the project has no layers");
        return false;
    }

    plan.newFrameCount = all_frames ? plan.frameCount : 1;
    if (new_project && !prepareNewProject(state, plan, error, progress)) return false;

    // 64-bit bounds: the counts are the host's and may be anywhere in the int range.
    const std::int64_t firstFrame = all_frames ? 1 : plan.shownFrame;
    const std::int64_t lastFrame = all_frames ? plan.frameCount : plan.shownFrame;
    const std::int64_t firstLayer = all_layers ? 0 : plan.activeLayer;
    const std::int64_t lastLayer =
        all_layers ? std::int64_t{plan.layerCount} - 1 : plan.activeLayer;
    PairRun run(progress, static_cast<int>(lastFrame - firstFrame + 1),
                static_cast<int>(lastLayer - firstLayer + 1));
    for (std::int64_t f = firstFrame; f <= lastFrame; ++f) {
        for (std::int64_t l = firstLayer; l <= lastLayer; ++l) {
            if (!run.mayStart(static_cast<int>(f - firstFrame + 1),
                              static_cast<int>(l - firstLayer + 1), error) ||
                !exportPair(state, owner, plan, {new_project, all_frames, batch},
                            static_cast<int>(f), static_cast<int>(l), run, error)) {
                return false;
            }
        }
    }
    return run.confirmed(error);
}

bool ExportSingle(PluginState& state, HWND owner, bool new_project, bool all_layers,
                  ErrorText& error) {
    return ExportImage(state, owner, new_project, all_layers, false, false, error);
}

bool ExportBatch(PluginState& state, HWND owner, bool new_project, bool all_layers, bool all_frames,
                 ErrorText& error, ExportProgress* progress) {
    return ExportImage(state, owner, new_project, all_layers, all_frames, true, error, progress);
}
