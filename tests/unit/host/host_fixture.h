#pragma once
// The host tests' set-up: the stand-in host's own model, commands and fault
// switches, linked in place of the DDEML link and the Win32 clipboard (so the
// host logic talks to the code hostsim.exe runs), with one project, the
// application state wired to it, the flow's reference results and the log.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "frame_dib.h"
#include "host/error_text.h"
#include "host/plugin_state.h"
#include "host_session.h"

// The one clipboard both sides share. Every put changes its sequence number.
struct MemoryClipboard final : DibClipboard {
    bool put(const std::vector<std::uint8_t>& block) override {
        content = block;
        ++sequence;
        return true;
    }
    bool take(std::vector<std::uint8_t>& block) override {
        if (content) block = *content;
        return content.has_value();
    }

    std::optional<std::vector<std::uint8_t>> content;
    std::uint32_t sequence = 1;
};

struct SimHost {
    SimHost();  // the host the link talks to until destroyed
    ~SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    // Adds hostsim's command-line switches, and faults of this program's own
    // side: "--fail-clipboard-open", "--fail-clipboard-write", and
    // "--empty-clipboard" (the host empties it instead of putting the frame).
    void use(const std::vector<std::string>& switches);

    HostModel model;
    HostOptions options;
    HostSession session{model, options};
    MemoryClipboard clipboard;
    std::vector<std::string> commands;  // every execute's text, in order
    std::function<void(const std::string& command)> afterCommand;
    bool reachable = true;
    bool clipboardOpenFails = false;
    bool clipboardWriteFails = false;
    bool emptiesClipboard = false;
};

// The image as the host holds a layer: top row first, no padding.
LayerPixels layerOf(const IndexedImage& image);
void buildFlow(PassChain& chain, const std::vector<int>& kinds, int angle);

class HostTest : public testing::Test {
  public:
    static constexpr int kSource = 1;  // 3 frames x 2 layers of 5 x 3, showing frame 2, layer 1

    void SetUp() override;
    // Failure messages went into the captured log too: shown when one failed.
    void TearDown() override {
        if (!logTaken) taken = testing::internal::GetCapturedStdout();
        if (HasFailure()) std::cout << taken;
    }
    // The log so far, one entry per line, without the image reader's header
    // lines. Once per test.
    std::vector<std::string> logLines();
    // What the flow makes of the source's frame and layer, on a chain of its own.
    LayerPixels throughFlow(const std::vector<int>& kinds, int angle, int frame, int layer);

    SimHost host;
    Project sourceBefore;
    PluginState state;
    ErrorText error;

  private:
    bool logTaken = false;
    std::string taken;
};
