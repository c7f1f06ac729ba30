#pragma once
// A turn-table sheet: one frame seen from `turns` directions. A new project of
// `turns` frames gets, in frame k, the host's displayed frame run through the
// flow at the angle + (k - 1) * 360 / turns degrees, on the active layer or,
// with `all_layers`, on every layer, each frame with the source frame's delay.
// The host sees the commands of a batch into a new project, the import done
// once per layer. The user's angle is set back afterwards, whatever happens.
#include "host/export.h"

constexpr int kMaxTurns = 64;

// `turns` from 2 to kMaxTurns.
bool ExportTurnTable(PluginState& state, HWND owner, int turns, bool all_layers, ErrorText& error,
                     ExportProgress* progress = nullptr);
