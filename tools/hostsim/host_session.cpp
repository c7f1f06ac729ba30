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

}  // namespace

std::string HostSession::carryOut(const std::string& command, DibClipboard& clipboard) {
    if (const std::string* refusal = refusalFor(options_, command)) return *refusal;
    const Project* project = model_.current();
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
