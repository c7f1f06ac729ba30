#pragma once
// What the two source pages share: their geometry, the toggled check boxes,
// and running one host operation with its error box.
#include <windows.h>

#include "host/error_text.h"
#include "ui/host_operation.h"
#include "ui/ui_state.h"

// The band inside a page's group box where its controls go, in page coordinates.
struct InnerBand {
    int left = 0;
    int width = 0;
};

// A page that shows only once its tab is chosen: a child of the tab control
// at `pageRect`, of a class already registered; `panel` reaches its trampoline.
HWND createHiddenPage(HWND tabControl, const RECT& pageRect, const wchar_t* className, void* panel);

// The band inside `group`, a group box in `page`.
InnerBand bandInside(HWND group, HWND page);

// Creates the full-width button on top and the group box under it; gives the band.
InnerBand createPageFrame(HWND page, const wchar_t* buttonText, int buttonId,
                          const wchar_t* groupText, HWND* button);

// A check box the page toggles itself, created checked.
void createCheckedBox(HWND page, const wchar_t* text, const InnerBand& band, int y, int id);
void toggleCheckBox(HWND page, int id);
bool isChecked(HWND page, int id);

// A push button that starts a host operation.
HWND createHostButton(HWND page, const wchar_t* text, const InnerBand& band, int y, int id);

// An empty static text across the band, for what a running operation does.
HWND createStatusText(HWND page, const InnerBand& band, int y, int id);

// Runs `operation` with a fresh ErrorText unless another host operation is
// under way; a failure ends in one error box owned by the page.
template <class Operation>
void runHostOperation(UiState& ui, HWND page, const char* failureCaption, Operation operation);

constexpr const char* kImportFailureCaption = "Error in image import!\n";
constexpr const char* kExportFailureCaption = "Error in image processing!\n";

template <class Operation>
void runHostOperation(UiState& ui, HWND page, const char* failureCaption, Operation operation) {
    if (hostOperationRunning(ui)) return;
    // The box stays inside the scope: while it is up, no second operation
    // starts and a close waits for it.
    HostOperationScope scope(ui);
    ErrorText error;
    if (!operation(error)) MessageBoxA(page, error.text, failureCaption, MB_ICONERROR);
}
