#include "hosted_state.h"

#include <cstring>

namespace {

std::unique_ptr<HostDump> readPristineSample() {
    TempFolder folder;
    const std::string dumpFolder = folder.file("dump");
    CreateDirectoryA(dumpFolder.c_str(), nullptr);
    {
        HostSimProcess host({"--sample", "--dump", dumpFolder});
        EXPECT_TRUE(host.serving()) << host.problem();
        host.stop();
    }
    return std::make_unique<HostDump>(readDump(dumpFolder));
}

}  // namespace

HostedRun::HostedRun(const std::vector<std::string>& hostOptions) {
    // A starting host sends to every top-level window and waits for the answer,
    // which a test thread blocked in a start-up wait never gives: so the
    // sample is read, and the host started, before the owner window exists.
    pristineSample();
    const std::string dumpFolder = folder_.file("dump");
    CreateDirectoryA(dumpFolder.c_str(), nullptr);
    std::vector<std::string> arguments = {"--sample", "--log", folder_.file("commands.log"),
                                          "--dump", dumpFolder};
    arguments.insert(arguments.end(), hostOptions.begin(), hostOptions.end());
    host_ = std::make_unique<HostSimProcess>(arguments);
    if (!host_->serving()) return;
    ready_ = HostConnect(state.link, kHostService, kHostTopic);
    owner_ = std::make_unique<OwnerWindow>();
    ready_ = ready_ && owner_->handle() != nullptr;
    state.initialised = ready_;
}

HostedRun::~HostedRun() {
    finish();
}

std::string HostedRun::problem() const {
    if (!host_->serving()) return "host: " + host_->problem();
    if (owner() == nullptr) return "no owner window";
    return "DdeConnect to the host failed";
}

void HostedRun::finish() {
    if (finished_) return;
    finished_ = true;
    HostDisconnect(state.link);
    host_->stop();
    commands_ = readLines(folder_.file("commands.log"));
    dump_ = readDump(folder_.file("dump"));
}

const HostDump& pristineSample() {
    static const std::unique_ptr<HostDump> sample = readPristineSample();
    return *sample;
}

int sampleProjectId() {
    const HostDump& sample = pristineSample();
    return sample.projects.empty() ? -1 : sample.projects.begin()->first;
}

testing::AssertionResult sameImage(const IndexedImage& actual, const IndexedImage& expected) {
    if (!actual.valid || !expected.valid)
        return testing::AssertionFailure() << "an image is not valid";
    if (actual.width != expected.width || actual.height != expected.height) {
        return testing::AssertionFailure() << actual.width << "x" << actual.height << " instead of "
                                           << expected.width << "x" << expected.height;
    }
    if (std::memcmp(actual.palette(), expected.palette(), kPaletteBytes) != 0) {
        return testing::AssertionFailure() << "palettes differ";
    }
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (actual.row(y)[x] != expected.row(y)[x]) {
                return testing::AssertionFailure()
                       << "pixel " << x << "," << y << " (memory row) is " << int{actual.row(y)[x]}
                       << " instead of " << int{expected.row(y)[x]};
            }
        }
    }
    return testing::AssertionSuccess();
}

std::unique_ptr<IndexedImage> copyImage(HWND owner, const IndexedImage& image) {
    auto copy = std::make_unique<IndexedImage>(owner, image.width, image.height, image.palette());
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(copy->row(y), image.row(y), static_cast<std::size_t>(image.stride()));
    }
    return copy;
}
