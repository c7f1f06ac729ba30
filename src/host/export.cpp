#include "host/export.h"

#include <cstdint>
#include <cstring>

#include "base/bounded_format.h"
#include "base/log.h"
#include "host/clipboard.h"
#include "host/commands.h"
#include "host/frame_import.h"

namespace {

constexpr std::size_t kReceiveReplyCapacity = 128;

struct ExportPlan {
    bool newProject = false;
    bool allLayers = false;
    bool allFrames = false;
    bool batch = false;
    int sourceProject = 0;  // P
    int frameCount = 0;     // F
    int layerCount = 0;     // L
    int shownFrame = 0;     // D
    int activeLayer = 0;    // A
    int newProjectId = 0;   // N
};

// "SetCurrentFilename(%s_Marlune_%d)" with the base file name cut so that the
// whole command, closing parenthesis included, fits the command buffer.
void formatFilenameCommand(char* command, const char* baseName, int counter) {
    char digits[16];
    formatBounded(digits, sizeof digits, "%d", counter);
    constexpr std::size_t kFixedChars = sizeof "SetCurrentFilename(_Marlune_)" - 1;
    const std::size_t room = kCommandBytes - 1 - kFixedChars - std::strlen(digits);
    formatBounded(command, kCommandBytes, "SetCurrentFilename(%.*s_Marlune_%d)",
                  static_cast<int>(room), baseName, counter);
}

// Creates the new project, names it and gives it the source's layer count.
bool prepareNewProject(PluginState& state, ExportPlan& plan, ErrorText& error) {
    const IndexedImage* shown = state.chain.displayedImage();
    if (shown == nullptr) {
        logLine("ERROR:nothing to send");
        return false;
    }
    char command[kCommandBytes];
    formatBounded(command, sizeof command, "New(%d,%d,%d)", plan.allFrames ? plan.frameCount : 1,
                  shown->width, shown->height);
    int created = 0;
    if (!QueryNumber(state.link, command, created, error)) return false;
    if (created == -1) {
        error.set("Failed to create a new Kelvara project (%s)\n", command);
        return false;
    }
    logFormat("new project id = %d\n", created);

    int current = 0;
    if (!QueryNumber(state.link, "GetCurrentProject", current, error)) return false;
    // A host that reports a third project as current gets the images there.
    plan.newProjectId = current != plan.sourceProject && current != created ? current : created;
    // Naming, growing and filling the source itself would destroy the user's work.
    if (plan.newProjectId == plan.sourceProject) {
        error.set("Failed to create a new Kelvara project (%s)\n", command);
        return false;
    }
    if (!SwitchProject(state.link, plan.newProjectId, error)) return false;

    ++state.exportCounter;
    formatFilenameCommand(command, state.baseFileName, state.exportCounter);
    if (!SendCommand(state.link, command, error)) return false;

    if (!plan.allLayers) return true;
    for (std::int64_t expected = 1; expected < plan.layerCount; ++expected) {
        int added = 0;
        if (!QueryNumber(state.link, "AddAnimationLayer", added, error)) return false;
        if (added != expected) {
            error.set("Failed to add a new layer (%d)\n", static_cast<int>(expected));
            return false;
        }
    }
    return true;
}

// Pairs whose image went out with "ReceiveFrame", and those the host did not confirm.
struct Deliveries {
    int sent = 0;
    int unconfirmed = 0;
};

// The displayed image onto the clipboard, then "ReceiveFrame". A host may not
// acknowledge the receive: that is counted, and the export goes on; a refusal
// ("ERROR...") or an image that cannot be put on the clipboard ends it.
bool deliverDisplayedImage(PluginState& state, HWND owner, int frame, int layer,
                           Deliveries& deliveries, ErrorText& error) {
    const IndexedImage* shown = state.chain.displayedImage();
    if (shown == nullptr || !PutImageOnClipboard(*shown, owner)) {
        logLine("ERROR: Failed to send bitmap to clipboard");
        error.set("ERROR: frame %d, layer %d could not be put on the clipboard", frame, layer);
        return false;
    }
    ++deliveries.sent;
    if (!HostExecute(state.link, kImageServerItem, "ReceiveFrame")) {
        ++deliveries.unconfirmed;
        return true;
    }
    char reply[kReceiveReplyCapacity + 1] = {};
    if (!HostRequest(state.link, kImageServerItem, reply, kReceiveReplyCapacity)) {
        ++deliveries.unconfirmed;
    }
    reply[kReceiveReplyCapacity] = '\0';
    logFormat("returned value for receive frame = %s\n", reply);
    if (std::strncmp(reply, "ERROR", 5) != 0) return true;
    error.set("%s", reply);
    return false;
}

bool exportPair(PluginState& state, HWND owner, const ExportPlan& plan, int frame, int layer,
                Deliveries& deliveries, ErrorText& error) {
    if (plan.newProject && !SwitchProject(state.link, plan.sourceProject, error)) return false;
    int delay = -1;
    if (plan.batch) {
        if (!ImportImage(state, owner, frame, layer, error)) return false;
        if (!QueryNumber(state.link, "GetCurrentDelay", delay, error)) return false;
    }

    int targetFrame = frame;
    if (plan.newProject) {
        if (!SwitchProject(state.link, plan.newProjectId, error)) return false;
        targetFrame = plan.allFrames ? frame : 1;
    }
    if (!SwitchFrame(state.link, targetFrame, error)) return false;
    const int targetLayer = plan.newProject && !plan.allLayers ? 0 : layer;
    if (!SwitchLayer(state.link, targetLayer, error)) return false;

    if (!deliverDisplayedImage(state, owner, frame, layer, deliveries, error)) return false;

    if (!plan.newProject) return true;
    char command[kCommandBytes];
    formatBounded(command, sizeof command, "SetCurrentDelay(%d)", delay);
    int reply = 0;
    if (!QueryNumber(state.link, command, reply, error)) return false;
    if (reply != delay) {
        error.set("Failed to set frame delay");
        return false;
    }
    return true;
}

}  // namespace

