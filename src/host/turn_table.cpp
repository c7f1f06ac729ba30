#include "host/turn_table.h"

#include <charconv>
#include <cstdint>

#include "base/log.h"
#include "base/plain_text.h"
#include "host/commands.h"
#include "host/export_steps.h"
#include "host/frame_import.h"
#include "passes/turn_angle.h"

namespace {

// Puts the user's angle back when the sheet is done, so the preview shows
// what it showed before.
class AngleRestore {
  public:
    AngleRestore(PassChain& chain, HWND owner)
        : chain_(chain), owner_(owner), degrees_(chain.settings().angleDegrees) {}
    ~AngleRestore() { chain_.setRotationAngle(owner_, degrees_); }
    AngleRestore(const AngleRestore&) = delete;
    AngleRestore& operator=(const AngleRestore&) = delete;

    double turn(int k, int turns) const { return turnAngle(degrees_, k, turns); }

  private:
    PassChain& chain_;
    HWND owner_;
    double degrees_;
};

// Every turn of one source layer: imported once, then rotated and sent per
// frame. A cancel is honoured before the import and after it.
bool exportLayer(PluginState& state, HWND owner, const ExportPlan& plan, int turns, int layer,
                 int layerPlace, const AngleRestore& angle, PairRun& run, ErrorText& error) {
    int delay = 0;
    if (!run.goesOn(error) || !SwitchProject(state.link, plan.sourceProject, error) ||
        !ImportImage(state, owner, plan.shownFrame, layer, error) ||
        !QueryNumber(state.link, "GetCurrentDelay", delay, error) || !run.goesOn(error) ||
        !SwitchProject(state.link, plan.newProjectId, error)) {
        return false;
    }
    const int targetLayer = plan.allLayers ? layer : 0;
    for (int k = 1; k <= turns; ++k) {
        if (!run.mayStart(k, layerPlace, error)) return false;
        state.chain.setRotationAngle(owner, angle.turn(k, turns));
        if (!SwitchFrame(state.link, k, error) || !SwitchLayer(state.link, targetLayer, error) ||
            !run.deliver(state, owner, k, layer, error) ||
            !setFrameDelay(state.link, delay, error)) {
            return false;
        }
    }
    return true;
}

}  // namespace

int parseTurns(std::string_view text) {
    text = trimmed(text, " ");
    if (text.empty()) return 0;
    int turns = 0;
    const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), turns);
    if (problem != std::errc() || end != text.data() + text.size() || turns < 1 ||
        turns > kMaxTurns) {
        return -1;
    }
    return turns == 1 ? 0 : turns;
}

bool ExportTurnTable(PluginState& state, HWND owner, int turns, bool all_layers, ErrorText& error,
                     ExportProgress* progress) {
    logFormat("Turn-table: %d turns, all_layers: %d\n", turns, all_layers ? 1 : 0);
    ExportPlan plan;
    plan.allLayers = all_layers;
    plan.newFrameCount = turns;
    if (!readHostCounts(state, plan, error)) return false;
    if (all_layers && plan.layerCount <= 0) {
        error.set("ERROR: the project has no layers");
        return false;
    }
    AngleRestore angle(state.chain, owner);
    if (!prepareNewProject(state, plan, error, progress)) return false;

    const int firstLayer = all_layers ? 0 : plan.activeLayer;
    const int layers = all_layers ? plan.layerCount : 1;
    PairRun run(progress, turns, layers);
    // 64-bit: the layer count is the host's and may be the largest int.
    for (std::int64_t place = 1; place <= layers; ++place) {
        if (!exportLayer(state, owner, plan, turns, static_cast<int>(firstLayer + place - 1),
                         static_cast<int>(place), angle, run, error)) {
            return false;
        }
    }
    return run.confirmed(error);
}
