#include "host/export_steps.h"

#include <climits>
#include <cstring>

#include "base/bounded_format.h"
#include "base/log.h"
#include "host/clipboard.h"
#include "host/commands.h"

namespace {

constexpr std::size_t kReceiveReplyCapacity = 128;

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

// Whether the caller asked the export to stop; if so it is stopped now.
bool stopAsked(ExportProgress* progress) {
    if (progress == nullptr || !progress->cancelRequested) return false;
    progress->cancelled = true;
    return true;
}

void logStop(const ErrorText& error) {
    logFormat("%s\n", error.text);
}

// Before a command that gives the new project its first or a further layer,
// while it holds `held` of `layers`: false with the cancel message, or the
// command is reported.
bool preparationGoesOn(ExportProgress* progress, int held, int layers, ErrorText& error) {
    if (stopAsked(progress)) {
        error.set("Batch cancelled while preparing the new project (layer %d of %d)", held, layers);
        logStop(error);
        return false;
    }
    if (progress != nullptr && progress->preparing) progress->preparing(held + 1, layers);
    return true;
}

}  // namespace

bool readHostCounts(PluginState& state, ExportPlan& plan, ErrorText& error) {
    if (state.chain.displayedImage() == nullptr) {
        logLine("ERROR:nothing to send");
        error.set("ERROR: nothing to send: grab an image first");
        return false;
    }
    HostLink& link = state.link;
    if (!QueryNumber(link, "GetCurrentProject", plan.sourceProject, error) ||
        !QueryNumber(link, "GetFrameCount", plan.frameCount, error) ||
        !QueryNumber(link, "GetNumberOfLayers", plan.layerCount, error) ||
        !QueryNumber(link, "GetDisplayFrameNumber", plan.shownFrame, error) ||
        !QueryNumber(link, "GetActiveLayerNumber", plan.activeLayer, error)) {
        return false;
    }
    logFormat("Active layer --------------- %d\n", plan.activeLayer);
    return true;
}

bool prepareNewProject(PluginState& state, ExportPlan& plan, ErrorText& error,
                       ExportProgress* progress) {
    const IndexedImage* shown = state.chain.displayedImage();
    if (shown == nullptr) {
        logLine("ERROR:nothing to send");
        return false;
    }
    const int layers = plan.allLayers ? plan.layerCount : 1;
    // Made and named in one go: a project left behind unnamed could not be told apart.
    if (!preparationGoesOn(progress, 0, layers, error)) return false;
    char command[kCommandBytes];
    formatBounded(command, sizeof command, "New(%d,%d,%d)", plan.newFrameCount, shown->width,
                  shown->height);
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
    for (int expected = 1; expected < plan.layerCount; ++expected) {
        if (!preparationGoesOn(progress, expected, layers, error)) return false;
        int added = 0;
        if (!QueryNumber(state.link, "AddAnimationLayer", added, error)) return false;
        if (added != expected) {
            error.set("Failed to add a new layer (%d)\n", expected);
            return false;
        }
    }
    return true;
}

PairRun::PairRun(ExportProgress* progress, int frames, int layers)
    : progress_(progress), frames_(frames), layers_(layers) {}

bool PairRun::goesOn(ErrorText& error) {
    if (!stopAsked(progress_)) return true;
    // The host's counts may be anywhere in the int range.
    const std::int64_t pairs = std::int64_t{frames_} * layers_;
    error.set("Batch cancelled after %d of %d frames", sent_,
              static_cast<int>(pairs < INT_MAX ? pairs : INT_MAX));
    logStop(error);
    return false;
}

bool PairRun::mayStart(int frame, int layer, ErrorText& error) {
    if (!goesOn(error)) return false;
    if (progress_ != nullptr && progress_->beforePair)
        progress_->beforePair(frame, frames_, layer, layers_);
    return true;
}

bool PairRun::deliver(PluginState& state, HWND owner, int frame, int layer, ErrorText& error) {
    const IndexedImage* shown = state.chain.displayedImage();
    if (shown == nullptr || !PutImageOnClipboard(*shown, owner)) {
        logLine("ERROR: Failed to send bitmap to clipboard");
        error.set("ERROR: frame %d, layer %d could not be put on the clipboard", frame, layer);
        return false;
    }
    ++sent_;
    if (!HostExecute(state.link, kImageServerItem, "ReceiveFrame")) {
        ++unconfirmed_;
        return true;
    }
    char reply[kReceiveReplyCapacity + 1] = {};
    if (!HostRequest(state.link, kImageServerItem, reply, kReceiveReplyCapacity)) {
        ++unconfirmed_;
    }
    reply[kReceiveReplyCapacity] = '\0';
    logFormat("returned value for receive frame = %s\n", reply);
    if (std::strncmp(reply, "ERROR", 5) != 0) return true;
    error.set("%s", reply);
    return false;
}

bool PairRun::confirmed(ErrorText& error) const {
    if (unconfirmed_ == 0) return true;
    error.set("ERROR: the host did not confirm %d of %d frames", unconfirmed_, sent_);
    return false;
}

bool setFrameDelay(HostLink& link, int delay, ErrorText& error) {
    char command[kCommandBytes];
    formatBounded(command, sizeof command, "SetCurrentDelay(%d)", delay);
    int reply = 0;
    if (!QueryNumber(link, command, reply, error)) return false;
    if (reply != delay) {
        error.set("Failed to set frame delay");
        return false;
    }
    return true;
}
