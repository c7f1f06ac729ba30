#include "ui/host_operation.h"

#include "ui/pass_manager_panel.h"

namespace {

void enableControls(const UiState& ui, bool enable) {
    // The Files page too: an opened image or flow would replace what the host
    // operation works on.
    for (HWND control :
         {ui.grabButton, ui.sendButton, ui.grabSampleButton, ui.launchButton, ui.addButton,
          ui.kindSelector, ui.angleTrackbar, ui.angleBox, ui.wrapAroundBox, ui.openImageButton,
          ui.saveResultButton, ui.saveFlowButton, ui.loadFlowButton, ui.recentFlows}) {
        if (control != nullptr) EnableWindow(control, enable ? TRUE : FALSE);
    }
    if (ui.removeButton != nullptr) {
        EnableWindow(ui.removeButton, enable && canRemoveSelected(ui.passList) ? TRUE : FALSE);
    }
}

}  // namespace

HostOperationScope::HostOperationScope(UiState& ui) : ui_(ui) {
    ui_.hostBusy = true;
    enableControls(ui_, false);
}

HostOperationScope::~HostOperationScope() {
    ui_.hostBusy = false;
    enableControls(ui_, true);
    if (ui_.filesPage != nullptr) SendMessageW(ui_.filesPage, kSourceMayHaveChanged, 0, 0);
    if (ui_.closePending) {
        ui_.closePending = false;
        PostMessageA(ui_.mainWindow, WM_CLOSE, 0, 0);
    }
}

bool hostOperationRunning(const UiState& ui) {
    return ui.hostBusy;
}