bool ExportImage(PluginState& state, HWND owner, bool new_project, bool all_layers, bool all_frames,
                 bool batch, ErrorText& error) {
    logFormat("Export new_project: %d, all_layers: %d, all_frames: %d\n", new_project ? 1 : 0,
              all_layers ? 1 : 0, all_frames ? 1 : 0);
    if (state.chain.displayedImage() == nullptr) {
        logLine("ERROR:nothing to send");
        error.set("ERROR: nothing to send: grab an image first");
        return false;
    }

    ExportPlan plan;
    plan.newProject = new_project;
    plan.allLayers = all_layers;
    plan.allFrames = all_frames;
    plan.batch = batch;
    HostLink& link = state.link;
    if (!QueryNumber(link, "GetCurrentProject", plan.sourceProject, error) ||
        !QueryNumber(link, "GetFrameCount", plan.frameCount, error) ||
        !QueryNumber(link, "GetNumberOfLayers", plan.layerCount, error) ||
        !QueryNumber(link, "GetDisplayFrameNumber", plan.shownFrame, error) ||
        !QueryNumber(link, "GetActiveLayerNumber", plan.activeLayer, error)) {
        return false;
    }
    logFormat("Active layer --------------- %d\n", plan.activeLayer);
    // Refused before "New": an empty project would be made for nothing.
    if (all_frames && plan.frameCount <= 0) {
        error.set("ERROR: the project has no frames");
        return false;
    }
    if (all_layers && plan.layerCount <= 0) {
        error.set("ERROR: the project has no layers");
        return false;
    }

    if (new_project && !prepareNewProject(state, plan, error)) return false;

    // 64-bit bounds: the counts are the host's and may be anywhere in the int range.
    const std::int64_t firstFrame = all_frames ? 1 : plan.shownFrame;
    const std::int64_t lastFrame = all_frames ? plan.frameCount : plan.shownFrame;
    const std::int64_t firstLayer = all_layers ? 0 : plan.activeLayer;
    const std::int64_t lastLayer =
        all_layers ? std::int64_t{plan.layerCount} - 1 : plan.activeLayer;
    Deliveries deliveries;
    for (std::int64_t f = firstFrame; f <= lastFrame; ++f) {
        for (std::int64_t l = firstLayer; l <= lastLayer; ++l) {
            if (!exportPair(state, owner, plan, static_cast<int>(f), static_cast<int>(l),
                            deliveries, error)) {
                return false;
            }
        }
    }
    if (deliveries.unconfirmed == 0) return true;
    error.set("ERROR: the host did not confirm %d of %d frames", deliveries.unconfirmed,
              deliveries.sent);
    return false;
}

bool ExportSingle(PluginState& state, HWND owner, bool new_project, bool all_layers,
                  ErrorText& error) {
    return ExportImage(state, owner, new_project, all_layers, false, false, error);
}

bool ExportBatch(PluginState& state, HWND owner, bool new_project, bool all_layers, bool all_frames,
                 ErrorText& error) {
    return ExportImage(state, owner, new_project, all_layers, all_frames, true, error);
}
