#include "host/export.h"
#include "host/frame_import.h"
#include "host/turn_table.h"
#include "passes/redraw.h"
#include "ui/batch_progress.h"
#include "ui/source_page.h"
#include "ui/source_pages.h"
#include "ui/window_class.h"

namespace {

constexpr int kGrabSampleId = 100;
constexpr int kLaunchId = 102;
constexpr int kNewProjectId = 116;
constexpr int kAllLayersId = 117;
constexpr int kAllFramesId = 118;
constexpr int kStatusId = 126;
constexpr int kTurnsLabelId = 127;
constexpr int kTurnsBoxId = 128;
constexpr int kTurnsBoxLimit = 8;
constexpr const char* kCancelledCaption = "Marlune";

}  // namespace

void BatchPage::create(HWND tabControl, const RECT& pageRect, HBRUSH background) {
    registerPanelClass(ui_.instance,
                       {L"DataBatchPanelClass", panelProcedure<BatchPage>, IDC_ARROW, background});
    HWND page = createHiddenPage(tabControl, pageRect, L"DataBatchPanelClass", this);
    ui_.batchPage = page;
    const InnerBand band = createPageFrame(page, L"Grab sample image", kGrabSampleId, L"Process",
                                           &ui_.grabSampleButton);
    createCheckedBox(page, L"As new project", band, 39, kNewProjectId);
    createCheckedBox(page, L"All layers", band, 59, kAllLayersId);
    createCheckedBox(page, L"All frames", band, 79, kAllFramesId);
    ui_.launchButton = createHostButton(page, L"Launch process", band, 99, kLaunchId);
    ui_.batchStatus = createStatusText(page, band, 125, kStatusId);
    createChild(page, L"STATIC", L"Turns", 0, band.left, 143, 50, 16, kTurnsLabelId);
    ui_.turnsBox = createChild(page, L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                               band.left + 55, 141, 40, 18, kTurnsBoxId);
    SendMessageW(ui_.turnsBox, EM_SETLIMITTEXT, kTurnsBoxLimit, 0);
}

// The batch imports evaluate with the main window as owner, and redrawing the
// main window leaves its children alone; without this the preview would keep
// showing an image that is no longer the displayed one.
void BatchPage::showResult() const {
    redrawWindowNow(ui_.preview);
}

// The Turns box as a number of turns (0: off); invalid text is cleared.
int BatchPage::readTurns() const {
    char typed[kTurnsBoxLimit + 1] = {};
    GetWindowTextA(ui_.turnsBox, typed, sizeof typed);
    const int turns = parseTurns(typed);
    if (turns >= 0) return turns;
    SetWindowTextW(ui_.turnsBox, L"");
    return 0;
}

void BatchPage::launch(HWND window) {
    const bool newProject = isChecked(window, kNewProjectId);
    const bool allLayers = isChecked(window, kAllLayersId);
    const bool allFrames = isChecked(window, kAllFramesId);
    const int turns = readTurns();
    runHostOperation(ui_, window, kExportFailureCaption, [&](ErrorText& error) {
        ExportProgress progress;
        bool exported = false;
        {
            BatchProgressView view(ui_, progress);
            exported = turns > 0 ? ExportTurnTable(state_, ui_.mainWindow, turns, allLayers, error,
                                                   &progress)
                                 : ExportBatch(state_, ui_.mainWindow, newProject, allLayers,
                                               allFrames, error, &progress);
            showResult();
        }
        if (!progress.cancelled) return exported;
        // A cancel is the user's own wish, not a failure; after a close, no box at all.
        if (!ui_.closePending)
            MessageBoxA(window, error.text, kCancelledCaption, MB_ICONINFORMATION);
        return true;
    });
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
        case kLaunchId:
            // While a batch runs the button reads "Cancel".
            if (ui_.runningBatch != nullptr) {
                cancelRunningBatch(ui_);
            } else {
                launch(window);
            }
            break;
        case kTurnsBoxId:
            if (HIWORD(wParam) == EN_KILLFOCUS) readTurns();
            break;
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

BatchChoices BatchPage::choices() const {
    return {isChecked(ui_.batchPage, kNewProjectId), isChecked(ui_.batchPage, kAllLayersId),
            isChecked(ui_.batchPage, kAllFramesId), readTurns()};
}

void BatchPage::showChoices(const BatchChoices& choices) {
    const struct {
        int id;
        bool checked;
    } boxes[] = {{kNewProjectId, choices.newProject},
                 {kAllLayersId, choices.allLayers},
                 {kAllFramesId, choices.allFrames}};
    for (const auto& box : boxes) {
        CheckDlgButton(ui_.batchPage, box.id, box.checked ? BST_CHECKED : BST_UNCHECKED);
    }
    if (choices.turns > 0) {
        setLabelNumber(ui_.turnsBox, "%ld", choices.turns);
    } else {
        SetWindowTextW(ui_.turnsBox, L"");
    }
}
