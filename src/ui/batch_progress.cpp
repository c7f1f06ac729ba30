#include "ui/batch_progress.h"

#include "base/bounded_format.h"

BatchProgressView::BatchProgressView(UiState& ui, ExportProgress& progress) : ui_(ui) {
    progress.preparing = [this](int layer, int layers) { showPreparing(layer, layers); };
    progress.beforePair = [this](int frame, int frames, int layer, int layers) {
        show(frame, frames, layer, layers);
    };
    ui_.runningBatch = &progress;
    SetWindowTextW(ui_.launchButton, L"Cancel");
    EnableWindow(ui_.launchButton, TRUE);
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ITaskbarList3, reinterpret_cast<void**>(taskbar_.put()))) ||
        FAILED(taskbar_->HrInit())) {
        taskbar_.reset();
    }
}

BatchProgressView::~BatchProgressView() {
    ui_.runningBatch = nullptr;
    SetWindowTextW(ui_.launchButton, L"Launch process");
    EnableWindow(ui_.launchButton, FALSE);  // until the host operation ends
    SetWindowTextW(ui_.batchStatus, L"");
    if (taskbar_) taskbar_->SetProgressState(ui_.mainWindow, TBPF_NOPROGRESS);
}

void BatchProgressView::show(int frame, int frames, int layer, int layers) {
    char text[96];
    formatBounded(text, sizeof text, "Frame %d of %d, layer %d of %d", frame, frames, layer,
                  layers);
    SetWindowTextA(ui_.batchStatus, text);
    if (taskbar_) {
        const auto total = static_cast<unsigned long long>(frames) * layers;
        taskbar_->SetProgressValue(ui_.mainWindow, started_++, total);
    }
}

void BatchProgressView::showPreparing(int layer, int layers) {
    char text[96];
    formatBounded(text, sizeof text, "Preparing the new project: layer %d of %d", layer, layers);
    SetWindowTextA(ui_.batchStatus, text);
}

void cancelRunningBatch(UiState& ui) {
    if (ui.runningBatch != nullptr) ui.runningBatch->cancelRequested = true;
}

SendingNote::SendingNote(HWND status) : status_(status) {
    SetWindowTextW(status_, L"Sending\u2026");
    UpdateWindow(status_);
}

SendingNote::~SendingNote() {
    SetWindowTextW(status_, L"");
}
