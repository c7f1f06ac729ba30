#pragma once
// What the import and export suites share: the application state connected to
// a running stand-in host, with a hidden top-level window of the test's own as
// owner, and the host's files (command log, dump) around one run.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "e2e_files.h"
#include "host/error_text.h"
#include "host/plugin_state.h"
#include "host_sim_process.h"
#include "owner_window.h"

// One stand-in host (hostsim.exe --sample with --log and --dump plus the
// test's options) and the application state connected to it.
class HostedRun {
  public:
    explicit HostedRun(const std::vector<std::string>& hostOptions = {});
    ~HostedRun();
    HostedRun(const HostedRun&) = delete;
    HostedRun& operator=(const HostedRun&) = delete;

    // True when the host serves and the link is connected.
    bool ready() const { return ready_; }
    std::string problem() const;

    // Ends the conversation, closes the host (which writes its dump), then
    // reads the command log and the dump.
    void finish();
    HWND owner() const { return owner_ ? owner_->handle() : nullptr; }
    const std::vector<std::string>& commands() const { return commands_; }
    const HostDump& dump() const { return dump_; }

    PluginState state;
    ErrorText error;

  private:
    TempFolder folder_;
    std::unique_ptr<HostSimProcess> host_;
    std::unique_ptr<OwnerWindow> owner_;
    bool ready_ = false;
    bool finished_ = false;
    std::vector<std::string> commands_;
    HostDump dump_;
};

// The sample as the host holds it before any command: read once from a dump
// of a host that was started and closed.
const HostDump& pristineSample();
// The id of the sample project (the only project of the pristine dump).
int sampleProjectId();

// Same size, palette and visible pixels (row padding is not compared).
testing::AssertionResult sameImage(const IndexedImage& actual, const IndexedImage& expected);

// A new image for `owner` with the pixels and palette of `image`.
std::unique_ptr<IndexedImage> copyImage(HWND owner, const IndexedImage& image);
