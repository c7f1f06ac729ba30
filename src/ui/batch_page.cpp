#include "host/export.h"
#include "host/frame_import.h"
#include "passes/redraw.h"
#include "ui/source_page.h"
#include "ui/source_pages.h"
#include "ui/window_class.h"

namespace {

constexpr int kGrabSampleId = 100;
constexpr int kLaunchId = 102;
constexpr int kNewProjectId = 116;
constexpr int kAllLayersId = 117;
constexpr int kAllFramesId = 118;

}  // namespace

void BatchPage::create(HWND tabControl, const RECT& pageRect, HBRUSH background) {
    registerPanelClass(ui_.instance,
                       {L"DataBatchPanelClass", panelProcedure<BatchPage>, IDC_ARROW, background});
    // Hidden until its tab is chosen.
    const auto instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(tabControl, GWLP_HINSTANCE));
    HWND page =
        CreateWindowExW(0, L"DataBatchPanelClass", L"", WS_CHILD, pageRect.left, pageRect.top,
                        pageRect.right - pageRect.left, pageRect.bottom - pageRect.top, tabControl,
                        nullptr, instance, this);
    ui_.batchPage = page;
    const InnerBand band = createPageFrame(page, L"Grab sample image", kGrabSampleId, L"Process",
                                           &ui_.grabSampleButton);
    createCheckedBox(page, L"As new project", band, 39, kNewProjectId);
    createCheckedBox(page, L"All layers", band, 59, kAllLayersId);
    createCheckedBox(page, L"All frames", band, 79, kAllFramesId);
    ui_.launchButton = createHostButton(page, L"Launch process", band, 99, kLaunchId);
}

// The batch imports evaluate with the main window as owner, and redrawing the
// main window leaves its children alone; without this the preview would keep
// showing an image that is no longer the displayed one.
void BatchPage::showResult() const {
    redrawWindowNow(ui_.preview);
}

bool BatchPage::handle(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return false;
    switch (LOWORD(wParam)) {
        case kGrabSampleId:
            runHostOperation(ui_, window, kImportFailureCaption, [&](ErrorText& error) {
                const bool imported = ImportDisplayedImage(state_, ui_.mainWindow, error);
                showResult();
                return imported;
            });
            break;
        case kLaunchId: {
            const bool newProject = isChecked(window, kNewProjectId);
            const bool allLayers = isChecked(window, kAllLayersId);
            const bool allFrames = isChecked(window, kAllFramesId);
            runHostOperation(ui_, window, kExportFailureCaption, [&](ErrorText& error) {
                const bool exported =
                    ExportBatch(state_, ui_.mainWindow, newProject, allLayers, allFrames, error);
                showResult();
                return exported;
            });
            break;
        }
        case kNewProjectId:
        case kAllLayersId:
        case kAllFramesId:
            toggleCheckBox(window, LOWORD(wParam));
            break;
        default:
            break;
    }
    return false;
}
