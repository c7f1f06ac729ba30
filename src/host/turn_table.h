#pragma once
// A turn-table sheet: one frame seen from `turns` directions. A new project of
// `turns` frames gets, in frame k, the host's displayed frame run through the
// flow at the angle + (k - 1) * 360 / turns degrees, on the active layer or,
// with `all_layers`, on every layer, each frame with the source frame's delay.
// The host sees the commands of a batch into a new project, the import done
// once per layer. The user's angle is set back afterwards, whatever happens.
#include <string_view>

#include "host/export.h"
#include "passes/turn_angle.h"

// The number of turns as the user types it, spaces around allowed: blank or
// 1 is off (0), 2 to kMaxTurns a sheet of that many turns; anything else -1.
int parseTurns(std::string_view text);

// `turns` from 2 to kMaxTurns.
bool ExportTurnTable(PluginState& state, HWND owner, int turns, bool all_layers, ErrorText& error,
                     ExportProgress* progress = nullptr);
