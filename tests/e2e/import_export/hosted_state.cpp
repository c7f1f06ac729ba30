#include "hosted_state.h"

HostedRun::HostedRun(const std::vector<std::string>& switches) {
    // A starting host sends to every top-level window and waits for the answer,
    // which a test thread blocked in a start-up wait never gives: so the sample
    // is read, and the host started, before the owner window exists.
    pristineSample();
    std::vector<std::string> arguments = {"--sample", "--dump", folder_.file("dump")};
    arguments.insert(arguments.end(), switches.begin(), switches.end());
    host_ = std::make_unique<HostSimProcess>(arguments);
    if (!host_->serving()) return;
    ready_ = HostConnect(state.link, kHostService, kHostTopic);
    owner_ = std::make_unique<OwnerWindow>();
    ready_ = ready_ && owner_->handle() != nullptr;
    state.initialised = ready_;
}

void HostedRun::finish() {
    if (finished_) return;
    finished_ = true;
    HostDisconnect(state.link);
    host_->stop();
    dump_ = readDump(folder_.file("dump"));
}
