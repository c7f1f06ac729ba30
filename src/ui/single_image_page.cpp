#include "host/export.h"
#include "host/frame_import.h"
#include "ui/batch_progress.h"
#include "ui/source_page.h"
#include "ui/source_pages.h"
#include "ui/window_class.h"

namespace {

constexpr int kGrabId = 100;
constexpr int kSendId = 101;
constexpr int kNewProjectId = 115;
constexpr int kStatusId = 126;

}  // namespace

void SingleImagePage::create(HWND tabControl, const RECT& pageRect, HBRUSH background) {
    registerPanelClass(ui_.instance, {L"DataImagePanelClass", panelProcedure<SingleImagePage>,
                                      IDC_ARROW, background});
    HWND page =
        createChild(tabControl, L"DataImagePanelClass", L"", 0, pageRect.left, pageRect.top,
                    pageRect.right - pageRect.left, pageRect.bottom - pageRect.top, 0, this);
    ui_.singlePage = page;
    const InnerBand band =
        createPageFrame(page, L"Grab image", kGrabId, L"Export", &ui_.grabButton);
    createCheckedBox(page, L"As new project", band, 48, kNewProjectId);
    ui_.sendButton = createHostButton(page, L"Send image", band, 68, kSendId);
    ui_.sendStatus = createStatusText(page, band, 94, kStatusId);
}

bool SingleImagePage::handle(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return false;
    switch (LOWORD(wParam)) {
        case kGrabId:
            runHostOperation(ui_, window, kImportFailureCaption, [&](ErrorText& error) {
                return ImportDisplayedImage(state_, ui_.preview, error);
            });
            break;
        case kSendId: {
            const bool newProject = isChecked(window, kNewProjectId);
            runHostOperation(ui_, window, kExportFailureCaption, [&](ErrorText& error) {
                const SendingNote note(ui_.sendStatus);
                return ExportSingle(state_, ui_.mainWindow, newProject, false, error);
            });
            break;
        }
        case kNewProjectId:
            toggleCheckBox(window, kNewProjectId);
            break;
        default:
            break;
    }
    return false;
}

bool SingleImagePage::newProject() const {
    return isChecked(ui_.singlePage, kNewProjectId);
}

void SingleImagePage::showNewProject(bool checked) {
    CheckDlgButton(ui_.singlePage, kNewProjectId, checked ? BST_CHECKED : BST_UNCHECKED);
}
