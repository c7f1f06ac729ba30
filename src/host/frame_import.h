#pragma once
// Makes one frame and layer of the host's current project the source image.
#include "host/error_text.h"
#include "host/plugin_state.h"

// Frames count from 1, layers from 0. `owner` owns the new image and is the
// window the chain's evaluation redraws.
bool ImportImage(PluginState& state, HWND owner, int frame, int layer, ErrorText& error);
// Imports the frame the host displays, on its active layer.
bool ImportDisplayedImage(PluginState& state, HWND owner, ErrorText& error);

// False, with the message set and logged, when the flow could not make its
// result from the source now in the chain (an output would be too large).
bool FlowResultMade(const PassChain& chain, ErrorText& error);
