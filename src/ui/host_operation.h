#pragma once
// Brackets one host operation (import or export). The operation waits for the
// host while dispatching messages, so without this a second press of a
// host button would start another conversation exchange inside the first,
// closing the window would free the images and the conversation under it, and
// an edit of the flow or the angle would change the frames still to come.
// Zoom and panning stay live.
#include "ui/ui_state.h"

class HostOperationScope {
  public:
    // Check `hostOperationRunning` first: scopes do not nest.
    explicit HostOperationScope(UiState& ui);
    // Re-enables the controls (Remove only when the selection is not "END");
    // a close held meanwhile is carried out once the caller has returned to
    // the message loop.
    ~HostOperationScope();
    HostOperationScope(const HostOperationScope&) = delete;
    HostOperationScope& operator=(const HostOperationScope&) = delete;

  private:
    UiState& ui_;
};

bool hostOperationRunning(const UiState& ui);
