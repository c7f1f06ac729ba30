#pragma once
// The application state connected to a running stand-in host (hostsim.exe
// --sample with --log and --dump, plus a test's switches), with a hidden
// top-level window of the test's own as owner, and the host's files after it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "e2e_files.h"
#include "host/error_text.h"
#include "host/plugin_state.h"
#include "host_sim_process.h"
#include "owner_window.h"
#include "sample_dump.h"

class HostedRun {
  public:
    explicit HostedRun(const std::vector<std::string>& switches = {});
    ~HostedRun() { finish(); }
    HostedRun(const HostedRun&) = delete;
    HostedRun& operator=(const HostedRun&) = delete;

    bool ready() const { return ready_; }
    // Disconnects, closes the host (which writes its dump), reads log and dump.
    void finish();
    HWND owner() const { return owner_ ? owner_->handle() : nullptr; }
    const HostDump& dump() const { return dump_; }

    PluginState state;
    ErrorText error;

  private:
    TempFolder folder_;
    std::unique_ptr<HostSimProcess> host_;
    std::unique_ptr<OwnerWindow> owner_;
    bool ready_ = false;
    bool finished_ = false;
    HostDump dump_;
};
