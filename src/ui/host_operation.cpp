#include "ui/host_operation.h"

namespace {

void enableHostButtons(const UiState& ui, BOOL enable) {
    for (HWND button : {ui.grabButton, ui.sendButton, ui.grabSampleButton, ui.launchButton}) {
        if (button != nullptr) EnableWindow(button, enable);
    }
}

}  // namespace

HostOperationScope::HostOperationScope(UiState& ui) : ui_(ui) {
    ui_.hostBusy = true;
    enableHostButtons(ui_, FALSE);
}

HostOperationScope::~HostOperationScope() {
    ui_.hostBusy = false;
    enableHostButtons(ui_, TRUE);
    if (ui_.closePending) {
        ui_.closePending = false;
        PostMessageA(ui_.mainWindow, WM_CLOSE, 0, 0);
    }
}

bool hostOperationRunning(const UiState& ui) {
    return ui.hostBusy;
}
