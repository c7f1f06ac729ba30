#pragma once
// A batch the user can watch and stop. For the length of one export: the
// page's status text follows the new project's preparation, then the pairs;
// the launch button reads "Cancel" and stays enabled; the taskbar button shows
// the share of pairs done where the system offers it (ITaskbarList3).
// Everything is put back at the end.
#include <shobjidl.h>

#include "base/com_ref.h"
#include "host/export.h"
#include "ui/ui_state.h"

class BatchProgressView {
  public:
    // Inside a HostOperationScope, which disabled the launch button.
    BatchProgressView(UiState& ui, ExportProgress& progress);
    ~BatchProgressView();
    BatchProgressView(const BatchProgressView&) = delete;
    BatchProgressView& operator=(const BatchProgressView&) = delete;

  private:
    void showPreparing(int layer, int layers);
    void show(int frame, int frames, int layer, int layers);

    UiState& ui_;
    ComRef<ITaskbarList3> taskbar_;  // null where the system offers none
    unsigned long long started_ = 0;  // pairs begun
};

// Asks the running batch, if any, to stop after the pair in flight.
void cancelRunningBatch(UiState& ui);

// "Sending…" under "Send image" while a single image goes out.
class SendingNote {
  public:
    explicit SendingNote(HWND status);
    ~SendingNote();
    SendingNote(const SendingNote&) = delete;
    SendingNote& operator=(const SendingNote&) = delete;

  private:
    HWND status_;
};
