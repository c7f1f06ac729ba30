#pragma once
// Shared set-up for the host tests: a scripted host with one project, the
// application state wired to it, and the diagnostic log of each test.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "host/plugin_state.h"
#include "scripted_host.h"

class HostTest : public testing::Test {
  protected:
    static constexpr int kSource = 7;  // the host's current project

    void SetUp() override {
        host.state = &state;
        state.initialised = true;
        testing::internal::CaptureStdout();
    }
    // Failure messages went into the capture too: show it all when one failed.
    void TearDown() override {
        if (!logTaken) taken += testing::internal::GetCapturedStdout();
        if (HasFailure()) std::cout << taken;
    }

    // Starts the log afresh (after a fixture's own set-up steps).
    void restartLog() {
        taken += testing::internal::GetCapturedStdout();
        testing::internal::CaptureStdout();
    }

    // The host operations' log so far, one entry per line, CR LF tolerated,
    // without the image model's header dump. Once per test.
    std::vector<std::string> logLines() {
        logTaken = true;
        const std::string text = testing::internal::GetCapturedStdout();
        taken += text;
        std::vector<std::string> out;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind("bi", 0) == 0) continue;
            out.push_back(line);
        }
        return out;
    }

    static bool contains(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    ScriptedHost host;
    PluginState state;
    ErrorText error;

  private:
    bool logTaken = false;
    std::string taken;
};
