#include "ui/pass_manager_panel.h"

#include "passes/pass_kinds.h"
#include "ui/host_operation.h"
#include "ui/window_class.h"

namespace {

constexpr int kKindSelectorId = 108;
constexpr int kAddId = 109;
constexpr int kRemoveId = 110;
constexpr int kPassListId = 111;

int listCount(HWND passList) {
    return static_cast<int>(SendMessageW(passList, LB_GETCOUNT, 0, 0));
}

// Each pass entry carries its kind index, so the flow can be read back.
void insertEntry(HWND passList, int position, int kind) {
    SendMessageW(passList, LB_INSERTSTRING, static_cast<WPARAM>(position),
                 reinterpret_cast<LPARAM>(passKindNames[kind]));
    SendMessageW(passList, LB_SETITEMDATA, static_cast<WPARAM>(position), kind);
}

}  // namespace

void PassManagerPanel::create(HWND main, HBRUSH background) {
    registerPanelClass(ui_.instance, {L"PassMgrPanelClass", panelProcedure<PassManagerPanel>,
                                      IDC_ARROW, background});
    HWND panel = createChild(main, L"PassMgrPanelClass", L"", 0, 490, 0, 200, 280, 0, this);
    ui_.passManager = panel;

    createChild(panel, L"Button", L"Transformation passes", BS_GROUPBOX, 0, 0, 200, 280, 0);
    ui_.passList = createChild(panel, L"ListBox", nullptr, WS_VSCROLL | WS_BORDER | LBS_NOTIFY, 10,
                               20, 170, 200, kPassListId);
    ui_.kindSelector =
        createChild(panel, L"combobox", nullptr, CBS_DROPDOWN, 10, 220, 120, 250, kKindSelectorId);
    ui_.addButton = createChild(panel, L"BUTTON", L"Add", WS_TABSTOP | BS_DEFPUSHBUTTON, 130, 220,
                                40, 24, kAddId);
    ui_.removeButton = createChild(panel, L"BUTTON", L"Remove", WS_TABSTOP | BS_DEFPUSHBUTTON, 10,
                                   250, 170, 24, kRemoveId);

    SendMessageW(ui_.passList, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(passKindNames[kPassKindCount]));
    SendMessageW(ui_.passList, LB_SETCURSEL, 0, 0);
    for (int kind = 0; kind < kPassKindCount; ++kind) {
        SendMessageW(ui_.kindSelector, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(passKindNames[kind]));
    }
    SendMessageW(ui_.kindSelector, CB_SETCURSEL, 0, 0);
    EnableWindow(ui_.removeButton, FALSE);
}

bool PassManagerPanel::handle(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return false;
    switch (LOWORD(wParam)) {
        case kAddId:
            add();
            break;
        case kRemoveId:
            remove();
            break;
        case kPassListId:
            updateRemoveButton();
            break;
        default:
            break;
    }
    return false;
}

bool canRemoveSelected(HWND passList) {
    const auto selection = static_cast<int>(SendMessageW(passList, LB_GETCURSEL, 0, 0));
    const int count = listCount(passList);
    return selection != LB_ERR && count != LB_ERR && count != selection + 1;
}

int PassManagerPanel::listSelection() const {
    return static_cast<int>(SendMessageW(ui_.passList, LB_GETCURSEL, 0, 0));
}

void PassManagerPanel::updateRemoveButton() {
    const bool removable = !hostOperationRunning(ui_) && canRemoveSelected(ui_.passList);
    EnableWindow(ui_.removeButton, removable ? TRUE : FALSE);
}

void PassManagerPanel::add() {
    // The flow stays as it is while a host operation runs (a batch uses one flow).
    if (hostOperationRunning(ui_)) return;
    const auto kind = static_cast<int>(SendMessageW(ui_.kindSelector, CB_GETCURSEL, 0, 0));
    if (kind < 0 || kind >= kPassKindCount) return;
    int position = listSelection();
    // With no selection the list would append while the chain would prepend;
    // treat it as "END" so both stay in step.
    if (position == LB_ERR) position = listCount(ui_.passList) - 1;
    insertEntry(ui_.passList, position, kind);
    state_.chain.insertPass(ui_.preview, position, kind);
}

void PassManagerPanel::remove() {
    if (hostOperationRunning(ui_) || !canRemoveSelected(ui_.passList)) return;
    const int position = listSelection();
    SendMessageW(ui_.passList, LB_DELETESTRING, static_cast<WPARAM>(position), 0);
    // The entry that followed, "END" at the latest.
    SendMessageW(ui_.passList, LB_SETCURSEL, static_cast<WPARAM>(position), 0);
    state_.chain.removePass(ui_.preview, position);
    updateRemoveButton();
}

std::vector<int> PassManagerPanel::kinds() const {
    std::vector<int> flow;
    for (int i = 0; i + 1 < listCount(ui_.passList); ++i) {
        flow.push_back(static_cast<int>(SendMessageW(ui_.passList, LB_GETITEMDATA, i, 0)));
    }
    return flow;
}

Flow PassManagerPanel::flow() const {
    const PassSettings& settings = state_.chain.settings();
    return {kinds(), settings.angleDegrees, settings.wrapAround != 0};
}

void PassManagerPanel::showFlow(const std::vector<int>& kinds) {
    SendMessageW(ui_.passList, LB_RESETCONTENT, 0, 0);
    SendMessageW(ui_.passList, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(passKindNames[kPassKindCount]));
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        insertEntry(ui_.passList, static_cast<int>(i), kinds[i]);
    }
    SendMessageW(ui_.passList, LB_SETCURSEL, kinds.size(), 0);
    updateRemoveButton();
}
