#pragma once
// Sends the displayed image (or, in batch mode, every frame and layer run
// through the chain) back to the host, into its current project or a new one.
#include "host/error_text.h"
#include "host/plugin_state.h"

bool ExportImage(PluginState& state, HWND owner, bool new_project, bool all_layers, bool all_frames,
                 bool batch, ErrorText& error);
bool ExportSingle(PluginState& state, HWND owner, bool new_project, bool all_layers,
                  ErrorText& error);
bool ExportBatch(PluginState& state, HWND owner, bool new_project, bool all_layers, bool all_frames,
                 ErrorText& error);
