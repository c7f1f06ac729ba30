#pragma once
// Sends the displayed image (or, in batch mode, every frame and layer run
// through the chain) back to the host, into its current project or a new one.
#include <functional>

#include "host/error_text.h"
#include "host/plugin_state.h"

// Follows a running export and stops it in any phase. The export runs on the
// window thread and dispatches messages while it waits for the host, so a
// button or key handled meanwhile can ask it to stop.
struct ExportProgress {
    // While a new project is prepared, before the command that makes it and
    // before each that adds a layer: the layers it holds once that command is
    // done, of all it gets, counting from 1. Costs no host command.
    std::function<void(int layer, int layers)> preparing;
    // Before each pair starts: the place of its frame among `frames` and of
    // its layer among `layers`, counting from 1. Costs no host command.
    std::function<void(int frame, int frames, int layer, int layers)> beforePair;
    // Checked before the new project is made, between the layers it is given,
    // before each pair and around a turn-table's import of a layer: what is in
    // flight completes (a pair, an import, the new project with its name), no
    // more commands follow.
    bool cancelRequested = false;
    // Set when the export stopped for that request; it then gives false with
    // "Batch cancelled while preparing the new project (layer %d of %d)" (the
    // layers the new project holds, of all it was to get) or, once the pairs
    // have begun, "Batch cancelled after %d of %d frames" (pairs delivered of
    // all pairs).
    bool cancelled = false;
};

bool ExportImage(PluginState& state, HWND owner, bool new_project, bool all_layers, bool all_frames,
                 bool batch, ErrorText& error, ExportProgress* progress = nullptr);
bool ExportSingle(PluginState& state, HWND owner, bool new_project, bool all_layers,
                  ErrorText& error);
bool ExportBatch(PluginState& state, HWND owner, bool new_project, bool all_layers, bool all_frames,
                 ErrorText& error, ExportProgress* progress = nullptr);
