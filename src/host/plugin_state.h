#pragma once
// The application-wide state the host operations work on: the chain (with the
// source image and the shared settings), the conversation, and the naming state.
#include <cstddef>

#include "host/host_link.h"
#include "passes/pass_chain.h"

constexpr std::size_t kBaseFileNameBytes = 257;  // up to 256 characters and a terminator

struct PluginState {
    PassChain chain;
    HostLink link;
    bool initialised = false;
    char baseFileName[kBaseFileNameBytes] = {};
    int exportCounter = 0;
};

// The start-up step: connects to the host; on success runs
// `createCheckerboard(owner)` (the preview's brush) and sets `initialised`.
// On failure logs "Kelvara is inactive!!" and gives false.
bool InitPlugin(PluginState& state, HWND owner, void (*createCheckerboard)(HWND owner));
