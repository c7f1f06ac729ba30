#include "base/log.h"
#include "host/plugin_state.h"

bool InitPlugin(PluginState& state, HWND owner, void (*createCheckerboard)(HWND owner)) {
    if (!HostConnect(state.link, kHostService, kHostTopic)) {
        logLine("Kelvara is inactive!!");
        return false;
    }
    if (createCheckerboard != nullptr) createCheckerboard(owner);
    state.initialised = true;
    return true;
}
