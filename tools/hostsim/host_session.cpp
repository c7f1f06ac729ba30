#include "host_session.h"

namespace {

// Long replies are allowed for tests of the client's own bounds, up to this.
constexpr std::size_t kMaxReplyBytes = 64 * 1024;

// A clipboard that a stale "SendFrame" writes to: the real one keeps what it had.
class UntouchedClipboard final : public DibClipboard {
  public:
    bool put(const std::vector<std::uint8_t>&) override { return true; }
    bool take(std::vector<std::uint8_t>&) override { return false; }
};

// "New(F,W,H)" making `frames` frames instead of F.
std::string withFrames(const std::string& command, int frames) {
    const std::size_t comma = command.find(',');
    if (comma == std::string::npos) return command;
    return "New(" + std::to_string(frames) + command.substr(comma);
}

}  // namespace

// The number of one more layer, counted and never made, so that a host
// claiming a hundred thousand layers holds no more pixels than before.
std::string HostSession::claimLayer(const Project& project) {
    int& claimed = claimedLayers_[project.id];
    const int number = project.layerCount() + claimed;
    if (number >= options_.claimedLayers) return "ERROR: too many layers";
    ++claimed;
    return std::to_string(number);
}

std::string HostSession::carryOut(const std::string& command, DibClipboard& clipboard) {
    if (const std::string* refusal = refusalFor(options_, command)) return *refusal;
    const Project* project = model_.current();
    if (options_.claimedLayers > 0 && project != nullptr) {
        if (command == "GetNumberOfLayers") return std::to_string(options_.claimedLayers);
        if (command == "AddAnimationLayer") return claimLayer(*project);
    }
    if (options_.newFrames > 0 && commandMatches(command, "New(")) {
        return runHostCommand(model_, withFrames(command, options_.newFrames), clipboard,
                              options_.dib);
    }
    if (command == "SendFrame" && project != nullptr &&
        project->currentFrame == options_.staleFrame) {
        UntouchedClipboard untouched;
        return runHostCommand(model_, command, untouched, options_.dib);
    }
    return runHostCommand(model_, command, clipboard, options_.dib);
}

void HostSession::complete(const std::string& command, DibClipboard& clipboard) {
    ++done_;
    reply_ = shapeReply(options_, command, carryOut(command, clipboard));
    if (reply_.size() > kMaxReplyBytes) reply_.resize(kMaxReplyBytes);
    withheld_ = withholdsReply(options_, command);
}
